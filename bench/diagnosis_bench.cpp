// The diagnosis of a 60-ingredient x 40-nutrient formulation whose limits cannot all be met:
// the minimal conflicting set, each member's own needed value and the least relaxation with the
// cost of its mix. Six generated problems, two for each basis combination; the time is per
// diagnosis of one problem.
#include "solver/diagnosis.h"
#include "support/reference/infeasible_formulation.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

using namespace tarvela;

constexpr int kIngredients = 60;
constexpr int kNutrients = 40;

const std::vector<simplex::LpProblem>& problems() {
    static const std::vector<simplex::LpProblem> set = [] {
        std::vector<simplex::LpProblem> out;
        std::mt19937_64 rng(20261212);
        const test::Bases bases[] = {test::Bases::DryDry, test::Bases::WetWet, test::Bases::WetDry};
        for (int k = 0; k < 6; ++k)
            out.push_back(test::infeasibleFormulation(rng, kIngredients, kNutrients, bases[k % 3]));
        return out;
    }();
    return set;
}

// One problem per argument: 0 and 3 ingredients and nutrients on dry matter, 1 and 4 both as
// fed, 2 and 5 ingredients as fed with nutrients on dry matter.
void BM_Diagnosis60x40(benchmark::State& state) {
    const simplex::LpProblem& problem = problems()[static_cast<std::size_t>(state.range(0))];
    std::size_t members = 0;
    std::size_t changes = 0;
    for (auto _ : state) {
        const simplex::Diagnosis d = simplex::diagnose(problem);
        benchmark::DoNotOptimize(d);
        if (d.limitsMet || !d.relaxation) {
            state.SkipWithError("no conflict or no proposal");
            break;
        }
        members = 0;
        for (const auto& group : d.conflicts)
            members += group.size();
        changes = d.relaxation->changes.size();
    }
    state.counters["conflict"] = static_cast<double>(members);
    state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_Diagnosis60x40)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
