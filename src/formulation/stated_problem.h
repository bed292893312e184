#pragma once

#include "formulation/formula_composition.h"
#include "formulation/working_model.h"
#include "solver/problem.h"

namespace tarvela::formulation {

// The least-cost programme as the working tables state it for a batch of Q: ingredients sorted
// by key (the working table is left in that order) with their price on the ingredients' basis,
// dry-matter fraction and limits; nutrients in the table's order with their dry-basis contents
// (0 where the catalog has none); ratios with both nutrients' contents and groups with their
// members among the formula's ingredients, each in its table's order.
simplex::LpProblem statedProblem(WorkingModel& model, double Q,
                                 const FormulaComposition& composition);
// The same, reading the composition of the working tables first.
simplex::LpProblem statedProblem(WorkingModel& model, double Q, db::Connection& conn);

} // namespace tarvela::formulation
