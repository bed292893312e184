#include "solver/simplex.h"

#include "solver/simplex_internal.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace tarvela::simplex {

Tableau::Tableau(int ni, int m) {
    reset(ni, m);
}

void Tableau::reset(int ni, int m) {
    ni_ = ni;
    m_ = m;
    a_.assign(static_cast<std::size_t>(m + 1) * static_cast<std::size_t>(ni + m + 2), 0.0);
    basis_.assign(static_cast<std::size_t>(m + 1), 0);
    for (int i = 1; i <= m; ++i) {
        basis_[static_cast<std::size_t>(i)] = ni + i;
    }
}

bool Tableau::isBasic(int col) const {
    return std::find(basis_.begin() + 1, basis_.end(), col) != basis_.end();
}

namespace detail {

Workspace& threadWorkspace() {
    thread_local Workspace workspace;
    return workspace;
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

// Given a unit basis: whether it is the slack basis of an initial tableau.
bool slackBasis(const Tableau& t) {
    for (int i = 1; i <= t.m(); ++i) {
        if (t.basis()[static_cast<std::size_t>(i)] != t.ni() + i) {
            return false;
        }
    }
    return t.at(0, 0) == 1.0;
}

// How many ingredients the row-by-row passes must bring into the basis before no right-hand
// side is negative: those that a row holds alone with a negative entry and a right-hand side
// below round-off (a minimum above 0). Such a row changes only when its ingredient enters, so
// while it has not, the row stays as negative as it started.
int ingredientsThatMustEnter(const Tableau& t) {
    const int ni = t.ni();
    std::vector<char> must(static_cast<std::size_t>(ni) + 1, 0);
    int count = 0;
    for (int i = 1; i <= t.m(); ++i) {
        if (!(t.rhs(i) < -kRoundOff)) {
            continue;
        }
        const double* row = t.data().data() + static_cast<std::size_t>(i) * t.cols();
        int column = 0;
        int entries = 0;
        for (int j = 1; j <= ni && entries < 2; ++j) {
            if (row[j] != 0.0) {
                column = j;
                ++entries;
            }
        }
        if (entries == 1 && row[column] < 0.0 && !must[static_cast<std::size_t>(column)]) {
            must[static_cast<std::size_t>(column)] = 1;
            ++count;
        }
    }
    return count;
}

class Solver {
public:
    Solver(Tableau& t, const SolveOptions& options)
        : t_(t), options_(options), initial_(threadWorkspace().initial), lastCheckedPivots_(0),
          unit_(basicColumnsAreUnit(t)), recomputable_(unit_ && slackBasis(t)) {
        initial_ = t;
        if (unit_) {
            open_ = openColumns(t);
        }
    }

    SolveReport run();

private:
    MatrixView view() { return {t_.data().data(), t_.rows(), t_.cols()}; }
    // A pivot keeps basic columns that are exact unit vectors exact: the pivot column becomes
    // p / p = 1 and f − f·1 = 0, and the pivot row is 0 in every other basic column.
    void doPivot(int r, int c) {
        int& basic = t_.basis()[static_cast<std::size_t>(r)];
        if (unit_) {
            insertColumn(open_, basic);
            pivotMatrix(view(), r, c, scratch_, &open_);
            eraseColumn(open_, c);
        } else {
            pivotMatrix(view(), r, c, scratch_);
        }
        basic = c;
        ++pivots_;
    }
    // After the tableau was written by other means than pivots.
    void rewritten() { unit_ = false; }
    int lastColumn() const { return t_.ni() + t_.m(); }

    bool passesCannotSettle() const;
    bool dualAtOnce();
    void specifiedPhase1();
    int phase1EnteringColumn(int row) const;
    bool settleFeasibility();
    void clipAndRescale();
    bool unitBasis();
    Outcome phase2();
    int phase2EnteringColumn(bool bland) const;
    int ratioTestRow(int c, bool bland, double& ratio);
    DriftCheck checkDrift(DriftScope scope = DriftScope::ObjectiveAndRightHandSide);
    bool restartFromSlackBasis();

    Tableau& t_;
    const SolveOptions& options_;
    Tableau& initial_; // as the caller handed it in
    SolveReport report_;
    std::vector<int> scratch_;
    long pivots_ = 0;
    long lastCheckedPivots_;
    // The basic columns are known to be exact unit vectors; open_ then holds column 0, the
    // non-basic columns and the right-hand side column, where alone a row may hold non-zeros
    // besides its basic column, and the choices of columns look there alone.
    bool unit_;
    std::vector<int> open_;
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
// A basic column holds 0 or 1 and cannot be chosen for a pivot: with a unit basis only the
// non-basic columns are looked at, in the same order.
int Solver::phase1EnteringColumn(int row) const {
    const double* r = t_.data().data() + static_cast<std::size_t>(row) * t_.cols();
    const double* obj = t_.data().data();
    const int last = lastColumn();
    if (unit_ && open_.size() > 2) {
        const int* j = open_.data() + 1;
        const int* end = open_.data() + open_.size() - 1;
        int best = *j;
        for (++j; j != end; ++j) {
            if (r[*j] < r[best] || (r[*j] == r[best] && obj[*j] < obj[best])) {
                best = *j;
            }
        }
        return best;
    }
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
        rewritten();
        if (dualSimplex(t_, initial_, report_, options_.dual) == DualVerdict::Optimal) {
            lastCheckedPivots_ = ++pivots_;
            report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
            return true;
        }
    }
    report_.textbookPhase1Used = true;
    rewritten();
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
// Known after pivots from a unit basis; looked at again after the tableau was written otherwise.
bool Solver::unitBasis() {
    if (!unit_ && basicColumnsAreUnit(t_)) {
        unit_ = true;
        open_ = openColumns(t_);
    }
    return unit_;
}

// A basic column's reduced cost is 0 and cannot be the most negative one: with a unit basis
// only the non-basic columns are looked at, in the same order.
int Solver::phase2EnteringColumn(bool bland) const {
    const double* obj = t_.data().data();
    const int last = lastColumn();
    if (unit_ && open_.size() > 2) {
        const int* j = open_.data() + 1;
        const int* end = open_.data() + open_.size() - 1;
        if (bland) {
            for (; j != end; ++j) {
                if (obj[*j] < -kCostTolerance) {
                    return *j;
                }
            }
            return 0;
        }
        int best = *j;
        for (++j; j != end; ++j) {
            if (obj[*j] < obj[best]) {
                best = *j;
            }
        }
        return best;
    }
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
    unitBasis(); // the choices look at the non-basic columns alone when they can
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
        rewritten();
    }
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
    rewritten();
    lastCheckedPivots_ = pivots_;
    return settleFeasibility();
}

// Whether the passes are bound to stop short of a feasible tableau: more ingredients must enter
// the basis than the passes may pivot within their work limit. They would then hand the
// question to the dual simplex method, which starts from the slack basis whatever they did.
bool Solver::passesCannotSettle() const {
    if (!options_.skipHopelessPasses || options_.takeover != Takeover::DualSimplex ||
        !recomputable_) {
        return false;
    }
    const double pivotWork = static_cast<double>(t_.rows()) * static_cast<double>(t_.cols());
    return static_cast<double>(ingredientsThatMustEnter(t_)) * pivotWork > options_.phase1WorkLimit;
}

// The dual simplex method from the slack basis, as the passes would hand over to it. False when
// it does not reach an optimum: the tableau is then as it came, and the passes go on from it,
// the method's verdict standing for when they hand over.
bool Solver::dualAtOnce() {
    dualTried_ = true;
    report_.dualSimplexUsed = true;
    rewritten();
    if (dualSimplex(t_, initial_, report_, options_.dual) != DualVerdict::Optimal) {
        unit_ = basicColumnsAreUnit(t_);
        if (unit_) {
            open_ = openColumns(t_);
        }
        return false;
    }
    lastCheckedPivots_ = ++pivots_;
    report_.toleranceDecisions += clearRoundOffRightHandSides(t_);
    return true;
}

SolveReport Solver::run() {
    bool feasible = false;
    if (passesCannotSettle() && dualAtOnce()) {
        report_.passesSkipped = true;
        feasible = true;
    } else {
        specifiedPhase1();
        if (checkDrift() == DriftCheck::Singular) {
            feasible = restartFromSlackBasis();
        } else {
            feasible = settleFeasibility();
        }
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
