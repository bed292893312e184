#pragma once

#include "formulation/working_model.h"
#include "solver/problem.h"

#include <vector>

// The sensitivity records of a solved mix: price ranges of the ingredients in the mix, entry
// prices of those left out, and the cost of each binding limit row.
namespace tarvela::formulation {

// The record kind of a binding row of a limit's kind; std::nullopt for the total-share rows,
// which are never reported.
std::optional<AnalysisKind> analysisKindOf(simplex::LimitKind kind);

// The records in the order of their kinds. `built` holds the final tableau of the stated
// problem; ingredients are looked up by key in the ingredient working table for their name and
// price as fed. An ingredient at a zero share is out of the mix whatever basis the tableau
// carries it in (its "II" record gives the price at which it enters), and an ingredient's
// minimum of 0 is never reported as a binding limit.
std::vector<AnalysisRecord> analysisRecords(const simplex::BuiltTableau& built,
                                            const simplex::LpProblem& problem,
                                            const std::vector<IngredientRow>& ingredients);

} // namespace tarvela::formulation
