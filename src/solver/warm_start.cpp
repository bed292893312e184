#include "solver/warm_start.h"

#include "solver/simplex_internal.h"

#include <cstddef>
#include <vector>

namespace tarvela::simplex {

namespace {

using namespace detail;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

enum class Verdict { Optimal, GiveUp };

bool primalFeasible(const Tableau& t) {
    for (int i = 1; i <= t.m(); ++i)
        if (t.rhs(i) < -kRoundOff)
            return false;
    return true;
}

bool dualFeasible(const Tableau& t) {
    for (int j = 1; j <= t.ni() + t.m(); ++j)
        if (t.at(0, j) < -kCostTolerance)
            return false;
    return true;
}

class Reoptimiser {
public:
    explicit Reoptimiser(Tableau& t) : t_(t), limit_(20L * (t.m() + t.ni() + 1)) {}

    long pivots() const { return pivots_; }

    // Most negative reduced cost enters, smallest ratio leaves; Bland's rule after a run of
    // degenerate pivots.
    Verdict primal() {
        int degenerate = 0;
        while (pivots_ < limit_) {
            const bool bland = degenerate >= 50;
            int c = 0;
            for (int j = 1; j <= t_.ni() + t_.m(); ++j) {
                const double d = t_.at(0, j);
                if (d < -kCostTolerance && (c == 0 || (!bland && d < t_.at(0, c)))) {
                    c = j;
                    if (bland)
                        break;
                }
            }
            if (c == 0)
                return Verdict::Optimal;
            int r = 0;
            double best = 0;
            for (int i = 1; i <= t_.m(); ++i) {
                const double e = t_.at(i, c);
                if (!(e > kPivotTolerance))
                    continue;
                const double q = std::max(t_.rhs(i), 0.0) / e;
                if (r == 0 || q < best) {
                    r = i;
                    best = q;
                }
            }
            if (r == 0)
                return Verdict::GiveUp; // unbounded: the run's own solve says so
            degenerate = best <= 0 ? degenerate + 1 : 0;
            pivot(r, c);
        }
        return Verdict::GiveUp;
    }

    // Most negative right-hand side leaves; the entering column keeps every reduced cost at
    // least 0.
    Verdict dual() {
        while (pivots_ < limit_) {
            int r = 0;
            for (int i = 1; i <= t_.m(); ++i)
                if (t_.rhs(i) < -kRoundOff && (r == 0 || t_.rhs(i) < t_.rhs(r)))
                    r = i;
            if (r == 0)
                return Verdict::Optimal;
            int c = 0;
            double best = 0;
            for (int j = 1; j <= t_.ni() + t_.m(); ++j) {
                const double e = t_.at(r, j);
                if (!(e < -kPivotTolerance))
                    continue;
                const double q = std::max(t_.at(0, j), 0.0) / -e;
                if (c == 0 || q < best) {
                    c = j;
                    best = q;
                }
            }
            if (c == 0)
                return Verdict::GiveUp; // no column raises the row: infeasible
            pivot(r, c);
        }
        return Verdict::GiveUp;
    }

private:
    void pivot(int r, int c) {
        pivotMatrix({t_.data().data(), t_.rows(), t_.cols()}, r, c, scratch_);
        t_.basis()[at(r)] = c;
        ++pivots_;
    }

    Tableau& t_;
    const long limit_;
    long pivots_ = 0;
    std::vector<int> scratch_;
};

bool sameShape(const Tableau& a, const Tableau& b) {
    return a.ni() == b.ni() && a.m() == b.m();
}

} // namespace

WarmSolve solveFromBasis(Tableau& t, const Tableau& initial) {
    WarmSolve out;
    if (sameShape(t, initial) && recomputeFromData(t, initial)) {
        clearRoundOffRightHandSides(t);
        Reoptimiser again(t);
        Verdict verdict = Verdict::GiveUp;
        if (primalFeasible(t))
            verdict = again.primal();
        else if (dualFeasible(t))
            verdict = again.dual();
        // Round-off of the pivots is checked against the data as after a run.
        if (verdict == Verdict::Optimal &&
            refactoriseIfDrifted(t, initial, DriftScope::Results) != DriftCheck::Singular &&
            primalFeasible(t) && dualFeasible(t)) {
            clearRoundOffRightHandSides(t);
            out.fromBasis = true;
            out.pivots = again.pivots();
            out.report.outcome = Outcome::Optimal;
            out.report.phase2Pivots = again.pivots();
            return out;
        }
    }
    t = initial;
    out.report = solve(t);
    out.pivots = out.report.phase2Pivots;
    return out;
}

} // namespace tarvela::simplex
