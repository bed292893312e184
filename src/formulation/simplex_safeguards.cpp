// The solver's numerical safeguards: recomputing a tableau that drifted from its data, and the
// textbook phase 1 that settles feasibility when the row-by-row passes leave a row negative.
#include "formulation/simplex_internal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace tarvela::simplex::detail {

namespace {

std::size_t sz(int v) {
    return static_cast<std::size_t>(v);
}

// Dense row-major block of doubles.
struct Block {
    int rows = 0;
    int cols = 0;
    std::vector<double> a;
    Block(int r, int c) : rows(r), cols(c), a(sz(r) * sz(c), 0.0) {}
    double* row(int i) { return a.data() + sz(i) * sz(cols); }
};

// The basis split into the rows whose basic column is an ingredient (solved for through the
// small block S of the initial tableau) and the rows whose basic column is a slack (read off).
struct BasisSplit {
    std::vector<int> ingredientRows; // tableau rows with an ingredient basic, in row order
    std::vector<int> uncovered;      // constraint rows of the data whose slack is not basic
    bool valid = true;
};

BasisSplit splitBasis(const Tableau& t) {
    BasisSplit split;
    const int ni = t.ni();
    const int m = t.m();
    std::vector<char> covered(sz(m) + 1, 0);
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[sz(i)];
        if (b < 1 || b > ni + m) {
            split.valid = false;
            return split;
        }
        if (b <= ni) {
            split.ingredientRows.push_back(i);
        } else if (covered[sz(b - ni)]++ != 0) {
            split.valid = false; // a slack basic in two rows
            return split;
        }
    }
    for (int s = 1; s <= m; ++s) {
        if (!covered[sz(s)]) {
            split.uncovered.push_back(s);
        }
    }
    split.valid = split.uncovered.size() == split.ingredientRows.size();
    return split;
}

// X := B⁻¹ × initial for the tableau's basis (rows 0..M, columns 0..P). False when B is
// singular.
bool basisInverseTimesData(const Tableau& t, const Tableau& initial, Block& x,
                           bool slackRowBodies) {
    const BasisSplit split = splitBasis(t);
    if (!split.valid) {
        return false;
    }
    const int nb = static_cast<int>(split.ingredientRows.size());
    const int cols = t.cols();
    std::vector<int> basicIngredient(sz(nb));
    for (int q = 0; q < nb; ++q) {
        basicIngredient[sz(q)] = t.basis()[sz(split.ingredientRows[sz(q)])];
    }

    // [S | A_R] with S(r, q) = initial(R_r, j_q): Gaussian elimination with partial pivoting.
    Block s(nb, nb);
    Block y(nb, cols);
    double largest = 0.0;
    for (int r = 0; r < nb; ++r) {
        const int dataRow = split.uncovered[sz(r)];
        for (int q = 0; q < nb; ++q) {
            s.row(r)[q] = initial.at(dataRow, basicIngredient[sz(q)]);
            largest = std::max(largest, std::fabs(s.row(r)[q]));
        }
        std::copy_n(initial.data().data() + sz(dataRow) * sz(cols), cols, y.row(r));
    }
    const double singular = 1e-13 * std::max(1.0, largest);
    for (int q = 0; q < nb; ++q) {
        int piv = q;
        for (int r = q + 1; r < nb; ++r) {
            if (std::fabs(s.row(r)[q]) > std::fabs(s.row(piv)[q])) {
                piv = r;
            }
        }
        if (!(std::fabs(s.row(piv)[q]) > singular)) {
            return false;
        }
        if (piv != q) {
            std::swap_ranges(s.row(q), s.row(q) + nb, s.row(piv));
            std::swap_ranges(y.row(q), y.row(q) + cols, y.row(piv));
        }
        const double d = s.row(q)[q];
        for (int r = q + 1; r < nb; ++r) {
            const double f = s.row(r)[q] / d;
            if (f == 0.0) {
                continue;
            }
            for (int u = q; u < nb; ++u) {
                s.row(r)[u] -= f * s.row(q)[u];
            }
            double* yr = y.row(r);
            const double* yq = y.row(q);
            for (int k = 0; k < cols; ++k) {
                yr[k] -= f * yq[k];
            }
        }
    }
    for (int q = nb - 1; q >= 0; --q) {
        double* yq = y.row(q);
        for (int u = q + 1; u < nb; ++u) {
            const double f = s.row(q)[u];
            if (f == 0.0) {
                continue;
            }
            const double* yu = y.row(u);
            for (int k = 0; k < cols; ++k) {
                yq[k] -= f * yu[k];
            }
        }
        const double d = s.row(q)[q];
        for (int k = 0; k < cols; ++k) {
            yq[k] /= d;
        }
    }

    // Rows whose basic column is the objective column (row 0) or a slack: the data row less
    // the basic ingredients' share of it.
    auto readOff = [&](int tableauRow, int dataRow) {
        double* xr = x.row(tableauRow);
        std::copy_n(initial.data().data() + sz(dataRow) * sz(cols), cols, xr);
        for (int q = 0; q < nb; ++q) {
            const double f = initial.at(dataRow, basicIngredient[sz(q)]);
            if (f == 0.0) {
                continue;
            }
            const double* yq = y.row(q);
            for (int k = 0; k < cols; ++k) {
                xr[k] -= f * yq[k];
            }
        }
    };
    readOff(0, 0);
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        if (b <= t.ni()) {
            continue;
        }
        if (slackRowBodies) {
            readOff(i, b - t.ni());
        } else {
            double v = initial.rhs(b - t.ni());
            for (int q = 0; q < nb; ++q) {
                v -= initial.at(b - t.ni(), basicIngredient[sz(q)]) * y.row(q)[cols - 1];
            }
            x.row(i)[cols - 1] = v;
        }
    }
    for (int q = 0; q < nb; ++q) {
        std::copy_n(y.row(q), cols, x.row(split.ingredientRows[sz(q)]));
    }
    return true;
}

