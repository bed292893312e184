#include "solver/dense_elimination.h"

#include <algorithm>
#include <cmath>

namespace tarvela::simplex::detail {

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
            for (int u = q; u < n; ++u) {
                s.row(r)[u] -= f * s.row(q)[u];
            }
            double* yr = y.row(r);
            const double* yq = y.row(q);
            for (int k = 0; k < cols; ++k) {
                yr[k] -= f * yq[k];
            }
        }
    }
    for (int q = n - 1; q >= 0; --q) {
        double* yq = y.row(q);
        for (int u = q + 1; u < n; ++u) {
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
    return true;
}

} // namespace tarvela::simplex::detail
