#pragma once

#include "catalogs/ingredient_catalog.h"
#include "db/connection.h"

#include <QChar>

#include <optional>
#include <vector>

// A formulated mix kept as an ingredient of the catalog (a premix or concentrate): its price
// and dry matter come from the mix, its composition from the nutrient values the mix reaches.
namespace tarvela::catalogs {

// The boxes the window proposes: no code, description or unit; the mix's unit cost as fed
// rounded to 4 decimals and its dry matter rounded to 2, an exact half going to the even
// neighbour.
IngredientBoxes premixProposal(double costoHumeda, double materiaSeca, QChar separator);

// A nutrient value reached by the mix (empty when not computed yet).
struct MixNutrient {
    int idPropiedad = 0;
    std::optional<double> valor;
};

// The mix's nutrients and the basis they are expressed on.
struct MixComposition {
    std::vector<MixNutrient> nutrients;
    bool asFed = false; // the formula's nutrients are as fed, not on dry matter
};

// Stores the new ingredient of the base with one composition row per nutrient of the mix, in
// one transaction with the duplicate-code check and the new key. A code is a duplicate when any
// base holds it, compared as it will be stored. Composition contents are on dry matter: values
// as fed are divided by the ingredient's dry matter (left as they are when it is 0); a value
// not computed yet is stored as 0. The boxes must have passed checkIngredient. Throws
// db::KeyError or db::DbError; then nothing is written.
IngredientCreation createPremixIngredient(db::Connection& conn, int base,
                                          const IngredientBoxes& boxes, const MixComposition& mix);

} // namespace tarvela::catalogs
