#pragma once

#include "formulation/working_model.h"

// Whether the formulation window holds work that is not saved.
namespace tarvela::formulation {

// Whether a save of current would store something else than saved (the model as loaded or last
// saved): the batch quantity, the two bases, the rows present and each row's stored fields
// (limits, shares, quantities, dry matter and price of the ingredients; limits and value of the
// nutrients, the ratios and the groups). Row order and the values only shown (costs, catalog
// values, totals) do not count.
bool differsFromSaved(const WorkingModel& current, const WorkingModel& saved);

} // namespace tarvela::formulation
