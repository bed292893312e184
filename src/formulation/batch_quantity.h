#pragma once

#include <QString>

#include <optional>

// The batch quantity a formula may be made in: above 0 and at most kMaxBatchQuantity. The run,
// "Recalcular Valores" and "Grabar" read this one rule; each says it in its own message.
namespace tarvela::formulation {

constexpr double kMaxBatchQuantity = 1000;

enum class BatchQuantityProblem {
    None,
    NotANumber,  // nothing typed, or not a number
    NotPositive, // 0 or below
    AboveLimit,  // above kMaxBatchQuantity
};

BatchQuantityProblem batchQuantityProblem(std::optional<double> quantity);

// The run's message for a problem other than None.
QString batchQuantityMessage(BatchQuantityProblem problem);

} // namespace tarvela::formulation
