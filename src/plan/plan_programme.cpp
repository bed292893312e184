#include "plan/plan_programme.h"

#include <QHash>

#include <cstddef>

namespace tarvela::plan {

namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace

double asFedPerShare(const PlannedProblem& formula, int j) {
    const simplex::LpIngredient& ing = formula.problem.ingredients[at(j)];
    if (!formula.problem.vSecaIng)
        return formula.cantidad;
    // On dry matter the share is of the dry batch; the stock is as fed.
    return ing.dryFraction > 0 ? formula.cantidad / ing.dryFraction : 0.0;
}

PlanProgramme buildPlanProgramme(const std::vector<PlannedProblem>& formulas,
                                 const std::vector<StockLimit>& stocks) {
    PlanProgramme out;
    simplex::SparseProgramme& lp = out.lp;
    // Where each stocked ingredient's row is, by key.
    QHash<int, int> stockIndex;
    for (std::size_t s = 0; s < stocks.size(); ++s)
        stockIndex.insert(stocks[s].idProducto, static_cast<int>(s));
    std::vector<std::vector<std::pair<int, double>>> stockEntries(stocks.size());

    for (const PlannedProblem& formula : formulas) {
        // The formula's limits exactly as the run's tableau states them: every row "<=".
        const simplex::BuiltTableau built = simplex::buildTableau(formula.problem);
        const simplex::Tableau& t = built.tableau;
        const int first = lp.columns();
        out.firstColumn.push_back(first);
        for (int j = 1; j <= t.ni(); ++j)
            lp.addColumn(formula.cantidad * t.at(0, j));
        out.firstRow.push_back(lp.rows());
        for (int r = 1; r <= t.m(); ++r) {
            const int row = lp.addRow(-simplex::kNoBound, t.rhs(r));
            for (int j = 1; j <= t.ni(); ++j)
                lp.add(row, first + j - 1, t.at(r, j));
        }
        out.rows.push_back(built.rows);
        for (int j = 0; j < t.ni(); ++j) {
            const auto s = stockIndex.find(formula.problem.ingredients[at(j)].id);
            if (s != stockIndex.end())
                stockEntries[at(*s)].emplace_back(first + j, asFedPerShare(formula, j));
        }
    }
    for (std::size_t s = 0; s < stocks.size(); ++s) {
        if (stockEntries[s].empty()) {
            out.stockRows.push_back(-1);
            continue;
        }
        const int row = lp.addRow(-simplex::kNoBound, stocks[s].existencia);
        for (const auto& [column, value] : stockEntries[s])
            lp.add(row, column, value);
        out.stockRows.push_back(row);
    }
    return out;
}

} // namespace tarvela::plan
