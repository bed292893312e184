#include "solver/dense_elimination.h"

#include "solver/simplex_internal.h"

#include <algorithm>
#include <cmath>

namespace tarvela::simplex::detail {

namespace {

// a(k) -= f·b(k) over k < n, each entry one product and one difference.
TARVELA_INLINE void subtractMultiple(double* __restrict a, const double* __restrict b, double f,
                                     int n) {
    for (int k = 0; k < n; ++k) {
        a[k] -= f * b[k];
    }
}

} // namespace

TARVELA_VECTOR_CLONES
bool solveInPlace(Block& s, Block& y, double singular) {
    const int n = s.rows;
    const int cols = y.cols;
    for (int q = 0; q < n; ++q) {
        int piv = q;
        for (int r = q + 1; r < n; ++r) {
            if (std::fabs(s.row(r)[q]) > std::fabs(s.row(piv)[q])) {
                piv = r;
            }
        }
        if (!(std::fabs(s.row(piv)[q]) > singular)) {
            return false;
        }
        if (piv != q) {
            std::swap_ranges(s.row(q), s.row(q) + n, s.row(piv));
            std::swap_ranges(y.row(q), y.row(q) + cols, y.row(piv));
        }
        const double d = s.row(q)[q];
        for (int r = q + 1; r < n; ++r) {
            const double f = s.row(r)[q] / d;
            if (f == 0.0) {
                continue;
            }
            subtractMultiple(s.row(r) + q, s.row(q) + q, f, n - q);
            subtractMultiple(y.row(r), y.row(q), f, cols);
        }
    }
    for (int q = n - 1; q >= 0; --q) {
        double* yq = y.row(q);
        for (int u = q + 1; u < n; ++u) {
            const double f = s.row(q)[u];
            if (f == 0.0) {
                continue;
            }
            subtractMultiple(yq, y.row(u), f, cols);
        }
        const double d = s.row(q)[q];
        for (int k = 0; k < cols; ++k) {
            yq[k] /= d;
        }
    }
    return true;
}

} // namespace tarvela::simplex::detail
