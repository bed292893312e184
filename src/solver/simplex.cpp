#include "solver/simplex.h"

#include "solver/simplex_internal.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace tarvela::simplex {

Tableau::Tableau(int ni, int m)
    : ni_(ni), m_(m),
      a_(static_cast<std::size_t>(m + 1) * static_cast<std::size_t>(ni + m + 2), 0.0),
      basis_(static_cast<std::size_t>(m + 1), 0) {
    for (int i = 1; i <= m; ++i) {
        basis_[static_cast<std::size_t>(i)] = ni + i;
    }
}

bool Tableau::isBasic(int col) const {
    return std::find(basis_.begin() + 1, basis_.end(), col) != basis_.end();
}

namespace detail {

// The update loop is compiled twice on x86-64: with AVX2 (four doubles per instruction; no fused
// multiply-add, so every entry is rounded exactly as in the plain build) and without.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define TARVELA_PIVOT_CLONES __attribute__((target_clones("avx2", "default")))
#define TARVELA_INLINE __attribute__((always_inline)) inline
#else
#define TARVELA_PIVOT_CLONES
#define TARVELA_INLINE inline
#endif

namespace {

// a(k) -= f·pr(k) on four rows at once: each entry of the pivot row is read once for the four,
// and each entry is still computed as one product and one difference.
TARVELA_INLINE void eliminate4(double* __restrict a, double* __restrict b, double* __restrict c,
                               double* __restrict d, const double* __restrict pr, const double* f,
                               int n) {
    const double fa = f[0];
    const double fb = f[1];
    const double fc = f[2];
    const double fd = f[3];
    for (int k = 0; k < n; ++k) {
        const double x = pr[k];
        a[k] -= fa * x;
        b[k] -= fb * x;
        c[k] -= fc * x;
        d[k] -= fd * x;
    }
}

TARVELA_INLINE void eliminate1(double* __restrict a, const double* __restrict pr, double f, int n) {
    for (int k = 0; k < n; ++k) {
        a[k] -= f * pr[k];
    }
}

} // namespace

TARVELA_PIVOT_CLONES
void pivotMatrix(MatrixView m, int r, int c, std::vector<int>& scratch) {
    double* pr = m.row(r);
    const double p = pr[c];
    if (p != 0.0) {
        for (int k = 1; k < m.cols; ++k) {
            if (pr[k] != 0.0) {
                pr[k] /= p;
            }
        }
    }
    scratch.clear();
    for (int k = 0; k < m.cols; ++k) {
        if (pr[k] != 0.0) {
            scratch.push_back(k);
        }
    }
    const std::size_t nnz = scratch.size();
    // The rows to update: those whose entry in column c is not exactly 0.
    for (int i = 0; i < m.rows; ++i) {
        if (i != r && m.row(i)[c] != 0.0) {
            scratch.push_back(i);
        }
    }
    const int* nz = scratch.data();
    const int* rows = scratch.data() + nnz;
    const std::size_t count = scratch.size() - nnz;
    // A sparse pivot row touches only its non-zero columns; a dense one is swept whole.
    if (nnz * 3 < static_cast<std::size_t>(m.cols)) {
        for (std::size_t q = 0; q < count; ++q) {
            double* pi = m.row(rows[q]);
            const double f = pi[c];
            for (std::size_t u = 0; u < nnz; ++u) {
                const int k = nz[u];
                pi[k] -= f * pr[k];
            }
        }
        return;
    }
    // Every factor is read before its row changes: column c of the four rows is updated too.
    std::size_t q = 0;
    for (; q + 4 <= count; q += 4) {
        double* a = m.row(rows[q]);
        double* b = m.row(rows[q + 1]);
        double* cc = m.row(rows[q + 2]);
        double* d = m.row(rows[q + 3]);
        const double f[4] = {a[c], b[c], cc[c], d[c]};
        eliminate4(a, b, cc, d, pr, f, m.cols);
    }
    for (; q < count; ++q) {
        double* pi = m.row(rows[q]);
        eliminate1(pi, pr, pi[c], m.cols);
    }
}

int clearRoundOffRightHandSides(Tableau& t) {
    int cleared = 0;
    for (int i = 1; i <= t.m(); ++i) {
        double& b = t.rhs(i);
        if (b < 0.0 && b >= -kRoundOff) {
            b = 0.0;
            ++cleared;
        }
    }
    return cleared;
}

bool anyNegativeRightHandSide(const Tableau& t) {
    for (int i = 1; i <= t.m(); ++i) {
        if (t.rhs(i) < 0.0) {
            return true;
        }
    }
    return false;
}

} // namespace detail

