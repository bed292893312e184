#include "formulation/missing_catalog_items.h"

namespace tarvela::formulation {

QStringList missingCatalogLines(const WorkingModel& model) {
    // The catalog row is gone with its code and name: the key is what is left to name it by.
    const QString tail = QStringLiteral(" de la fórmula ya no existe en el catálogo; se quitará "
                                        "al grabar.");
    QStringList lines;
    for (int id : model.missingIngredients)
        lines << QStringLiteral("El ingrediente ") + QString::number(id) + tail;
    for (int id : model.missingNutrients)
        lines << QStringLiteral("El nutriente ") + QString::number(id) + tail;
    return lines;
}

void reportMissingCatalogItems(const WorkingModel& model, Desktop& desktop) {
    const QStringList lines = missingCatalogLines(model);
    if (!lines.isEmpty())
        desktop.message(lines.join(QLatin1Char('\n')), MsgIcon::Warning);
}

} // namespace tarvela::formulation
