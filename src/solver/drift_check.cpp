// The drift check: a tableau compared with B⁻¹ × the initial tableau for its basis, and
// recomputed from the data when they differ.
#include "solver/dense_elimination.h"
#include "solver/simplex_internal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace tarvela::simplex::detail {

namespace {

// The basis split into the rows whose basic column is an ingredient (solved for through the
// small block S of the initial tableau) and the rows whose basic column is a slack (read off).
struct BasisSplit {
    std::vector<int> ingredientRows;  // tableau rows with an ingredient basic, in row order
    std::vector<int> basicIngredient; // the ingredient basic in each of those rows
    std::vector<int> uncovered;       // constraint rows of the data whose slack is not basic
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
            split.basicIngredient.push_back(b);
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

// S(r, q) = initial(uncovered r, basic ingredient q): the block whose inverse gives the rows of
// the basic ingredients. `largest` is its largest entry in size.
Block basisBlock(const Tableau& initial, const BasisSplit& split, double& largest) {
    const int nb = static_cast<int>(split.ingredientRows.size());
    Block s(nb, nb);
    largest = 0.0;
    for (int r = 0; r < nb; ++r) {
        for (int q = 0; q < nb; ++q) {
            s.row(r)[q] = initial.at(split.uncovered[sz(r)], split.basicIngredient[sz(q)]);
            largest = std::max(largest, std::fabs(s.row(r)[q]));
        }
    }
    return s;
}

double singularBelow(double largest) {
    return 1e-13 * std::max(1.0, largest);
}

// A row whose basic column is a slack (or row 0, whose basic column is the objective column):
// the data row less the basic ingredients' share of it, x being the basic ingredients' rows.
// x's columns are the data's last x.cols columns; its columns from `first` on are read off into
// out.
TARVELA_VECTOR_CLONES
void readOff(const Tableau& initial, int dataRow, const BasisSplit& split, const Block& x,
             int first, double* out) {
    const int cols = initial.cols();
    const int count = x.cols - first;
    const double* data = initial.data().data() + sz(dataRow) * sz(cols) + (cols - x.cols) + first;
    std::copy_n(data, count, out);
    for (std::size_t q = 0; q < split.basicIngredient.size(); ++q) {
        const double f = initial.at(dataRow, split.basicIngredient[q]);
        if (f == 0.0) {
            continue;
        }
        const double* xq = x.row(static_cast<int>(q)) + first;
        for (int k = 0; k < count; ++k) {
            out[k] -= f * xq[k];
        }
    }
}

// X := B⁻¹ × initial for the tableau's basis (rows 0..M, columns 0..P); of the slack rows only
// the right-hand side unless slackRowBodies. False when B is singular.
bool basisInverseTimesData(const Tableau& t, const Tableau& initial, Block& x,
                           bool slackRowBodies) {
    const BasisSplit split = splitBasis(t);
    if (!split.valid) {
        return false;
    }
    const int nb = static_cast<int>(split.ingredientRows.size());
    const int cols = t.cols();

    // S × Y = the uncovered data rows.
    double largest = 0.0;
    Block s = basisBlock(initial, split, largest);
    Block y(nb, cols);
    for (int r = 0; r < nb; ++r) {
        std::copy_n(initial.data().data() + sz(split.uncovered[sz(r)]) * sz(cols), cols, y.row(r));
    }
    if (!solveInPlace(s, y, singularBelow(largest))) {
        return false;
    }

    readOff(initial, 0, split, y, 0, x.row(0));
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        if (b <= t.ni()) {
            continue;
        }
        const int first = slackRowBodies ? 0 : cols - 1;
        readOff(initial, b - t.ni(), split, y, first, x.row(i) + first);
    }
    for (int q = 0; q < nb; ++q) {
        std::copy_n(y.row(q), cols, x.row(split.ingredientRows[sz(q)]));
    }
    return true;
}

bool differs(double value, double recomputed) {
    return std::fabs(value - recomputed) > kDriftTolerance * std::max(1.0, std::fabs(recomputed));
}

// Row 0, every right-hand side and the rows of basic ingredients, what the results are read
// from, against B⁻¹ × the initial tableau; the other rows of B⁻¹ × the initial tableau are not
// formed.
DriftCheck resultsCheck(const Tableau& t, const Tableau& initial) {
    const BasisSplit split = splitBasis(t);
    if (!split.valid) {
        return DriftCheck::Singular;
    }
    const int nb = static_cast<int>(split.ingredientRows.size());
    const int cols = t.cols();
    double largest = 0.0;
    Block s = basisBlock(initial, split, largest);
    Block y(nb, cols);
    for (int r = 0; r < nb; ++r) {
        std::copy_n(initial.data().data() + sz(split.uncovered[sz(r)]) * sz(cols), cols, y.row(r));
    }
    if (!solveInPlace(s, y, singularBelow(largest))) {
        return DriftCheck::Singular;
    }
    const auto rowDiffers = [&](int i, const double* b) {
        const double* a = t.data().data() + sz(i) * sz(cols);
        for (int k = 0; k < cols; ++k) {
            if (differs(a[k], b[k])) {
                return true;
            }
        }
        return false;
    };
    std::vector<double> row0(sz(cols));
    readOff(initial, 0, split, y, 0, row0.data());
    if (rowDiffers(0, row0.data())) {
        return DriftCheck::Refactorised;
    }
    for (int q = 0; q < nb; ++q) {
        if (rowDiffers(split.ingredientRows[sz(q)], y.row(q))) {
            return DriftCheck::Refactorised;
        }
    }
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        if (b <= t.ni()) {
            continue;
        }
        double rhs = 0.0;
        readOff(initial, b - t.ni(), split, y, cols - 1, &rhs);
        if (differs(t.rhs(i), rhs)) {
            return DriftCheck::Refactorised;
        }
    }
    return DriftCheck::Consistent;
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
    double largest = 0.0;
    Block s = basisBlock(initial, split, largest);
    Block st(nb, nb);
    Block x(nb, 1); // the basic ingredients' right-hand sides
    Block y(nb, 1); // the basic ingredients' prices through S⁻¹
    for (int r = 0; r < nb; ++r) {
        x.row(r)[0] = initial.rhs(split.uncovered[sz(r)]);
        y.row(r)[0] = initial.at(0, split.basicIngredient[sz(r)]);
        for (int q = 0; q < nb; ++q) {
            st.row(q)[r] = s.row(r)[q];
        }
    }
    const double singular = singularBelow(largest);
    if (!solveInPlace(s, x, singular) || !solveInPlace(st, y, singular)) {
        return DriftCheck::Singular;
    }
    for (int q = 0; q < nb; ++q) {
        if (differs(t.rhs(split.ingredientRows[sz(q)]), x.row(q)[0])) {
            return DriftCheck::Refactorised;
        }
    }
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[sz(i)];
        if (b <= ni) {
            continue;
        }
        double v = 0.0;
        readOff(initial, b - ni, split, x, 0, &v);
        if (differs(t.rhs(i), v)) {
            return DriftCheck::Refactorised;
        }
    }
    std::vector<double> row0(initial.data().begin(), initial.data().begin() + cols);
    for (int r = 0; r < nb; ++r) {
        const double f = y.row(r)[0];
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
        const DriftCheck results = resultsCheck(t, initial);
        if (results != DriftCheck::Refactorised) {
            return results;
        }
    }
    return recomputeFromData(t, initial) ? DriftCheck::Refactorised : DriftCheck::Singular;
}

bool recomputeFromData(Tableau& t, const Tableau& initial) {
    Block x(t.rows(), t.cols());
    if (!basisInverseTimesData(t, initial, x, true)) {
        return false;
    }
    t.data() = std::move(x.a);
    makeBasicColumnsExact(t);
    return true;
}

} // namespace tarvela::simplex::detail
