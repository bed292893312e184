#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QString>

#include <optional>

// "Recalcular Valores": the mix scaled to a new batch quantity without solving again. Every
// ingredient keeps its shares and gets new quantities; the nutrient list may be rebuilt from
// the catalog contents of the formula's ingredients.
namespace tarvela::formulation {

// The text that names the basis of the quantity asked for ("Materia Seca" / "Materia Húmeda").
QString recalcQuantityBasis(bool vSecaIng);

// The quantity typed in "Recalcular ": the number, or the message that refuses it. A quantity
// that a run would refuse is refused with the run's message.
struct RecalcQuantity {
    std::optional<double> quantity;
    QString message;
};
RecalcQuantity checkRecalcQuantity(const QString& text);

// What "Recalcular " answered.
struct RecalcRequest {
    double quantity = 0;       // the new batch quantity, greater than 0
    bool keepNutrients = true; // "Mantener los Nutrientes actuales"
    bool scaleLimits = true;   // "Escalar también los límites de los ingredientes"
};

// Scales the ingredients to the new quantity Q on the formula's ingredient basis, the other
// basis following each ingredient's dry matter, and makes Q the batch quantity. With
// scaleLimits the ingredient and group limits follow the batch (from the batch quantity before,
// when it was above 0), kept with 3 decimals and at most 1000. Unless keepNutrients, the nutrient
// rows are replaced by every nutrient the ingredients contain (non-zero contents), in the order the
// ingredients first bring them, without limits. The caller recomputes the totals and values
// (actuResultados). Throws db::DbError.
void recalculate(WorkingModel& model, db::Connection& conn, const RecalcRequest& request);

} // namespace tarvela::formulation
