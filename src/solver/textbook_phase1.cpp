// The textbook phase 1 that settles feasibility when the row-by-row passes leave a row negative.
#include "solver/dense_elimination.h"
#include "solver/simplex_internal.h"

#include <algorithm>
#include <cmath>

namespace tarvela::simplex::detail {

namespace {

// The tableau widened by the artificial column (just before the right-hand side) and the
// phase-1 objective row (after the last constraint row).
class ArtificialProblem {
public:
    explicit ArtificialProblem(const Tableau& t)
        : m_(t.m()), last_(t.ni() + t.m()), art_(t.p()), rhs_(t.p() + 1), w_(t.m() + 1),
          a_(t.m() + 2, t.p() + 2), basis_(t.basis()) {
        for (int i = 0; i <= m_; ++i) {
            const double* src = t.data().data() + sz(i) * sz(t.cols());
            std::copy_n(src, t.p(), a_.row(i));
            a_.row(i)[rhs_] = src[t.p()];
            if (i >= 1 && src[t.p()] < 0.0) {
                a_.row(i)[art_] = -1.0;
            }
        }
        a_.row(w_)[art_] = 1.0;
        basis_.push_back(0);
    }

    // Pivots the artificial into the most negative row, then Bland's rule.
    Phase1Verdict minimise(long pivotLimit) {
        int worst = 1;
        for (int i = 2; i <= m_; ++i) {
            if (a_.row(i)[rhs_] < a_.row(worst)[rhs_]) {
                worst = i;
            }
        }
        pivot(worst, art_);
        for (long it = 0; it < pivotLimit; ++it) {
            const int row = artificialRow();
            if (row == 0) {
                return Phase1Verdict::Feasible;
            }
            const int c = enteringColumn();
            if (c == 0) {
                if (a_.row(row)[rhs_] > kRoundOff) {
                    return Phase1Verdict::Infeasible;
                }
                return driveOut(row) ? Phase1Verdict::Feasible : Phase1Verdict::Undecided;
            }
            const int r = leavingRow(c);
            if (r == 0) {
                return Phase1Verdict::Undecided;
            }
            pivot(r, c);
        }
        return Phase1Verdict::Undecided;
    }

    void copyBack(Tableau& t) const {
        for (int i = 0; i <= m_; ++i) {
            double* dst = t.data().data() + sz(i) * sz(t.cols());
            const double* src = a_.a.data() + sz(i) * sz(a_.cols);
            std::copy_n(src, t.p(), dst);
            dst[t.p()] = src[rhs_];
        }
        std::copy_n(basis_.begin(), m_ + 1, t.basis().begin());
    }

private:
    void pivot(int r, int c) {
        pivotMatrix({a_.a.data(), a_.rows, a_.cols}, r, c, scratch_);
        basis_[sz(r)] = c;
    }
    int artificialRow() const {
        for (int i = 1; i <= m_; ++i) {
            if (basis_[sz(i)] == art_) {
                return i;
            }
        }
        return 0;
    }
    int enteringColumn() {
        const double* w = a_.row(w_);
        for (int j = 1; j <= last_; ++j) {
            if (w[j] < -kCostTolerance) {
                return j;
            }
        }
        return 0;
    }
    // Smallest ratio; ties go to the artificial's row, then to the lowest basic column.
    int leavingRow(int c) {
        int best = 0;
        double bestRatio = 0.0;
        for (int i = 1; i <= m_; ++i) {
            const double e = a_.row(i)[c];
            if (!(e > kPivotTolerance)) {
                continue;
            }
            const double q = std::max(0.0, a_.row(i)[rhs_]) / e;
            if (best == 0 || q < bestRatio || (q == bestRatio && preferred(i, best))) {
                best = i;
                bestRatio = q;
            }
        }
        return best;
    }
    bool preferred(int i, int than) const {
        const int bi = basis_[sz(i)];
        const int bt = basis_[sz(than)];
        if (bi == art_ || bt == art_) {
            return bi == art_;
        }
        return bi < bt;
    }
    // The artificial is basic at a round-off level: it leaves on a degenerate pivot.
    bool driveOut(int row) {
        a_.row(row)[rhs_] = 0.0;
        int best = 0;
        for (int j = 1; j <= last_; ++j) {
            if (std::find(basis_.begin() + 1, basis_.begin() + m_ + 1, j) !=
                basis_.begin() + m_ + 1) {
                continue;
            }
            if (best == 0 || std::fabs(a_.row(row)[j]) > std::fabs(a_.row(row)[best])) {
                best = j;
            }
        }
        if (best == 0 || !(std::fabs(a_.row(row)[best]) > kPivotTolerance)) {
            return false;
        }
        pivot(row, best);
        return true;
    }

    int m_;
    int last_;
    int art_;
    int rhs_;
    int w_;
    Block a_;
    std::vector<int> basis_;
    std::vector<int> scratch_;
};

} // namespace

Phase1Verdict textbookPhase1(Tableau& t, SolveReport& report) {
    ArtificialProblem problem(t);
    const long limit = 50L * (t.cols() + t.rows()) + 10000;
    const Phase1Verdict verdict = problem.minimise(limit);
    if (verdict == Phase1Verdict::Feasible) {
        problem.copyBack(t);
        report.toleranceDecisions += clearRoundOffRightHandSides(t);
    }
    return verdict;
}

} // namespace tarvela::simplex::detail
