#include "formulation/batch_quantity.h"

#include "text/format.h"

namespace tarvela::formulation {

namespace {

BatchQuantity refused(BatchProblem problem, const QString& message) {
    return {std::nullopt, problem, message};
}

} // namespace

BatchQuantity checkBatchQuantity(double quantity) {
    if (!(quantity > 0))
        return refused(BatchProblem::NotPositive,
                       QStringLiteral("La cantidad a elaborar debe ser mayor que cero"));
    if (quantity > kLargestBatch)
        return refused(BatchProblem::TooLarge,
                       QStringLiteral("La cantidad a elaborar no puede ser mayor a 1000"));
    return {quantity, BatchProblem::None, {}};
}

BatchQuantity checkBatchQuantity(const QString& text) {
    const std::optional<double> quantity = text::parseUserNumber(text);
    if (!quantity)
        return refused(BatchProblem::NotNumber,
                       QStringLiteral("La cantidad a elaborar debe ser numérica"));
    return checkBatchQuantity(*quantity);
}

} // namespace tarvela::formulation