void pivot(Tableau& tableau, int r, int c) {
    std::vector<int> scratch;
    detail::pivotMatrix({tableau.data().data(), tableau.rows(), tableau.cols()}, r, c, scratch);
    tableau.basis()[static_cast<std::size_t>(r)] = c;
}

namespace {

using namespace detail;

// Phase 2 runs again from a recomputed tableau at most this many times.
constexpr int kPhase2Attempts = 3;

// Whether every basic column is exactly 1 in its own row and exactly 0 elsewhere, row 0
// included. Read row by row: the tableau is stored by rows.
bool basicColumnsAreUnit(const Tableau& t) {
    const std::vector<int>& basis = t.basis();
    for (int k = 0; k <= t.m(); ++k) {
        const double* row = t.data().data() + static_cast<std::size_t>(k) * t.cols();
        for (int i = 1; i <= t.m(); ++i) {
            if (row[basis[static_cast<std::size_t>(i)]] != (k == i ? 1.0 : 0.0)) {
                return false;
            }
        }
    }
    return true;
}

bool startsFromSlackBasis(const Tableau& t) {
    for (int i = 1; i <= t.m(); ++i) {
        if (t.basis()[static_cast<std::size_t>(i)] != t.ni() + i) {
            return false;
        }
    }
    return t.at(0, 0) == 1.0 && basicColumnsAreUnit(t);
}

class Solver {
public:
    Solver(Tableau& t, const SolveOptions& options)
        : t_(t), options_(options), initial_(t), lastCheckedPivots_(0),
          recomputable_(startsFromSlackBasis(t)) {}

    SolveReport run();

private:
    MatrixView view() { return {t_.data().data(), t_.rows(), t_.cols()}; }
    void doPivot(int r, int c) {
        pivotMatrix(view(), r, c, scratch_);
        t_.basis()[static_cast<std::size_t>(r)] = c;
        ++pivots_;
    }
    int lastColumn() const { return t_.ni() + t_.m(); }

    void specifiedPhase1();
    int phase1EnteringColumn(int row) const;
    bool settleFeasibility();
    void clipAndRescale();
    bool unitBasis() const;
    Outcome phase2();
    int phase2EnteringColumn(bool bland) const;
    int ratioTestRow(int c, bool bland, double& ratio);
    DriftCheck checkDrift(DriftScope scope = DriftScope::ObjectiveAndRightHandSide);
    bool restartFromSlackBasis();

