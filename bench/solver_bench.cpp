// The least-cost solver against GLPK's primal simplex (presolve off) on the same generated
// formulation programmes: 20, 60 and 150 ingredients with about twice as many constraint rows.
// Prints both times per solve and their ratio at the end.
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tarvela;

constexpr int kProblemsPerSize = 8;
constexpr int kSizes[] = {20, 60, 150};

struct ProblemSet {
    std::vector<simplex::Tableau> tableaux;
    std::vector<test::GlpkProblem> glpk;
    double rows = 0;
};

// The same problems for both solvers; both must reach the same optimum.
const ProblemSet& problems(int ni) {
    static std::map<int, ProblemSet> sets;
    auto it = sets.find(ni);
    if (it != sets.end()) {
        return it->second;
    }
    ProblemSet& set = sets[ni];
    std::mt19937_64 rng(static_cast<std::uint64_t>(1000 + ni));
    const test::Bases bases[] = {test::Bases::DryDry, test::Bases::WetWet, test::Bases::WetDry};
    for (int k = 0; k < kProblemsPerSize; ++k) {
        const simplex::LpProblem pb = test::generateFormulation(rng, ni, -1, bases[k % 3]);
        simplex::Tableau t = simplex::buildTableau(pb).tableau;
        set.rows += t.m();
        simplex::Tableau solved = t;
        const simplex::SolveReport report = simplex::solve(solved);
        const test::GlpkAnswer glpk = test::solveTableauWithGlpk(t, false);
        if (report.outcome != simplex::Outcome::Optimal || !glpk.optimal ||
            std::fabs(-solved.rhs(0) - glpk.cost) > 1e-7 * std::max(1.0, std::fabs(glpk.cost))) {
            std::fprintf(stderr, "problem %d of size %d: solvers disagree\n", k, ni);
        }
        set.glpk.push_back(test::toGlpk(t));
        set.tableaux.push_back(std::move(t));
    }
    set.rows /= kProblemsPerSize;
    return set;
}

void BM_Tarvela(benchmark::State& state) {
    const ProblemSet& set = problems(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const simplex::Tableau& initial : set.tableaux) {
            simplex::Tableau t = initial;
            benchmark::DoNotOptimize(simplex::solve(t));
            benchmark::DoNotOptimize(t.data().data());
        }
    }
    state.counters["rows"] = set.rows;
    state.SetItemsProcessed(state.iterations() * kProblemsPerSize);
}

void BM_Glpk(benchmark::State& state) {
    const ProblemSet& set = problems(static_cast<int>(state.range(0)));
    glp_smcp parm = test::primalSimplexParameters();
    for (auto _ : state) {
        for (const test::GlpkProblem& lp : set.glpk) {
            glp_std_basis(lp.get());
            benchmark::DoNotOptimize(glp_simplex(lp.get(), &parm));
        }
    }
    state.counters["rows"] = set.rows;
    state.SetItemsProcessed(state.iterations() * kProblemsPerSize);
}

BENCHMARK(BM_Tarvela)->Arg(20)->Arg(60)->Arg(150)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Glpk)->Arg(20)->Arg(60)->Arg(150)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times; // microseconds per iteration
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nPer solve (mean of %d problems):\n", kProblemsPerSize);
    std::printf("%12s %8s %14s %14s %10s\n", "ingredients", "rows", "tarvela (us)", "glpk (us)",
                "ratio");
    for (int ni : kSizes) {
        std::string arg = "/";
        arg += std::to_string(ni);
        const auto ours = reporter.times.find("BM_Tarvela" + arg);
        const auto glpk = reporter.times.find("BM_Glpk" + arg);
        if (ours == reporter.times.end() || glpk == reporter.times.end()) {
            continue;
        }
        std::printf("%12d %8.0f %14.1f %14.1f %10.3f\n", ni, problems(ni).rows,
                    ours->second / kProblemsPerSize, glpk->second / kProblemsPerSize,
                    ours->second / glpk->second);
    }
    benchmark::Shutdown();
    return 0;
}
