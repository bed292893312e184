#pragma once

#include "solver/problem.h"
#include "solver/sparse_programme.h"

#include <vector>

// The production plan's programme: every formula's own programme, as its single run states it,
// side by side on columns of their own, and one row per stocked ingredient that holds what the
// formulas take of it together within the stock. Minimum total cost.
namespace tarvela::plan {

// One formula of the plan: its programme and the quantity to make of it (in its batch unit).
struct PlannedProblem {
    simplex::LpProblem problem;
    double cantidad = 0;
};

// A stock: Σ over the formulas of cantidad · share · (1 / dry matter when on dry matter) of the
// ingredient, as fed, at most existencia.
struct StockLimit {
    int idProducto = 0;
    double existencia = 0;
};

struct PlanProgramme {
    simplex::SparseProgramme lp;
    // Per formula: the column of its first ingredient (its ingredients follow in the problem's
    // order), the row of its first limit, and what each of its rows states (index 0 unused, as
    // the run's tableau numbers them: row r of the formula is lp row firstRow + r - 1).
    std::vector<int> firstColumn;
    std::vector<int> firstRow;
    std::vector<std::vector<simplex::Limit>> rows;
    // Per stock, in the order given: its row; -1 when no formula uses the ingredient.
    std::vector<int> stockRows;
};

// As-fed quantity of ingredient j taken by one unit of share for a quantity to make.
double asFedPerShare(const PlannedProblem& formula, int j);

PlanProgramme buildPlanProgramme(const std::vector<PlannedProblem>& formulas,
                                 const std::vector<StockLimit>& stocks);

} // namespace tarvela::plan
