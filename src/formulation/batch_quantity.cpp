#include "formulation/batch_quantity.h"

#include "text/format.h"

namespace tarvela::formulation {

namespace {

BatchQuantity refused(BatchProblem problem, const QString& message,
                      std::optional<double> typed = std::nullopt) {
    return {std::nullopt, problem, message, typed};
}

} // namespace

BatchQuantity checkBatchQuantity(double quantity) {
    if (!(quantity > 0))
        return refused(BatchProblem::NotPositive,
                       QStringLiteral("La cantidad a elaborar debe ser mayor que cero"), quantity);
    if (quantity > kLargestBatch)
        return refused(BatchProblem::TooLarge,
                       QStringLiteral("La cantidad a elaborar no puede ser mayor a 1000"),
                       quantity);
    return {quantity, BatchProblem::None, {}, quantity};
}

BatchQuantity checkBatchQuantity(const QString& text) {
    const std::optional<double> quantity = text::parseUserNumber(text);
    if (!quantity)
        return refused(BatchProblem::NotNumber,
                       QStringLiteral("La cantidad a elaborar debe ser numérica"));
    return checkBatchQuantity(*quantity);
}

std::optional<double> typedBatchQuantity(const QString& text) {
    if (text.trimmed().isEmpty())
        return 0.0;
    const BatchQuantity batch = checkBatchQuantity(text);
    if (batch.problem == BatchProblem::NotNumber)
        return std::nullopt;
    return text::roundDecimal(*batch.typed, 3);
}

} // namespace tarvela::formulation
