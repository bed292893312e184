#pragma once

#include <QString>

#include <optional>

// The batch quantity of a formula: greater than 0 and at most 1000 units. The one check that
// the run (window, command line and worklist), "Grabar", the batch-quantity box and "Recalcular
// Valores" apply; an ingredient limit never passes the largest batch.
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
    QString message;             // the run's own message for the problem
    std::optional<double> typed; // the number read, also when it is refused
};

// A quantity typed with either separator.
BatchQuantity checkBatchQuantity(const QString& text);
// A quantity typed into the batch-quantity box, which the box keeps until a run or "Grabar"
// checks it: empty is 0, a number is kept with 3 decimals; nothing for a text that is not a
// number.
std::optional<double> typedBatchQuantity(const QString& text);
BatchQuantity checkBatchQuantity(double quantity);

} // namespace tarvela::formulation
