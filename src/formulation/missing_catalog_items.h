#pragma once

#include "context/desktop.h"
#include "formulation/working_model.h"

#include <QStringList>

// A formula's rows whose ingredient or nutrient was deleted from the catalog after the formula
// was saved. Loading leaves them out (and keeps their keys in the model), the next save removes
// them; the user is told which when the formula is loaded.
namespace tarvela::formulation {

// One line for each item the loaded model found gone: "El ingrediente 17 de la fórmula ya no
// existe en el catálogo; se quitará al grabar."
QStringList missingCatalogLines(const WorkingModel& model);
// Tells the desktop, in one message, when the loaded formula names items the catalog no longer
// holds.
void reportMissingCatalogItems(const WorkingModel& model, Desktop& desktop);

} // namespace tarvela::formulation
