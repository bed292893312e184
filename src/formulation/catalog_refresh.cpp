#include "formulation/catalog_refresh.h"

#include "formulation/dry_matter.h"

namespace tarvela::formulation {

QString refreshPricesQuestion() {
    return QStringLiteral("Confirma la Actualización de los Precios para los Ingredietnes?");
}

QString refreshDryMatterQuestion() {
    return QStringLiteral("Confirma la Actualización de la Materia Seca para los Ingredientes?");
}

void refreshPrices(WorkingModel& model) {
    for (IngredientRow& row : model.ingredients) {
        if (!row.costoHumedaActual)
            continue;
        row.costo_humeda = row.costoHumedaActual;
        row.costo_seca = perDryMatter(row.costo_humeda, row.materia_seca);
    }
}

QStringList refreshDryMatter(WorkingModel& model) {
    QStringList skipped;
    for (IngredientRow& row : model.ingredients) {
        if (!hasDryMatter(row.materiaSecaActual)) {
            skipped << row.nombre.trimmed();
            continue;
        }
        row.materia_seca = row.materiaSecaActual;
        row.costo_seca = perDryMatter(row.costo_humeda, row.materia_seca);
        if (model.vSecaIng)
            row.cantidad_humeda = perDryMatter(row.cantidad_seca, row.materia_seca);
        else if (row.cantidad_humeda)
            row.cantidad_seca = *row.cantidad_humeda * *row.materia_seca / 100.0;
    }
    return skipped;
}

QString dryMatterNotRefreshedMessage(const QStringList& names) {
    return QStringLiteral("El Ingrediente no posee materia seca definida") +
           QStringLiteral("\n\n") + QStringLiteral("No se ha actualizado la Materia Seca de: ") +
           names.join(QStringLiteral(", "));
}

} // namespace tarvela::formulation
