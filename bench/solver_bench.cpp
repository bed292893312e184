// The least-cost solver against two peers on the same generated formulation programmes (20, 60
// and 150 ingredients with about twice as many constraint rows): GLPK's primal simplex and CLP's
// dual simplex, both without presolve. Prints the time per solve of each and the ratios at the
// end, from CPU time (the machine may be shared), and the multiply-adds per second of the pivot
// loop on dense tableaux of the sizes the solver pivots on.
#include "solver/simplex_internal.h"
#include "support/reference/clp_reference.h"
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
    std::vector<test::ClpProblem> clp;
    double rows = 0;
    double reducedRows = 0; // nutrient and total-share rows: the dual method's tableau
    int settled = 0;        // solved by the row-by-row passes and phase 2
};

// The same problems for every solver; all must reach the same optimum.
ProblemSet& problems(int ni) {
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
        const simplex::BuiltTableau built = simplex::buildTableau(pb);
        const simplex::Tableau& t = built.tableau;
        set.rows += t.m();
        set.reducedRows += built.rowsOf(simplex::LimitKind::Nutrient) + 2;
        simplex::Tableau solved = t;
        const simplex::SolveReport report = simplex::solve(solved);
        set.settled += report.dualSimplexUsed ? 0 : 1;
        const test::GlpkAnswer glpk = test::solveTableauWithGlpk(t, false);
        test::ClpProblem clp(t);
        const bool clpOptimal = clp.solve();
        const auto agree = [&](double cost) {
            return std::fabs(-solved.rhs(0) - cost) <= 1e-7 * std::max(1.0, std::fabs(cost));
        };
        if (report.outcome != simplex::Outcome::Optimal || !glpk.optimal || !clpOptimal ||
            !agree(glpk.cost) || !agree(clp.cost())) {
            std::fprintf(stderr, "problem %d of size %d: solvers disagree\n", k, ni);
        }
        set.glpk.push_back(test::toGlpk(t));
        set.clp.push_back(std::move(clp));
        set.tableaux.push_back(t);
    }
    set.rows /= kProblemsPerSize;
    set.reducedRows /= kProblemsPerSize;
    return set;
}

void setCounters(benchmark::State& state, const ProblemSet& set) {
    state.counters["rows"] = set.rows;
    state.SetItemsProcessed(state.iterations() * kProblemsPerSize);
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
    setCounters(state, set);
}

// The ways the solver can settle feasibility once the row-by-row passes give up, on the same
// problems: what chose the default (the first).
struct Method {
    const char* name;
    simplex::SolveOptions options;
};

const std::vector<Method>& methods() {
    static const std::vector<Method> all = [] {
        std::vector<Method> m;
        m.push_back({"dual, limits as bounds, steepest edge", {}});
        simplex::SolveOptions rows;
        rows.dual.limitsAsBounds = false;
        m.push_back({"dual, limits as rows, steepest edge", rows});
        simplex::SolveOptions largest;
        largest.dual.pricing = simplex::DualPricing::LargestInfeasibility;
        m.push_back({"dual, limits as bounds, largest infeasibility", largest});
        simplex::SolveOptions textbook;
        textbook.takeover = simplex::Takeover::TextbookPhase1;
        m.push_back({"textbook phase 1 (Bland), then phase 2", textbook});
        simplex::SolveOptions noBudget;
        noBudget.phase1WorkLimit = 1e300;
        m.push_back({"dual, passes without a budget of arithmetic", noBudget});
        simplex::SolveOptions noPasses;
        noPasses.phase1WorkLimit = 0;
        m.push_back({"dual at once, no row-by-row passes", noPasses});
        return m;
    }();
    return all;
}

void BM_Method(benchmark::State& state) {
    const ProblemSet& set = problems(static_cast<int>(state.range(0)));
    const Method& method = methods()[static_cast<size_t>(state.range(1))];
    long pivots = 0;
    for (auto _ : state) {
        pivots = 0;
        for (const simplex::Tableau& initial : set.tableaux) {
            simplex::Tableau t = initial;
            const simplex::SolveReport report = simplex::solve(t, method.options);
            pivots += report.phase2Pivots + report.dualPivots;
            benchmark::DoNotOptimize(t.data().data());
        }
    }
    state.SetLabel(method.name);
    state.counters["phase2_and_dual_pivots"] = static_cast<double>(pivots) / kProblemsPerSize;
    setCounters(state, set);
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
    setCounters(state, set);
}

void BM_Clp(benchmark::State& state) {
    ProblemSet& set = problems(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (test::ClpProblem& clp : set.clp) {
            benchmark::DoNotOptimize(clp.solve());
        }
    }
    setCounters(state, set);
}

