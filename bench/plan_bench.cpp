// The production plan's programme: 50 generated formulas of 60 ingredients and 30 nutrients on
// the same ingredients, 20 of them stocked at part of what the formulas take alone; build (every
// formula's tableau rows held sparse, plus the stock rows) and solve by CLP. For comparison the
// same plans of 5, 10 and 20 formulas solved by the system's own dense simplex (50 formulas would
// need a dense tableau of some 80 million entries).
#include "plan/plan_programme.h"
#include "support/reference/formulation_lp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace {

using namespace tarvela;

constexpr int kIngredients = 60;
constexpr int kNutrients = 30;
constexpr int kStocks = 20;

struct PlanCase {
    std::vector<plan::PlannedProblem> formulas;
    std::vector<plan::StockLimit> stocks;
};

const PlanCase& planOf(int formulas) {
    static std::map<int, PlanCase> cases;
    if (auto it = cases.find(formulas); it != cases.end())
        return it->second;
    std::mt19937_64 rng(50 * 60 * 30);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const test::Bases bases[] = {test::Bases::WetWet, test::Bases::WetWet, test::Bases::DryDry,
                                 test::Bases::WetDry};
    PlanCase c;
    for (int f = 0; f < formulas; ++f) {
        plan::PlannedProblem planned{
            test::generateFormulation(rng, kIngredients, kNutrients, bases[f % 4], f % 5 == 0),
            std::round(1000 + u(rng) * 30000)};
        for (int j = 0; j < kIngredients; ++j)
            planned.problem.ingredients[static_cast<size_t>(j)].id = j + 1;
        c.formulas.push_back(std::move(planned));
    }
    // Stocks at 75 to 115 % of what the formulas take alone, never below their minimums.
    const simplex::EngineSolution alone =
        simplex::solve(plan::buildPlanProgramme(c.formulas, {}).lp);
    for (int k = 1; k <= kStocks; ++k) {
        const int j = k * 3 % kIngredients; // every third ingredient
        double used = 0;
        double needed = 0; // by the formulas' minimums
        for (size_t f = 0; f < c.formulas.size(); ++f) {
            const simplex::LpProblem& pb = c.formulas[f].problem;
            used += alone.x[f * kIngredients + static_cast<size_t>(j)] *
                    plan::asFedPerShare(c.formulas[f], j);
            needed += pb.ingredients[static_cast<size_t>(j)].minimo.value_or(0.0) / pb.Q *
                      plan::asFedPerShare(c.formulas[f], j);
        }
        c.stocks.push_back(
            {j + 1, std::max(std::ceil(needed * 1.05), std::round(used * (0.75 + 0.4 * u(rng))))});
    }
    return cases.emplace(formulas, std::move(c)).first->second;
}

void solvePlan(benchmark::State& state, simplex::Engine engine) {
    const PlanCase& c = planOf(static_cast<int>(state.range(0)));
    long binding = 0;
    for (auto _ : state) {
        const plan::PlanProgramme programme = plan::buildPlanProgramme(c.formulas, c.stocks);
        const simplex::EngineSolution s = simplex::solve(programme.lp, engine);
        if (!s.optimal()) {
            state.SkipWithError("no optimum");
            return;
        }
        binding = 0;
        for (int row : programme.stockRows)
            binding += row >= 0 && s.duals[static_cast<size_t>(row)] < -1e-9 ? 1 : 0;
        state.counters["rows"] = programme.lp.rows();
        state.counters["columns"] = programme.lp.columns();
        state.counters["cost"] = s.cost;
        benchmark::DoNotOptimize(s);
    }
    state.counters["binding_stocks"] = static_cast<double>(binding);
}

void BM_PlanClp(benchmark::State& state) {
    solvePlan(state, simplex::Engine::Clp);
}
void BM_PlanDenseSimplex(benchmark::State& state) {
    solvePlan(state, simplex::Engine::DenseSimplex);
}

BENCHMARK(BM_PlanClp)->Arg(5)->Arg(10)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanDenseSimplex)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
