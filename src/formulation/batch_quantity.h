#pragma once

#include <QString>

#include <optional>

// The batch quantity of a formula: greater than 0 and at most 1000 units. The one check that
// the run, "Grabar", the batch-quantity box and "Recalcular Valores" apply.
namespace tarvela::formulation {

constexpr double kLargestBatch = 1000;

enum class BatchProblem {
    None,
    NotNumber,   // the text is not a number
    NotPositive, // 0 or below
    TooLarge,    // above kLargestBatch
};

struct BatchQuantity {
    std::optional<double> value; // the quantity, when it may stand
    BatchProblem problem = BatchProblem::None;
    QString message; // the run's own message for the problem
};

// A quantity typed with either separator.
BatchQuantity checkBatchQuantity(const QString& text);
BatchQuantity checkBatchQuantity(double quantity);

} // namespace tarvela::formulation
