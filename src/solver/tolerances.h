#pragma once

// The few numbers the least-cost programme and the readings of its tableau share: the band the
// shares of a mix add up to, the widening of equal limits, and what counts as round-off.
namespace tarvela::simplex {

// The shares of a mix add up to between these two.
constexpr double kShareSumAbove = 1.00000001;
constexpr double kShareSumBelow = 0.99999999;

// Equal lower and upper limits on a quantity of the batch (an ingredient, a group of them) are
// widened by this many batch units on each side, so that the mix has room to meet them.
constexpr double kEqualLimitsWidening = 0.001;

// Entries, reduced costs and right-hand sides within this of zero are round-off of the pivots,
// not figures of the mix.
constexpr double kRoundOff = 1e-9;

} // namespace tarvela::simplex