// The solver's pivot loop on a dense rows × cols tableau: each iteration starts again from the
// same random entries and pivots once on every row, on the row's largest entry among the columns
// not yet in the basis, so that every row takes part in every pivot and the figures stay of one
// size. Items are multiply-adds, (M + 1)(P + 1) a pivot.
void BM_Pivot(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const int cols = static_cast<int>(state.range(1));
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(1.0, 2.0);
    std::vector<double> start(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (double& v : start) {
        v = u(rng);
    }
    std::vector<double> a = start;
    std::vector<char> basic(static_cast<size_t>(cols));
    const simplex::detail::MatrixView view{a.data(), rows, cols};
    std::vector<int> scratch;
    for (auto _ : state) {
        std::copy(start.begin(), start.end(), a.begin());
        std::fill(basic.begin(), basic.end(), 0);
        for (int r = 1; r < rows; ++r) {
            const double* row = view.row(r);
            int c = 0;
            for (int j = 1; j < cols - 1; ++j) {
                if (!basic[static_cast<size_t>(j)] &&
                    (c == 0 || std::fabs(row[j]) > std::fabs(row[c]))) {
                    c = j;
                }
            }
            simplex::detail::pivotMatrix(view, r, c, scratch);
            basic[static_cast<size_t>(c)] = 1;
        }
        benchmark::DoNotOptimize(a.data());
    }
    state.SetItemsProcessed(state.iterations() * (rows - 1) * rows * cols);
}

BENCHMARK(BM_Tarvela)->Arg(20)->Arg(60)->Arg(150)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Glpk)->Arg(20)->Arg(60)->Arg(150)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Clp)->Arg(20)->Arg(60)->Arg(150)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Method)
    ->ArgsProduct({{20, 60, 150}, {0, 1, 2, 3, 4, 5}})
    ->Unit(benchmark::kMicrosecond);
// Whole tableaux of 20, 60 and 150 ingredients (the passes and phase 2 pivot on these) and the
// dual method's tableaux of the nutrient and total-share rows of the same problems.
BENCHMARK(BM_Pivot)
    ->Args({43, 64})
    ->Args({123, 184})
    ->Args({297, 449})
    ->Args({16, 38})
    ->Args({43, 105})
    ->Args({101, 253})
    ->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's CPU time and rate per iteration for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // With --benchmark_repetitions the median of the repetitions is kept.
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                const std::string name = run.run_name.str();
                times[name] = run.GetAdjustedCPUTime();
                const auto rate = run.counters.find("items_per_second");
                if (rate != run.counters.end()) {
                    rates[name] = rate->second;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times; // microseconds of CPU per iteration
    std::map<std::string, double> rates; // items per second
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nPer solve, CPU time (mean of %d problems):\n", kProblemsPerSize);
    std::printf("%12s %6s %8s %8s %13s %11s %10s %11s %11s\n", "ingredients", "rows", "reduced",
                "settled", "tarvela (us)", "glpk (us)", "clp (us)", "/ glpk", "/ clp");
    for (int ni : kSizes) {
        std::string arg = "/";
        arg += std::to_string(ni);
        const auto ours = reporter.times.find("BM_Tarvela" + arg);
        const auto glpk = reporter.times.find("BM_Glpk" + arg);
        const auto clp = reporter.times.find("BM_Clp" + arg);
        if (ours == reporter.times.end() || glpk == reporter.times.end() ||
            clp == reporter.times.end()) {
            continue;
        }
        const ProblemSet& set = problems(ni);
        std::printf("%12d %6.0f %8.0f %8d %13.1f %11.1f %10.1f %11.3f %11.3f\n", ni, set.rows,
                    set.reducedRows, set.settled, ours->second / kProblemsPerSize,
                    glpk->second / kProblemsPerSize, clp->second / kProblemsPerSize,
                    ours->second / glpk->second, ours->second / clp->second);
    }
    std::printf("\nThe takeover methods, per solve (CPU time, us):\n");
    for (int ni : kSizes) {
        for (size_t k = 0; k < methods().size(); ++k) {
            const auto t =
                reporter.times.find("BM_Method/" + std::to_string(ni) + "/" + std::to_string(k));
            if (t != reporter.times.end()) {
                std::printf("%5d  %-48s %10.1f\n", ni, methods()[k].name,
                            t->second / kProblemsPerSize);
            }
        }
    }
    std::printf("\nPivot loop, multiply-adds per second:\n");
    for (const auto& [name, rate] : reporter.rates) {
        if (name.rfind("BM_Pivot", 0) == 0) {
            std::printf("%24s %10.2f G/s\n", name.c_str() + 9, rate / 1e9);
        }
    }
    benchmark::Shutdown();
    return 0;
}
