#pragma once

#include "plan/plan_programme.h"

#include <optional>
#include <utility>
#include <vector>

// Why a plan whose formulas can each be made alone cannot be made together: the stocks fall
// short. The least extra stock that lets every formula be made, and the limits of the formulas
// that ask for it.
namespace tarvela::plan {

struct StockShortfall {
    bool found = false;
    // Per stock: the stock the plan needs (its own when it is enough), rounded up to 2 decimals.
    std::vector<double> needed;
    // The formulas' limits that take part (their row's price is not 0 in the least extra
    // stock): (formula position, row of the formula's tableau numbering).
    std::vector<std::pair<int, int>> limits;
    // The plan's least cost within the needed stocks.
    std::optional<double> cost;
};

// Solves the elastic programme: every stock may be exceeded, each extra unit counted once; the
// formulas' limits hold. Then the plan's cost within the needed stocks.
StockShortfall stockShortfall(const PlanProgramme& programme, const std::vector<StockLimit>& stocks,
                              simplex::Engine engine);

} // namespace tarvela::plan
