// Editing the working model from the grids: the boxes over the cells, adding and removing
// ingredients and nutrients, and the ingredient's catalog windows.
#include "formulation/gui/frmoptimizacion.h"

#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproducto_propiedades.h"
#include "catalogs/gui/pickers.h"
#include "formulation/grid_cells.h"
#include "formulation/gui/cell_overlay.h"
#include "formulation/workspace_editing.h"
#include "text/format.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QTableWidget>

namespace tarvela {

namespace {

using formulation::EditOutcome;
using formulation::EditResult;

QString fieldOf(const std::vector<grid::GridColumn>& columns, int column) {
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return {};
    return columns[static_cast<size_t>(column)].field.trimmed();
}

QString cellText(const QTableWidget& grid, int row, int column) {
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

// The working-table key shown in the grid's hidden column 0.
int keyAt(const QTableWidget& grid, int row) {
    return cellText(grid, row, 0).toInt();
}

int rowOfKey(const QTableWidget& grid, int key) {
    for (int r = 0; r < grid.rowCount(); ++r)
        if (keyAt(grid, r) == key)
            return r;
    return -1;
}

} // namespace

void frmoptimizacion::buildOverlays() {
    ingredientLimitBox_ = new CellOverlay(ctx_, *ingredientGrid_, QStringLiteral("txtProd"));
    priceBox_ = new CellOverlay(ctx_, *ingredientGrid_, QStringLiteral("txtPrecio"));
    quantityBox_ = new CellOverlay(ctx_, *ingredientGrid_, QStringLiteral("Text1"));
    shareView_ = new CellOverlay(ctx_, *ingredientGrid_, QStringLiteral("Text8"));
    nutrientLimitBox_ = new CellOverlay(ctx_, *nutrientGrid_, QStringLiteral("txtProp"));
    nutrientValueView_ = new CellOverlay(ctx_, *nutrientGrid_, QStringLiteral("Text2"));
    connect(ingredientGrid_, &QTableWidget::cellClicked, this,
            &frmoptimizacion::ingredientCellClicked);
    connect(ingredientGrid_, &QTableWidget::cellDoubleClicked, this,
            &frmoptimizacion::ingredientCellActivated);
    connect(nutrientGrid_, &QTableWidget::cellClicked, this, &frmoptimizacion::nutrientCellClicked);
    connect(nutrientGrid_, &QTableWidget::cellDoubleClicked, this,
            &frmoptimizacion::nutrientCellActivated);
    ingredientGrid_->installEventFilter(this);
    nutrientGrid_->installEventFilter(this);
}

// Shows an edit's outcome; true when the box may close.
bool frmoptimizacion::edited(const EditResult& result) {
    if (!result.message.isEmpty())
        ctx_.ui().message(result.message, MsgIcon::Critical);
    return result.outcome != EditOutcome::Refused;
}

void frmoptimizacion::ingredientCellClicked(int row, int column) {
    const QString field = fieldOf(formulation::flexProdColumns(), column);
    if (field != QStringLiteral("porcentaje_seca") && field != QStringLiteral("porcentaje_humeda"))
        return;
    const formulation::IngredientRow* ingredient =
        model_.findIngredient(keyAt(*ingredientGrid_, row));
    if (!ingredient)
        return;
    const formulation::Opt& share = field == QStringLiteral("porcentaje_seca")
                                        ? ingredient->porcentaje_seca
                                        : ingredient->porcentaje_humeda;
    shareView_->view(row, column,
                     text::formatNumber(share.value_or(0) * 100, QStringLiteral("0.00########"),
                                        displaySeparator(ctx_)));
}

void frmoptimizacion::ingredientCellActivated(int row, int column) {
    if (row < 0)
        return;
    const QString field = fieldOf(formulation::flexProdColumns(), column);
    const int key = keyAt(*ingredientGrid_, row);
    const formulation::IngredientRow* ingredient = model_.findIngredient(key);
    if (!ingredient)
        return;
    // The boxes open with the stored value in full, not the rounded text of the cell.
    const auto stored = [&](const formulation::Opt& value) {
        return formulation::editBoxText(value, displaySeparator(ctx_));
    };
    if (field == QStringLiteral("costo_humeda")) {
        priceBox_->edit(
            row, column, stored(ingredient->costo_humeda), [this, key](const QString& text) {
                const EditResult result = formulation::editIngredientPrice(model_, key, text);
                if (result.outcome == EditOutcome::Stored)
                    recomputeResults();
                return edited(result);
            });
    } else if (field == QStringLiteral("cantidad_seca") ||
               field == QStringLiteral("cantidad_humeda")) {
        const formulation::Opt& quantity = field == QStringLiteral("cantidad_seca")
                                               ? ingredient->cantidad_seca
                                               : ingredient->cantidad_humeda;
        quantityBox_->edit(row, column, stored(quantity), [this, key, field](const QString& text) {
            const EditResult result = formulation::editIngredientQuantity(model_, key, field, text);
            if (result.outcome == EditOutcome::Stored)
                recomputeResults();
            return edited(result);
        });
    } else if (field == QStringLiteral("minimo") || field == QStringLiteral("maximo")) {
        const formulation::Opt& limit =
            field == QStringLiteral("minimo") ? ingredient->minimo : ingredient->maximo;
        ingredientLimitBox_->edit(
            row, column, stored(limit), [this, key, field](const QString& text) {
                const EditResult result =
                    formulation::editIngredientLimit(model_, key, field, text);
                if (result.outcome == EditOutcome::Stored)
                    repaintIngredients();
                return edited(result);
            });
    } else if (field == QStringLiteral("nombre")) {
        openIngredient(key);
    }
}

void frmoptimizacion::nutrientCellClicked(int row, int column) {
    if (fieldOf(formulation::flexPropColumns(), column) != QStringLiteral("valor"))
        return;
    const formulation::NutrientRow* nutrient = model_.findNutrient(keyAt(*nutrientGrid_, row));
    if (!nutrient || !nutrient->valor)
        return;
    nutrientValueView_->view(row, column,
                             text::formatNumber(*nutrient->valor,
                                                QStringLiteral("#####0.00########"),
                                                displaySeparator(ctx_)));
}

void frmoptimizacion::nutrientCellActivated(int row, int column) {
    const QString field = fieldOf(formulation::flexPropColumns(), column);
    if (row < 0 || (field != QStringLiteral("minimo") && field != QStringLiteral("maximo")))
        return;
    const int key = keyAt(*nutrientGrid_, row);
    const formulation::NutrientRow* nutrient = model_.findNutrient(key);
    if (!nutrient)
        return;
    const formulation::Opt& limit =
        field == QStringLiteral("minimo") ? nutrient->minimo : nutrient->maximo;
    nutrientLimitBox_->edit(
        row, column, formulation::editBoxText(limit, displaySeparator(ctx_)),
        [this, key, field](const QString& text) {
            const EditResult result = formulation::editNutrientLimit(model_, key, field, text);
            if (result.outcome == EditOutcome::Stored) {
                repaintNutrients();
                const int shown = rowOfKey(*nutrientGrid_, key);
                if (shown >= 0)
                    nutrientGrid_->scrollToItem(nutrientGrid_->item(shown, 1),
                                                QAbstractItemView::PositionAtTop);
            }
            return edited(result);
        });
}

// The ingredient in the catalog's window; its catalog price and dry matter come back for the
// grid's markers, the formula's own stay.
void frmoptimizacion::openIngredient(int key) {
    BusyPointer busy(ctx_.ui());
    {
        frmproducto window(ctx_, key, this);
        execModal(ctx_, window);
    }
    try {
        formulation::refreshCatalogValues(model_, ctx_.db(), key);
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se encuentra el Producto"), error);
    }
    repaintIngredients();
}

// Makes a new row the grid's current one, its name highlighted, the cursor on a column.
void frmoptimizacion::showAdded(QTableWidget& grid, int key, int column) {
    const int row = rowOfKey(grid, key);
    if (row < 0)
        return;
    if (QTableWidgetItem* name = grid.item(row, 1)) {
        name->setBackground(grid.palette().color(QPalette::Highlight));
        name->setForeground(QColor(255, 255, 255));
    }
    grid.setCurrentCell(row, column);
    grid.setFocus();
}

void frmoptimizacion::addIngredient() {
    int lastAdded = 0;
    for (const PickedIngredient& picked : pickIngredients(ctx_, this)) {
        formulation::AddResult result;
        try {
            result = formulation::addIngredient(model_, ctx_.db(), picked.id);
        } catch (const db::DbError& error) {
            reportDbError(QStringLiteral("No se encuentra el Producto"), error);
            break;
        }
        if (!result.message.isEmpty())
            ctx_.ui().message(result.message, MsgIcon::Critical);
        if (result.added)
            lastAdded = picked.id;
    }
    if (lastAdded == 0)
        return;
    repaintIngredients();
    showAdded(*ingredientGrid_, lastAdded, 4);
}

void frmoptimizacion::addNutrient() {
    const std::optional<PickedNutrient> picked = pickNutrient(ctx_, this);
    if (!picked)
        return;
    const formulation::AddResult result =
        formulation::addNutrient(model_, picked->id, picked->name);
    if (!result.message.isEmpty())
        ctx_.ui().message(result.message, MsgIcon::Critical);
    if (!result.added)
        return;
    repaintNutrients();
    showAdded(*nutrientGrid_, picked->id, 3);
}

void frmoptimizacion::removeIngredient() {
    const int row = ingredientGrid_->currentRow();
    if (row < 0)
        return;
    const int key = keyAt(*ingredientGrid_, row);
    if (!formulation::removeIngredient(model_, key)) {
        ctx_.ui().message(QStringLiteral("No se pudo eliminar el Ingrediente"), MsgIcon::Critical);
        return;
    }
    recomputeResults();
}

void frmoptimizacion::removeNutrient() {
    const int row = nutrientGrid_->currentRow();
    if (row < 0)
        return;
    const int key = keyAt(*nutrientGrid_, row);
    if (!formulation::removeNutrient(model_, key)) {
        ctx_.ui().message(QStringLiteral("No se pudo eliminar el Nutriente"), MsgIcon::Critical);
        return;
    }
    repaintNutrients();
}

void frmoptimizacion::showIngredientComposition() {
    const int row = ingredientGrid_->currentRow();
    if (row < 0)
        return;
    frmproducto_propiedades window(ctx_, keyAt(*ingredientGrid_, row),
                                   cellText(*ingredientGrid_, row, 1).trimmed(), this);
    execModal(ctx_, window);
}

} // namespace tarvela
