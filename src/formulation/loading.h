#pragma once

#include "context/desktop.h"
#include "db/connection.h"
#include "formulation/formula_composition.h"
#include "formulation/working_model.h"

#include <QChar>

namespace tarvela::formulation {

// Loads the formula model.formulaId into the header and both working tables, then runs
// actuResultados. Formula id 0 clears the model. Messages ("No se pudo establecer la Fórmula",
// ingredients without dry matter) go to the desktop. Database errors throw db::DbError.
void actuFormula(WorkingModel& model, db::Connection& conn, Desktop& desktop,
                 QChar decimalSeparator);

// The reading part of actuFormula: the header and both working tables of model.formulaId, as
// stored, without the totals and nutrient values (actuResultados). False when the formula was
// not found ("No se pudo establecer la Fórmula" shown, formula id 0).
bool loadFormula(WorkingModel& model, db::Connection& conn, Desktop& desktop,
                 QChar decimalSeparator);

// The formula's ratio and group limits as stored (with each group's members as the catalog holds
// them now), in place of the model's.
void loadRatioAndGroupLimits(WorkingModel& model, db::Connection& conn);

// Recomputes each ingredient's cost, the totals and their texts, and every nutrient's value
// from the catalog composition; leaves the ingredients sorted for display. The first reads the
// composition; the second works from a composition a run has read already.
void actuResultados(WorkingModel& model, db::Connection& conn, QChar decimalSeparator);
void actuResultados(WorkingModel& model, const FormulaComposition& composition,
                    QChar decimalSeparator);

// The option rules: choosing dry ingredients forces dry nutrients; choosing as-fed nutrients
// forces as-fed ingredients.
void chooseIngredientBasis(WorkingModel& model, bool dry);
void chooseNutrientBasis(WorkingModel& model, bool dry);

} // namespace tarvela::formulation
