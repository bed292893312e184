#pragma once

#include <cstddef>
#include <vector>

// Small dense systems for the solver's safeguards: a row-major block of doubles and Gaussian
// elimination with partial pivoting.
namespace tarvela::simplex::detail {

inline std::size_t sz(int v) {
    return static_cast<std::size_t>(v);
}

// Dense row-major block of doubles, zero-filled.
struct Block {
    int rows = 0;
    int cols = 0;
    std::vector<double> a;
    Block(int r, int c) : rows(r), cols(c), a(sz(r) * sz(c), 0.0) {}
    double* row(int i) { return a.data() + sz(i) * sz(cols); }
    const double* row(int i) const { return a.data() + sz(i) * sz(cols); }
};

// Solves S·X = Y in place for a square S (n × n) and any number of right-hand-side columns
// (Y is n × k and becomes X; S is overwritten). False when a pivot is not larger than `singular`
// in size: S is then taken as singular and both blocks are left half eliminated.
bool solveInPlace(Block& s, Block& y, double singular);

} // namespace tarvela::simplex::detail
