#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

namespace tarvela::formulation {

// Makes the rows of formula_propiedad and formula_producto of model.formulaId equal to the
// nutrient and ingredient working tables: matching rows updated, missing ones inserted, rows no
// longer in the model deleted; and the rows of formula_relacion and formula_grupo those of the
// ratio and group limits. Runs on the caller's transaction; throws db::DbError.
void saveDetails(WorkingModel& model, db::Connection& conn);

} // namespace tarvela::formulation