bool differs(double value, double recomputed) {
    return std::fabs(value - recomputed) > kDriftTolerance * std::max(1.0, std::fabs(recomputed));
}

// Row 0, every right-hand side and the rows of basic ingredients: what the results are read from.
bool resultsDrifted(const Tableau& t, Block& x) {
    const int cols = t.cols();
    for (int i = 0; i <= t.m(); ++i) {
        const double* a = t.data().data() + sz(i) * sz(cols);
        const double* b = x.row(i);
        if (i == 0 || t.basis()[sz(i)] <= t.ni()) {
            for (int k = 0; k < cols; ++k) {
                if (differs(a[k], b[k])) {
                    return true;
                }
            }
        } else if (differs(a[cols - 1], b[cols - 1])) {
            return true;
        }
    }
    return false;
}

// Solves m·x = b in place for a small dense m (n × n, row-major, overwritten) by Gaussian
// elimination with partial pivoting. False when m is singular.
bool solveSmall(std::vector<double>& m, std::vector<double>& b, int n, double singular) {
    auto at = [&](int r, int c) -> double& { return m[sz(r) * sz(n) + sz(c)]; };
    for (int q = 0; q < n; ++q) {
        int piv = q;
        for (int r = q + 1; r < n; ++r) {
            if (std::fabs(at(r, q)) > std::fabs(at(piv, q))) {
                piv = r;
            }
        }
        if (!(std::fabs(at(piv, q)) > singular)) {
            return false;
        }
        if (piv != q) {
            for (int c = q; c < n; ++c) {
                std::swap(at(q, c), at(piv, c));
            }
            std::swap(b[sz(q)], b[sz(piv)]);
        }
        for (int r = q + 1; r < n; ++r) {
            const double f = at(r, q) / at(q, q);
            if (f == 0.0) {
                continue;
            }
            for (int c = q; c < n; ++c) {
                at(r, c) -= f * at(q, c);
            }
            b[sz(r)] -= f * b[sz(q)];
        }
    }
    for (int q = n - 1; q >= 0; --q) {
        double v = b[sz(q)];
        for (int c = q + 1; c < n; ++c) {
            v -= at(q, c) * b[sz(c)];
        }
        b[sz(q)] = v / at(q, q);
    }
    return true;
}

