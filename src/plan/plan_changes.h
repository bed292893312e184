#pragma once

#include "plan/plan_store.h"

// Whether the plan window holds work that is not saved.
namespace tarvela::plan {

// Whether a save of current would store something else than saved (the plan as loaded or last
// saved): its name (trimmed), the formulas with their quantities, and the stocks. The names
// and prices only shown do not count.
bool differsFromSaved(const Plan& current, const Plan& saved);

} // namespace tarvela::plan
