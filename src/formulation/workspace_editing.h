#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QString>

// Editing the working model between loading and saving: the values typed over the grid cells,
// the ingredients and nutrients added from the catalogs and removed. Every change stays in the
// working tables; nothing reaches the database.
namespace tarvela::formulation {

// What became of a text typed over a cell.
enum class EditOutcome {
    Stored,   // the working row took the value
    Dropped,  // nothing to store (an empty price)
    Refused,  // the text is not acceptable: message, the box keeps the focus
    NotFound, // the row is gone: message, the edit ends
};

struct EditResult {
    EditOutcome outcome = EditOutcome::Stored;
    QString message;
};

// The text a box over a cell opens with: the stored value in full (never the rounded text the
// grid shows), trailing zeros trimmed, with the workstation's separator; empty for none.
QString editBoxText(const Opt& value, QChar decimalSeparator);

// An ingredient's "minimo" or "maximo" (field name): empty is no limit; otherwise a number from
// 0 to 1000, kept with 3 decimals. The grid is repainted; totals do not change.
EditResult editIngredientLimit(WorkingModel& model, int idProducto, const QString& field,
                               const QString& text);
// An ingredient's price as fed (4 decimals) and, from it, its price per unit of dry matter.
// Totals change: the caller runs actuResultados.
EditResult editIngredientPrice(WorkingModel& model, int idProducto, const QString& text);
// An ingredient's "cantidad_seca" or "cantidad_humeda" (empty is 0), 3 decimals; the other
// basis follows its dry matter and every share follows the new totals. The caller runs
// actuResultados.
EditResult editIngredientQuantity(WorkingModel& model, int idProducto, const QString& field,
                                  const QString& text);
// A nutrient's "minimo" or "maximo": empty is no limit, otherwise a number between -1000000 and
// 1000000 (the magnitudes a run accepts), kept with 2 decimals.
EditResult editNutrientLimit(WorkingModel& model, int idPropiedad, const QString& field,
                             const QString& text);

// A ratio's "minimo" or "maximo", as a nutrient limit (2 decimals); a negative value, or one that
// would put the minimum above the maximum, is refused.
EditResult editRatioLimit(WorkingModel& model, int idNum, int idDen, const QString& field,
                          const QString& text);
// A group's "minimo" or "maximo", as an ingredient limit (3 decimals); a negative value, one above
// the batch quantity, or one that would put the minimum above the maximum, is refused.
EditResult editGroupLimit(WorkingModel& model, int idGrupo, const QString& field,
                          const QString& text);

// Every ingredient's shares from the quantities: its quantity over the total of its basis, 0
// when that total is 0.
void recomputeShares(WorkingModel& model);

// Adding an item picked from a catalog.
struct AddResult {
    bool added = false;
    QString message; // why not, when there is something to tell
};
// The ingredient as the catalog holds it, with limits 0 and none and no quantity; refused when
// the formula holds it or its dry matter is not above 0. Throws db::DbError.
AddResult addIngredient(WorkingModel& model, db::Connection& conn, int idProducto);
// The nutrient with minimum 0, no maximum and no value yet.
AddResult addNutrient(WorkingModel& model, int idPropiedad, const QString& nombre);

// The ratio of two nutrients picked in turn, without limits yet; refused when both are the same
// nutrient or the formula holds the ratio.
AddResult addRatio(WorkingModel& model, int idNum, const QString& nombreNum, int idDen,
                   const QString& nombreDen);
// The group as the catalog holds it (name and members), without limits yet; refused when the
// formula holds it. Throws db::DbError.
AddResult addGroup(WorkingModel& model, db::Connection& conn, int idGrupo);
bool removeRatio(WorkingModel& model, int idNum, int idDen);
bool removeGroup(WorkingModel& model, int idGrupo);

// Removes a row; the ingredients' shares follow the remaining quantities. False when the row is
// not there.
bool removeIngredient(WorkingModel& model, int idProducto);
bool removeNutrient(WorkingModel& model, int idPropiedad);

// After the ingredient was edited in the catalog: its catalog price and dry matter, which the
// grid compares with the formula's own. Throws db::DbError.
void refreshCatalogValues(WorkingModel& model, db::Connection& conn, int idProducto);

} // namespace tarvela::formulation
