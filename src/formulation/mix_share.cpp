#include "formulation/mix_share.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cmath>

namespace tarvela::formulation {

double withoutRoundOff(double share) {
    return std::fabs(share) <= simplex::kRoundOff ? 0.0 : share;
}

bool isInMix(Opt quantity, double batchQuantity) {
    return quantity && *quantity > simplex::kRoundOff * std::max(1.0, batchQuantity);
}

bool isInMix(const IngredientRow& row, const WorkingModel& model) {
    return isInMix(model.vSecaIng ? row.cantidad_seca : row.cantidad_humeda, model.batchQuantity);
}

} // namespace tarvela::formulation
