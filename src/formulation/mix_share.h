#pragma once

#include "formulation/working_model.h"

// What counts as being in the mix. The simplex leaves round-off on the shares it computes (a
// basic ingredient at 1e-15 of the batch); a share within the solver's round-off is no share:
// the run writes it back as 0, and a quantity that small, stored before, reads as absent in
// every comparison, list and document.
namespace tarvela::formulation {

// The share as the mix keeps it: 0 when it is within the solver's round-off of 0.
double withoutRoundOff(double share);

// Whether a quantity of a batch of batchQuantity is a real part of it.
bool isInMix(Opt quantity, double batchQuantity);
// Whether the ingredient is in the model's mix: its quantity on the formula's own basis.
bool isInMix(const IngredientRow& row, const WorkingModel& model);

} // namespace tarvela::formulation
