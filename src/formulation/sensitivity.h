#pragma once

#include "formulation/working_model.h"
#include "solver/simplex.h"

#include <QString>

#include <vector>

// The sensitivity records of a solved mix: price ranges of the ingredients in the mix ("IA"),
// entry prices of those left out ("II"), and the cost of each binding nutrient ("RN") and
// ingredient-limit ("RI") row.
namespace tarvela::formulation {

struct SensitivityInput {
    const simplex::Tableau& tableau;         // the final tableau
    int A = 0;                               // nutrient rows
    int B = 0;                               // ingredient-limit rows
    const std::vector<int>& keys;            // id_producto of column j at index j - 1
    const std::vector<double>& dryFractions; // materia_seca / 100 of column j at index j - 1
    const std::vector<QString>& rowLabels;   // index 0 unused
    double Q = 0;
    bool vSecaIng = true;
    bool vSecaNut = true;
};

// The records in the order "IA", "II", "RN", "RI". Ingredients are looked up by key in the
// ingredient working table for their name and price as fed.
std::vector<AnalysisRecord> analysisRecords(const SensitivityInput& in,
                                            const std::vector<IngredientRow>& ingredients);

} // namespace tarvela::formulation
