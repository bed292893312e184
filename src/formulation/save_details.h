#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

namespace tarvela::formulation {

// Makes the rows of formula_propiedad and formula_producto of model.formulaId equal to the
// nutrient and ingredient working tables: matching rows updated, missing ones inserted, rows no
// longer in the model deleted; the rows of formula_relacion and formula_grupo those of the ratio
// and group limits; and what changed recorded with the formula. Runs in one transaction that
// joins the caller's; throws db::DbError.
void saveDetails(WorkingModel& model, db::Connection& conn);

} // namespace tarvela::formulation
