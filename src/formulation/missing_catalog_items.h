#pragma once

#include "context/desktop.h"
#include "db/connection.h"

#include <QStringList>

#include <vector>

// A formula's rows whose ingredient or nutrient was deleted from the catalog after the formula
// was saved. Loading leaves them out, and the next save removes them; the user is told which
// when the formula is loaded.
namespace tarvela::formulation {

struct MissingCatalogItems {
    std::vector<int> ingredients; // id_producto of formula_producto rows, ascending
    std::vector<int> nutrients;   // id_propiedad of formula_propiedad rows, ascending
    bool empty() const { return ingredients.empty() && nutrients.empty(); }
};

// Throws db::DbError.
MissingCatalogItems missingCatalogItems(db::Connection& conn, int formulaId);
// One line for each item: "El ingrediente 17 de la fórmula ya no existe en el catálogo; se
// quitará al grabar."
QStringList missingCatalogLines(const MissingCatalogItems& missing);
// Tells the desktop, in one message, when the formula names items the catalog no longer holds.
// Throws db::DbError.
void reportMissingCatalogItems(db::Connection& conn, int formulaId, Desktop& desktop);

} // namespace tarvela::formulation
