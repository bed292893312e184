#pragma once

#include "solver/simplex.h"

#include <vector>

namespace tarvela::test {

// A tableau written out by hand: costs of the ingredient columns, then one row per constraint
// with its ingredient entries and its right-hand side; slacks form the identity, row 0 has 1 in
// column 0.
inline simplex::Tableau handTableau(const std::vector<double>& costs,
                                    const std::vector<std::vector<double>>& rows) {
    const int ni = static_cast<int>(costs.size());
    const int m = static_cast<int>(rows.size());
    simplex::Tableau t(ni, m);
    t.at(0, 0) = 1.0;
    for (int j = 1; j <= ni; ++j) {
        t.at(0, j) = costs[static_cast<std::size_t>(j - 1)];
    }
    for (int i = 1; i <= m; ++i) {
        const auto& row = rows[static_cast<std::size_t>(i - 1)];
        for (int j = 1; j <= ni; ++j) {
            t.at(i, j) = row[static_cast<std::size_t>(j - 1)];
        }
        t.at(i, ni + i) = 1.0;
        t.rhs(i) = row.back();
    }
    return t;
}

inline int basisOf(const simplex::Tableau& t, int row) {
    return t.basis()[static_cast<std::size_t>(row)];
}

} // namespace tarvela::test
