#pragma once

#include "solver/limit_programme.h"

#include <optional>
#include <vector>

// Which limits stand in one another's way, and how far one of them must move on its own.
namespace tarvela::simplex {

// A minimal set of limits that cannot be met together, found among candidates that cannot be met
// together (positions in the programme's limits): a deletion filter that leaves a candidate out
// for good whenever the others still cannot be met without it. Every limit of the result is
// needed: without any one of them the rest can be met. The batch limits are tried first, then
// the others in their order.
std::vector<int> conflictingLimits(const LimitProgramme& programme,
                                   const std::vector<int>& candidates);

// The value limit k must take, every other limit of the problem holding but those set aside, for
// them all to be met: the highest value of the nutrient, quantity of the ingredient or smallest
// batch the others allow for a minimum (the lowest, or the largest batch, for a maximum).
// std::nullopt when the others cannot be met even without limit k: moving it alone is not enough.
std::optional<double> neededValue(const LimitProgramme& programme, int k,
                                  const std::vector<int>& setAside = {});

} // namespace tarvela::simplex