    Tableau& t_;
    const SolveOptions& options_;
    const Tableau initial_;
    SolveReport report_;
    std::vector<int> scratch_;
    long pivots_ = 0;
    long lastCheckedPivots_;
    // The data can be read back from the initial tableau only when it starts from the slacks.
    bool recomputable_;
    bool restarted_ = false;
    bool dualTried_ = false;
};

// Phase 1: passes from row M down to row 1 over the rows with a negative right-hand side, each
// pivoting on the row's smallest entry when it is negative.
void Solver::specifiedPhase1() {
    const int m = t_.m();
    const int p = t_.p();
    const double pivotWork = static_cast<double>(t_.rows()) * static_cast<double>(t_.cols());
    const long pivotsBefore = pivots_;
    double leastInfeasibility = std::numeric_limits<double>::infinity();
    int passesWithoutProgress = 0;
    const auto withinWork = [&] {
        return static_cast<double>(pivots_ - pivotsBefore + 1) * pivotWork <=
               options_.phase1WorkLimit;
    };
    while (report_.phase1Passes < options_.phase1PassLimit) {
        ++report_.phase1Passes;
        bool changed = false;
        double infeasibility = 0.0;
        for (int i = m; i >= 1; --i) {
            if (!(t_.at(i, p) < 0.0)) {
                continue;
            }
            const int c = phase1EnteringColumn(i);
            const double entry = t_.at(i, c);
            if (entry < -kPivotTolerance) {
                if (!withinWork()) {
                    return; // out of work: the feasibility question is handed over
                }
                changed = true;
                doPivot(i, c);
            } else if (entry < 0.0) {
                ++report_.toleranceDecisions;
            }
        }
        if (!changed) {
            break;
        }
        // The passes may wander without ever settling: when they stop lowering the total
        // infeasibility, the textbook phase 1 takes over.
        for (int i = 1; i <= m; ++i) {
            infeasibility -= std::min(0.0, t_.at(i, p));
        }
        if (infeasibility < leastInfeasibility) {
            leastInfeasibility = infeasibility;
            passesWithoutProgress = 0;
        } else if (++passesWithoutProgress >= options_.phase1StallPasses) {
            break;
        }
    }
}

// The column with the smallest entry of the row; of equal entries the smaller objective entry,
// of equal both the lower column.
int Solver::phase1EnteringColumn(int row) const {
    const double* r = t_.data().data() + static_cast<std::size_t>(row) * t_.cols();
    const double* obj = t_.data().data();
    const int last = lastColumn();
    int best = 1;
    for (int j = 2; j <= last; ++j) {
        if (r[j] < r[best] || (r[j] == r[best] && obj[j] < obj[best])) {
            best = j;
        }
    }
    return best;
}

// A right-hand side still negative after phase 1: round-off is cleared, anything else goes to
// the textbook phase 1. Returns whether the tableau is feasible; when it is not the tableau is
// the one phase 1 left.
bool Solver::settleFeasibility() {
    if (!anyNegativeRightHandSide(t_)) {
        return true;
    }
    report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
    if (!anyNegativeRightHandSide(t_)) {
        return true;
    }
    if (options_.takeover == Takeover::DualSimplex && recomputable_ && !dualTried_) {
        dualTried_ = true;
        report_.dualSimplexUsed = true;
        // The dual method checks its own tableau against the data before it answers.
        if (dualSimplex(t_, initial_, report_, options_.dual) == DualVerdict::Optimal) {
            lastCheckedPivots_ = ++pivots_;
            report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
            return true;
        }
    }
    report_.textbookPhase1Used = true;
    const Phase1Verdict verdict = textbookPhase1(t_, report_);
    if (verdict == Phase1Verdict::Undecided) {
        report_.passLimitReached = true;
    }
    if (verdict != Phase1Verdict::Feasible) {
        return false;
    }
    ++pivots_; // the textbook phase 1 pivoted: the drift check looks again
    if (checkDrift() == DriftCheck::Singular) {
        return restartFromSlackBasis();
    }
    report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
    return !anyNegativeRightHandSide(t_);
}

// Infeasible: the basic ingredient shares are clipped at 0 and rescaled to add up to 1.
void Solver::clipAndRescale() {
    const int m = t_.m();
    const int ni = t_.ni();
    double s = 0.0;
    for (int i = 1; i <= m; ++i) {
        if (t_.basis()[static_cast<std::size_t>(i)] <= ni) {
            double& b = t_.rhs(i);
            if (b < 0.0) {
                b = 0.0;
            }
            s += b;
        }
    }
    if (s > 0.0) {
        for (int i = 1; i <= m; ++i) {
            if (t_.basis()[static_cast<std::size_t>(i)] <= ni) {
                t_.rhs(i) /= s;
            }
        }
    }
}

// Every basic column must be exactly 1 in its own row and exactly 0 elsewhere, row 0 included.
bool Solver::unitBasis() const {
    return basicColumnsAreUnit(t_);
}

int Solver::phase2EnteringColumn(bool bland) const {
    const double* obj = t_.data().data();
    const int last = lastColumn();
    if (bland) {
        for (int j = 1; j <= last; ++j) {
            if (obj[j] < -kCostTolerance) {
                return j;
            }
        }
        return 0;
    }
    int best = 1;
    for (int j = 2; j <= last; ++j) {
        if (obj[j] < obj[best]) {
            best = j;
        }
    }
    return best;
}

// The row of smallest ratio among entries above the pivot tolerance; ties go to the lowest row
// (to the lowest basic column under Bland's rule). 0 when no entry qualifies.
int Solver::ratioTestRow(int c, bool bland, double& ratio) {
    const int m = t_.m();
    const int p = t_.p();
    const int cols = t_.cols();
    const double* a = t_.data().data();
    int best = 0;
    double bestRatio = 0.0;
    bool roundOffSkipped = false;
    for (int i = 1; i <= m; ++i) {
        const double* row = a + static_cast<std::size_t>(i) * static_cast<std::size_t>(cols);
        const double e = row[c];
        if (!(e > kPivotTolerance)) {
            roundOffSkipped = roundOffSkipped || e > 0.0;
            continue;
        }
        const double q = row[p] / e;
        if (best == 0 || q < bestRatio ||
            (bland && q == bestRatio &&
             t_.basis()[static_cast<std::size_t>(i)] <
                 t_.basis()[static_cast<std::size_t>(best)])) {
            best = i;
            bestRatio = q;
        }
    }
    if (roundOffSkipped) {
        ++report_.toleranceDecisions;
    }
    ratio = bestRatio;
    return best;
}

// Phase 2: most negative reduced cost enters, smallest ratio leaves; Bland's rule after a run of
// degenerate pivots, until a pivot makes progress again.
Outcome Solver::phase2() {
    int degenerate = 0;
    bool bland = false;
    while (report_.phase2Pivots < options_.phase2PivotLimit) {
        const int c = phase2EnteringColumn(bland);
        if (c == 0) {
            return Outcome::Optimal;
        }
        const double d = t_.at(0, c);
        if (!(d < -kCostTolerance)) {
            if (d < 0.0) {
                ++report_.toleranceDecisions;
            }
            return Outcome::Optimal;
        }
        double ratio = 0.0;
        const int r = ratioTestRow(c, bland, ratio);
        if (r == 0) {
            return Outcome::Unbounded;
        }
        doPivot(r, c);
        ++report_.phase2Pivots;
        if (ratio <= 0.0) {
            if (++degenerate >= options_.degeneratePivotsBeforeBland && !bland) {
                bland = true;
                report_.blandUsed = true;
            }
        } else {
            degenerate = 0;
            bland = false;
        }
    }
    return Outcome::IterationLimit;
}

DriftCheck Solver::checkDrift(DriftScope scope) {
    if (pivots_ == lastCheckedPivots_ || !recomputable_) {
        return DriftCheck::Consistent;
    }
    lastCheckedPivots_ = pivots_;
    const DriftCheck check = refactoriseIfDrifted(t_, initial_, scope);
    if (check != DriftCheck::Consistent) {
        ++report_.refactorizations;
    }
    return check;
}

// The basis became singular: start again from the data and the slack basis, with the textbook
// phase 1 settling feasibility. Returns whether the restarted tableau is feasible.
bool Solver::restartFromSlackBasis() {
    if (restarted_) {
        return false;
    }
    restarted_ = true;
    t_ = initial_;
    lastCheckedPivots_ = pivots_;
    return settleFeasibility();
}

SolveReport Solver::run() {
    specifiedPhase1();
    bool feasible = false;
    if (checkDrift() == DriftCheck::Singular) {
        feasible = restartFromSlackBasis();
    } else {
        feasible = settleFeasibility();
    }
    if (!feasible) {
        // The feasibility question could not be settled otherwise: the tableau is the one phase 1
        // left, with its negative right-hand sides.
        clipAndRescale();
        report_.outcome = Outcome::Infeasible;
        return report_;
    }
    if (!unitBasis()) {
        report_.outcome = Outcome::NotStandard;
        return report_;
    }
    Outcome outcome = Outcome::Optimal;
    for (int attempt = 0;; ++attempt) {
        outcome = phase2();
        if (attempt == kPhase2Attempts) {
            break;
        }
        const DriftCheck check = checkDrift(DriftScope::Results);
        if (check == DriftCheck::Consistent) {
            break;
        }
        // Recomputed: go on from the sound tableau, settling feasibility first when the
        // recomputation shows the basis is not feasible after all.
        const bool stillFeasible =
            check == DriftCheck::Singular ? restartFromSlackBasis() : settleFeasibility();
        if (!stillFeasible) {
            clipAndRescale();
            report_.outcome = Outcome::Infeasible;
            return report_;
        }
        if (outcome == Outcome::IterationLimit) {
            break;
        }
    }
    report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
    report_.outcome = outcome;
    return report_;
}

} // namespace

SolveReport solve(Tableau& tableau, const SolveOptions& options) {
    Solver solver(tableau, options);
    return solver.run();
}

SolveReport solve(Tableau& tableau) {
    return solve(tableau, SolveOptions{});
}

} // namespace tarvela::simplex
