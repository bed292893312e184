#include "formulation/batch_quantity.h"

namespace tarvela::formulation {

BatchQuantityProblem batchQuantityProblem(std::optional<double> quantity) {
    if (!quantity)
        return BatchQuantityProblem::NotANumber;
    if (!(*quantity > 0))
        return BatchQuantityProblem::NotPositive;
    if (*quantity > kMaxBatchQuantity)
        return BatchQuantityProblem::AboveLimit;
    return BatchQuantityProblem::None;
}

QString batchQuantityMessage(BatchQuantityProblem problem) {
    switch (problem) {
    case BatchQuantityProblem::NotANumber:
        return QStringLiteral("La cantidad a elaborar debe ser numérica");
    case BatchQuantityProblem::NotPositive:
        return QStringLiteral("La cantidad a elaborar debe ser mayor que cero");
    case BatchQuantityProblem::AboveLimit:
        return QStringLiteral("La cantidad a elaborar no puede ser mayor a 1000");
    case BatchQuantityProblem::None:
        break;
    }
    return {};
}

} // namespace tarvela::formulation
