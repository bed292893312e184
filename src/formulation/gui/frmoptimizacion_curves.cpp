// The formulation window's curves: "Curva de costo" of a nutrient's or an ingredient's limit and
// "Mapa de precio" of an ingredient, for the current line of its grid.
#include "formulation/gui/frmoptimizacion.h"

#include "formulation/cost_curve.h"
#include "reports/gui/frmCurva.h"
#include "widgets/modal_launcher.h"

#include <QTableWidget>

namespace tarvela {

namespace {

// The key in the grid's hidden first column of the current line; 0 without one.
int currentKey(const QTableWidget& grid) {
    const int row = grid.currentRow();
    const QTableWidgetItem* item = row >= 0 ? grid.item(row, 0) : nullptr;
    return item ? item->text().trimmed().toInt() : 0;
}

} // namespace

void frmoptimizacion::showNutrientCurve() {
    const formulation::NutrientRow* row = model_.findNutrient(currentKey(*nutrientGrid_));
    if (!row) {
        ctx_.ui().message(QStringLiteral("Seleccione un nutriente"), MsgIcon::Information);
        return;
    }
    frmCurva window(ctx_, model_,
                    {formulation::CurveKind::NutrientLimit, row->id_propiedad, !row->minimo}, this);
    execModal(ctx_, window);
}

void frmoptimizacion::showIngredientCurve() {
    const formulation::IngredientRow* row = model_.findIngredient(currentKey(*ingredientGrid_));
    if (!row) {
        ctx_.ui().message(QStringLiteral("Seleccione un ingrediente"), MsgIcon::Information);
        return;
    }
    frmCurva window(ctx_, model_,
                    {formulation::CurveKind::IngredientLimit, row->id_producto,
                     !row->minimo && row->maximo.has_value()},
                    this);
    execModal(ctx_, window);
}

void frmoptimizacion::showPriceMap() {
    const formulation::IngredientRow* row = model_.findIngredient(currentKey(*ingredientGrid_));
    if (!row) {
        ctx_.ui().message(QStringLiteral("Seleccione un ingrediente"), MsgIcon::Information);
        return;
    }
    frmCurva window(ctx_, model_,
                    {formulation::CurveKind::IngredientPrice, row->id_producto, false}, this);
    execModal(ctx_, window);
}

} // namespace tarvela
