#pragma once

#include "solver/problem.h"
#include "solver/simplex.h"

#include <optional>
#include <vector>

// How far a limit's value may move before the final basis of its programme changes, read from
// the final tableau alone.
namespace tarvela::simplex {

// How a limit's row changes per unit of the limit's value: the entries of the ingredient columns
// (index j − 1 for column j) and the right-hand side. A nutrient limit on dry matter with
// ingredients as fed, and a ratio limit, sit in the coefficients; every other limit in the
// right-hand side.
struct RowChange {
    std::vector<double> columns;
    double rhs = 0;
};

RowChange rowChangePerUnit(const LpProblem& problem, const Limit& limit);

// A range of a limit's value; an empty end is without limit.
struct ValueRange {
    std::optional<double> from;
    std::optional<double> to;
};

// The values of the limit stated by constraint row `row` (1..M) over which the final tableau's
// basis stays feasible and optimal, so that the mix keeps its ingredients and binding limits and
// the cost of the limit per unit follows the same basis. Exact for a change of the right-hand
// side; for a change of the coefficients the rank-one change of the basis is followed exactly
// too (the basis stays regular within the range).
ValueRange limitRange(const Tableau& final, const LpProblem& problem, int row, const Limit& limit);

// The final tableau on a basis where no ingredient is basic at a zero share. A degenerate vertex
// (common with ratio and group rows) may carry an ingredient out of the mix in its basis; each
// such ingredient leaves the basis by a pivot that moves nothing (the mix and its cost stay),
// the entering column chosen as the dual simplex chooses it so that every reduced cost stays
// non-negative. The ingredient then reads as left out, with the price at which it would enter;
// where no column may enter, no fall of its price brings it in, and it stays.
Tableau withZeroSharesOutOfBasis(const Tableau& final);

// The changes of the price of ingredient column `column` (on the ingredients' basis) over which
// the final basis stays optimal: `from` at most 0, `to` at least 0. For an ingredient in the mix
// the columns read are those its price record reads (every non-basic column but the slacks of
// the total-share rows), so that `to` is the record's largest rise; an ingredient left out may
// become dearer without end and enters below its reduced cost. Read on the basis of
// withZeroSharesOutOfBasis.
ValueRange priceRange(const BuiltTableau& built, int column);

} // namespace tarvela::simplex
