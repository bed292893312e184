// The pivot, which every method of the solver shares, and the test of a unit basis.
#include "solver/dense_elimination.h"
#include "solver/simplex_internal.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvela::simplex::detail {

namespace {

// a(k) -= f·pr(k) on four rows at once over columns [from, to): each entry of the pivot row is
// read once for the four, and each entry is still computed as one product and one difference.
TARVELA_INLINE void eliminate4(double* __restrict a, double* __restrict b, double* __restrict c,
                               double* __restrict d, const double* __restrict pr, const double* f,
                               int from, int to) {
    const double fa = f[0];
    const double fb = f[1];
    const double fc = f[2];
    const double fd = f[3];
    for (int k = from; k < to; ++k) {
        const double x = pr[k];
        a[k] -= fa * x;
        b[k] -= fb * x;
        c[k] -= fc * x;
        d[k] -= fd * x;
    }
}

TARVELA_INLINE void eliminate1(double* __restrict a, const double* __restrict pr, double f,
                               int from, int to) {
    for (int k = from; k < to; ++k) {
        a[k] -= f * pr[k];
    }
}

// The same on the listed columns alone.
TARVELA_INLINE void eliminateListed4(double* __restrict a, double* __restrict b,
                                     double* __restrict c, double* __restrict d,
                                     const double* __restrict pr, const double* f,
                                     const int* __restrict listed, int count) {
    const double fa = f[0];
    const double fb = f[1];
    const double fc = f[2];
    const double fd = f[3];
    for (int u = 0; u < count; ++u) {
        const int k = listed[u];
        const double x = pr[k];
        a[k] -= fa * x;
        b[k] -= fb * x;
        c[k] -= fc * x;
        d[k] -= fd * x;
    }
}

TARVELA_INLINE void eliminateListed1(double* __restrict a, const double* __restrict pr, double f,
                                     const int* __restrict listed, int count) {
    for (int u = 0; u < count; ++u) {
        const int k = listed[u];
        a[k] -= f * pr[k];
    }
}

// Sweeping a column whole costs about a quarter of updating one listed column.
constexpr int kListedColumnCost = 4;

// Divides the pivot row by its entry p (from column 1 on, where not exactly 0) and lists its
// non-zero columns in nz, ascending. Returns how many.
TARVELA_INLINE int dividePivotRow(double* pr, double p, const int* columns, int count, int* nz) {
    int n = 0;
    for (int u = 0; u < count; ++u) {
        const int k = columns[u];
        double v = pr[k];
        if (v != 0.0) {
            if (k >= 1 && p != 0.0) {
                v /= p;
                pr[k] = v;
            }
            nz[n] = k;
            n += v != 0.0 ? 1 : 0;
        }
    }
    return n;
}

TARVELA_INLINE int dividePivotRow(double* pr, double p, int cols, int* nz) {
    int n = 0;
    for (int k = 0; k < cols; ++k) {
        double v = pr[k];
        if (v != 0.0) {
            if (k >= 1 && p != 0.0) {
                v /= p;
                pr[k] = v;
            }
            nz[n] = k;
            n += v != 0.0 ? 1 : 0;
        }
    }
    return n;
}

} // namespace

