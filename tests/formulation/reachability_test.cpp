#include "formulation/reachability.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using formulation::blendMaximum;
using formulation::ReachIngredient;

TEST(Reachability, GreedyFillTakesMinimaThenTheRichest) {
    // Two ingredients at 50 % with content 10: the blend reaches 10.
    EXPECT_DOUBLE_EQ(blendMaximum({{10, 0, 0.5}, {10, 0, 0.5}}, true), 10.0);
    // A minimum share of a poor ingredient comes first: 0.3 x 1 + 0.6 x 20 + 0.1 x 5.
    EXPECT_DOUBLE_EQ(blendMaximum({{1, 0.3, 1}, {20, 0, 0.6}, {5, 0, 1}}, true), 0.3 + 12.0 + 0.5);
    // Negative contents still have to fill the batch.
    EXPECT_DOUBLE_EQ(blendMaximum({{-2, 0, 1}, {4, 0, 0.25}}, true), 1.0 - 1.5);
}

TEST(Reachability, RatioBasisBoundIsTheRichestIngredientThatMayEnter) {
    EXPECT_DOUBLE_EQ(blendMaximum({{10, 0, 0.5}, {30, 0, 0}, {12, 0.2, 1}}, false), 12.0);
    EXPECT_DOUBLE_EQ(blendMaximum({}, false), 0.0);
}

TEST(Reachability, RoundOffShortfallIsNotRefused) {
    EXPECT_TRUE(formulation::minimumReachable(8.0 - 1e-12, 8.0));
    EXPECT_FALSE(formulation::minimumReachable(7.99, 8.0));
}

} // namespace
} // namespace tarvela::test
