#include "plan/plan_diagnosis.h"

#include "solver/diagnosis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tarvela::plan {

namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Extra stock below this is the engine's round-off; so are row prices below kPriceRoundOff.
constexpr double kExtraRoundOff = 1e-6;
constexpr double kPriceRoundOff = 1e-9;

// The formula position and tableau row of a row of the programme; (-1, 0) for a stock row.
std::pair<int, int> formulaRowOf(const PlanProgramme& programme, int row) {
    for (std::size_t f = programme.firstRow.size(); f-- > 0;) {
        if (row >= programme.firstRow[f]) {
            const int r = row - programme.firstRow[f] + 1;
            if (at(r) < programme.rows[f].size())
                return {static_cast<int>(f), r};
            return {-1, 0};
        }
    }
    return {-1, 0};
}

} // namespace

StockShortfall stockShortfall(const PlanProgramme& programme, const std::vector<StockLimit>& stocks,
                              simplex::Engine engine) {
    StockShortfall out;
    simplex::SparseProgramme elastic = programme.lp;
    std::fill(elastic.cost().begin(), elastic.cost().end(), 0.0);
    std::vector<int> extraColumn(stocks.size(), -1);
    for (std::size_t s = 0; s < stocks.size(); ++s) {
        if (programme.stockRows[s] < 0)
            continue;
        extraColumn[s] = elastic.addColumn(1.0);
        elastic.add(programme.stockRows[s], extraColumn[s], -1.0);
    }
    const simplex::EngineSolution least = simplex::solve(elastic, engine);
    if (!least.optimal())
        return out;

    simplex::SparseProgramme relaxed = programme.lp;
    out.needed.resize(stocks.size());
    for (std::size_t s = 0; s < stocks.size(); ++s) {
        out.needed[s] = stocks[s].existencia;
        if (extraColumn[s] < 0)
            continue;
        const double extra = least.x[at(extraColumn[s])];
        if (extra > kExtraRoundOff)
            out.needed[s] = simplex::roundOutward(stocks[s].existencia + extra, 2, true);
        relaxed.rowUpper()[at(programme.stockRows[s])] = out.needed[s];
    }
    for (int row = 0; row < programme.lp.rows(); ++row) {
        if (std::fabs(least.duals[at(row)]) <= kPriceRoundOff)
            continue;
        const std::pair<int, int> formulaRow = formulaRowOf(programme, row);
        if (formulaRow.first >= 0)
            out.limits.push_back(formulaRow);
    }
    out.found = true;
    const simplex::EngineSolution within = simplex::solve(relaxed, engine);
    if (within.optimal())
        out.cost = within.cost;
    return out;
}

} // namespace tarvela::plan