TARVELA_VECTOR_CLONES
void pivotMatrix(MatrixView m, int r, int c, std::vector<int>& scratch,
                 const std::vector<int>* columns) {
    scratch.resize(static_cast<std::size_t>(m.cols) + static_cast<std::size_t>(m.rows));
    int* nz = scratch.data();
    double* pr = m.row(r);
    const double p = pr[c];
    const int nnz =
        columns ? dividePivotRow(pr, p, columns->data(), static_cast<int>(columns->size()), nz)
                : dividePivotRow(pr, p, m.cols, nz);
    // The rows to update: those whose entry in column c is not exactly 0.
    int* rows = nz + nnz;
    int count = 0;
    const double* entry = m.a + c;
    for (int i = 0; i < m.rows; ++i, entry += m.cols) {
        rows[count] = i;
        count += (*entry != 0.0 && i != r) ? 1 : 0;
    }
    if (nnz == 0 || count == 0) {
        return;
    }
    // The pivot row's non-zero columns split in two: those up to nz[split - 1] are swept whole
    // (a run of columns holding some zeros, where an entry minus f·0 stays as it is), the rest
    // are updated one by one. In a tableau the pivot row's entries mostly lie together among
    // the ingredients' columns; the slack columns beyond them are mostly basic, hence 0.
    int split = 0;
    int best = kListedColumnCost * nnz;
    for (int s = 1; s <= nnz; ++s) {
        const int cost = nz[s - 1] - nz[0] + 1 + kListedColumnCost * (nnz - s);
        if (cost < best) {
            best = cost;
            split = s;
        }
    }
    const int from = split > 0 ? nz[0] : 0;
    const int to = split > 0 ? nz[split - 1] + 1 : 0;
    const int* listed = nz + split;
    const int listedCount = nnz - split;
    // Every factor is read before its row changes: column c of the four rows is updated too.
    int q = 0;
    for (; q + 4 <= count; q += 4) {
        double* a = m.row(rows[q]);
        double* b = m.row(rows[q + 1]);
        double* cc = m.row(rows[q + 2]);
        double* d = m.row(rows[q + 3]);
        const double f[4] = {a[c], b[c], cc[c], d[c]};
        eliminate4(a, b, cc, d, pr, f, from, to);
        eliminateListed4(a, b, cc, d, pr, f, listed, listedCount);
    }
    for (; q < count; ++q) {
        double* pi = m.row(rows[q]);
        const double f = pi[c];
        eliminate1(pi, pr, f, from, to);
        eliminateListed1(pi, pr, f, listed, listedCount);
    }
}

void insertColumn(std::vector<int>& columns, int column) {
    columns.insert(std::lower_bound(columns.begin(), columns.end(), column), column);
}

void eraseColumn(std::vector<int>& columns, int column) {
    const auto it = std::lower_bound(columns.begin(), columns.end(), column);
    if (it != columns.end() && *it == column) {
        columns.erase(it);
    }
}

// Every row k is read once, whole: its entries in the basic columns must be 0 but for its own
// basic column, which must be 1. An entry counts as non-zero by its bits (either zero has
// none but the sign), so that the count runs four entries at a time.
TARVELA_VECTOR_CLONES
bool basicColumnsAreUnit(const Tableau& t) {
    const std::vector<int>& basis = t.basis();
    const int cols = t.cols();
    std::vector<std::uint64_t> basic(sz(cols), 0);
    for (int i = 1; i <= t.m(); ++i) {
        const int b = basis[sz(i)];
        if (b < 0 || b >= cols || basic[sz(b)] != 0) {
            return false; // a column basic in two rows cannot be a unit vector in both
        }
        basic[sz(b)] = 1;
    }
    const std::uint64_t* mark = basic.data();
    for (int k = 0; k <= t.m(); ++k) {
        const double* row = t.data().data() + sz(k) * sz(cols);
        std::uint64_t nonZero = 0;
        for (int j = 0; j < cols; ++j) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, row + j, sizeof bits);
            nonZero += mark[j] & static_cast<std::uint64_t>((bits << 1) != 0);
        }
        if (k == 0 ? nonZero != 0 : nonZero != 1 || row[basis[sz(k)]] != 1.0) {
            return false;
        }
    }
    return true;
}

std::vector<int> openColumns(const Tableau& t) {
    std::vector<char> basic(sz(t.cols()), 0);
    for (int i = 1; i <= t.m(); ++i) {
        basic[sz(t.basis()[sz(i)])] = 1;
    }
    std::vector<int> open;
    open.reserve(sz(t.ni() + 2));
    for (int j = 0; j < t.cols(); ++j) {
        if (j == 0 || j == t.p() || !basic[sz(j)]) {
            open.push_back(j);
        }
    }
    return open;
}

} // namespace tarvela::simplex::detail