// The quick comparison: the right-hand sides B⁻¹·b and the objective row c − c_B·B⁻¹·A, each
// from one small solve, without forming B⁻¹·A.
DriftCheck quickCheck(const Tableau& t, const Tableau& initial) {
    const BasisSplit split = splitBasis(t);
    if (!split.valid) {
        return DriftCheck::Singular;
    }
    const int nb = static_cast<int>(split.ingredientRows.size());
    const int ni = t.ni();
    const int cols = t.cols();
    std::vector<int> basicIngredient(sz(nb));
    std::vector<double> s(sz(nb) * sz(nb));
    std::vector<double> st(sz(nb) * sz(nb));
    std::vector<double> x(sz(nb));
    std::vector<double> y(sz(nb));
    double largest = 0.0;
    for (int q = 0; q < nb; ++q) {
        basicIngredient[sz(q)] = t.basis()[sz(split.ingredientRows[sz(q)])];
        y[sz(q)] = initial.at(0, basicIngredient[sz(q)]);
    }
    for (int r = 0; r < nb; ++r) {
        const int dataRow = split.uncovered[sz(r)];
        x[sz(r)] = initial.rhs(dataRow);
        for (int q = 0; q < nb; ++q) {
            const double v = initial.at(dataRow, basicIngredient[sz(q)]);
            s[sz(r) * sz(nb) + sz(q)] = v;
            st[sz(q) * sz(nb) + sz(r)] = v;
            largest = std::max(largest, std::fabs(v));
        }
    }
    const double singular = 1e-13 * std::max(1.0, largest);
    if (!solveSmall(s, x, nb, singular) || !solveSmall(st, y, nb, singular)) {
        return DriftCheck::Singular;
    }
    for (int q = 0; q < nb; ++q) {
        if (differs(t.rhs(split.ingredientRows[sz(q)]), x[sz(q)])) {
            return DriftCheck::Refactorised;
        }
    }
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        if (b <= ni) {
            continue;
        }
        double v = initial.rhs(b - ni);
        for (int q = 0; q < nb; ++q) {
            v -= initial.at(b - ni, basicIngredient[sz(q)]) * x[sz(q)];
        }
        if (differs(t.rhs(i), v)) {
            return DriftCheck::Refactorised;
        }
    }
    std::vector<double> row0(initial.data().begin(), initial.data().begin() + cols);
    for (int r = 0; r < nb; ++r) {
        const double f = y[sz(r)];
        if (f == 0.0) {
            continue;
        }
        const double* a = initial.data().data() + sz(split.uncovered[sz(r)]) * sz(cols);
        for (int k = 0; k < cols; ++k) {
            row0[sz(k)] -= f * a[k];
        }
    }
    for (int k = 0; k < cols - 1; ++k) {
        if (differs(t.at(0, k), row0[sz(k)])) {
            return DriftCheck::Refactorised;
        }
    }
    return differs(t.rhs(0), row0[sz(cols - 1)]) ? DriftCheck::Refactorised
                                                 : DriftCheck::Consistent;
}

void makeBasicColumnsExact(Tableau& t) {
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        for (int k = 0; k <= t.m(); ++k) {
            t.at(k, b) = k == i ? 1.0 : 0.0;
        }
    }
    for (int k = 0; k <= t.m(); ++k) {
        t.at(k, 0) = k == 0 ? 1.0 : 0.0;
    }
}

} // namespace

DriftCheck refactoriseIfDrifted(Tableau& t, const Tableau& initial, DriftScope scope) {
    if (scope == DriftScope::ObjectiveAndRightHandSide) {
        const DriftCheck quick = quickCheck(t, initial);
        if (quick != DriftCheck::Refactorised) {
            return quick;
        }
    } else {
        Block x(t.rows(), t.cols());
        if (!basisInverseTimesData(t, initial, x, false)) {
            return DriftCheck::Singular;
        }
        if (!resultsDrifted(t, x)) {
            return DriftCheck::Consistent;
        }
    }
    Block x(t.rows(), t.cols());
    if (!basisInverseTimesData(t, initial, x, true)) {
        return DriftCheck::Singular;
    }
    t.data() = std::move(x.a);
    makeBasicColumnsExact(t);
    return DriftCheck::Refactorised;
}

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
