#include "formulation/recalculation.h"

#include "db/statements.h"
#include "formulation/batch_quantity.h"
#include "formulation/dry_matter.h"
#include "text/format.h"

#include <algorithm>

namespace tarvela::formulation {

namespace {

// Adds the nutrients an ingredient contains that the nutrient rows do not hold yet.
void addNutrientsOf(std::vector<NutrientRow>& nutrients, db::Connection& conn, int idProducto) {
    const db::Result rs = conn.query(
        QStringLiteral("SELECT pp.id_propiedad,pp.valor,p.nombre FROM producto_propiedad pp,"
                       "propiedades p WHERE pp.id_propiedad=p.id_propiedad and pp.id_producto=") +
        db::sqlInt(idProducto) + QStringLiteral(" AND pp.valor<>0"));
    const int cId = rs.column(QStringLiteral("id_propiedad"));
    const int cNombre = rs.column(QStringLiteral("nombre"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        const int id = rs.value(r, cId).toInt();
        if (std::any_of(nutrients.begin(), nutrients.end(),
                        [id](const NutrientRow& n) { return n.id_propiedad == id; }))
            continue;
        NutrientRow row;
        row.id_propiedad = id;
        row.nombre = rs.value(r, cNombre).toString();
        row.minimo = 0.0;
        row.valor = 0.0;
        nutrients.push_back(std::move(row));
    }
}

} // namespace

QString recalcQuantityBasis(bool vSecaIng) {
    return vSecaIng ? QStringLiteral("Materia Seca") : QStringLiteral("Materia Húmeda");
}

RecalcQuantity checkRecalcQuantity(const QString& text) {
    const BatchQuantity batch = checkBatchQuantity(text);
    switch (batch.problem) {
    case BatchProblem::None:
        return {batch.value, {}};
    case BatchProblem::NotNumber:
        return {std::nullopt, QStringLiteral("La cantidad debe ser un dato numérico válido")};
    case BatchProblem::NotPositive:
        return {std::nullopt, QStringLiteral("La cantidad debe ser mayor que cero")};
    case BatchProblem::TooLarge:
        break;
    }
    return {std::nullopt, batch.message};
}

void recalculate(WorkingModel& model, db::Connection& conn, const RecalcRequest& request) {
    const double Q = request.quantity;
    // The catalog is read before anything changes: a failed read leaves the model as it was.
    if (!request.keepNutrients) {
        std::vector<NutrientRow> nutrients;
        for (const IngredientRow& row : model.ingredients)
            addNutrientsOf(nutrients, conn, row.id_producto);
        model.rsPropiedades = std::move(nutrients);
    }
    if (request.scaleLimits && model.batchQuantity > 0) {
        const double factor = Q / model.batchQuantity;
        const auto scaled = [factor](Opt& limit) {
            if (limit)
                limit = std::min(text::roundDecimal(*limit * factor, 3), kLargestBatch);
        };
        for (IngredientRow& row : model.ingredients) {
            scaled(row.minimo);
            scaled(row.maximo);
        }
        // A group's limits are quantities of the batch like an ingredient's.
        for (GroupRow& group : model.grupos) {
            scaled(group.minimo);
            scaled(group.maximo);
        }
    }
    for (IngredientRow& row : model.ingredients) {
        if (model.vSecaIng) {
            row.cantidad_seca = row.porcentaje_seca.value_or(0.0) * Q;
            row.cantidad_humeda = perDryMatter(row.cantidad_seca, row.materia_seca).value_or(0.0);
        } else {
            row.cantidad_humeda = row.porcentaje_humeda.value_or(0.0) * Q;
            row.cantidad_seca = *row.cantidad_humeda * row.materia_seca.value_or(0.0) / 100.0;
        }
    }
    // The stored batch quantity is the one the rows now add up to.
    model.batchQuantity = Q;
}

} // namespace tarvela::formulation
