// The formulation window's load and its handlers.
#include "formulation/gui/frmoptimizacion.h"

#include "db/statements.h"
#include "formulation/batch_quantity.h"
#include "formulation/gui/frmDiagnostico.h"
#include "formulation/gui/save_formula.h"
#include "formulation/loading.h"
#include "formulation/run.h"
#include "formulation/unsaved_changes.h"
#include "grid/gui/grid_painter.h"
#include "reports/composition.h"
#include "reports/gui/frmAnalisis.h"
#include "reports/gui/frmAportes.h"
#include "reports/gui/frmResultados.h"
#include "text/format.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace tarvela {

frmoptimizacion::frmoptimizacion(AppContext& ctx, int formulaId, QWidget* parent)
    : EditingWindow(ctx, parent), ctx_(ctx) {
    buildWindow();
    buildOverlays();
    setCaption();
    model_.formulaId = formulaId;
    loadFormula();
    nutrientTabs_->setCurrentIndex(0);
}

void frmoptimizacion::setCaption() {
    QString caption = QStringLiteral("Fórmulas");
    if (ctx_.currentCustomer >= 1) {
        try {
            const db::Result rs =
                ctx_.db().query(QStringLiteral("select nombre from clientes where idcliente=") +
                                db::sqlInt(ctx_.currentCustomer));
            if (!rs.isEmpty())
                caption += QStringLiteral(" - ") + rs.value(0, 0).toString();
        } catch (const db::DbError& error) {
            reportDbError(QStringLiteral("No se pudo leer el cliente"), error);
        }
    }
    setWindowTitle(caption);
}

void frmoptimizacion::reportDbError(const QString& message, const db::DbError& error) {
    showError(ctx_, message, error, this);
}

void frmoptimizacion::loadFormula() {
    const int requested = model_.formulaId;
    try {
        formulation::actuFormula(model_, ctx_.db(), *ctx_.desktop, displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo cargar la Fórmula"), error);
        return;
    }
    rememberSaved();
    if (requested != 0 && model_.formulaId == 0) {
        // Not found: the header is cleared, the working tables and grids stay as they were.
        showHeader();
        return;
    }
    // The grids are painted as part of the load: the nutrient grid marks the values that the
    // current catalog changed.
    formulation::LoadingFlag loading(model_);
    repaintAll();
}

void frmoptimizacion::rememberSaved() {
    savedModel_ = model_;
}

bool frmoptimizacion::hasUnsavedChanges() const {
    return formulation::differsFromSaved(model_, savedModel_);
}

void frmoptimizacion::showWorkingModel(const formulation::WorkingModel& model) {
    model_ = model;
    repaintAll();
}

void frmoptimizacion::recomputeResults() {
    try {
        BusyPointer busy(ctx_.ui());
        formulation::actuResultados(model_, ctx_.db(), displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo obtener la composición de la Fórmula"), error);
    }
    showTotals();
    repaintIngredients();
    repaintNutrients();
    repaintLimits();
}

void frmoptimizacion::formulate() {
    model_.txtCantidad = batchQuantityBox_->text();
    formulation::RunResult result;
    try {
        BusyPointer busy(ctx_.ui());
        result = formulation::formulate(model_, batchQuantityBox_->text(), ctx_.db(),
                                        displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo completar la Formulación"), error);
        return;
    }
    // The window shows what the run left, then what it had to say.
    showTotals();
    if (result.end == formulation::RunEnd::WrittenBack) {
        repaintIngredients();
        repaintNutrients();
        repaintLimits();
    }
    formulation::showRunMessages(
        result.messages, ctx_.ui(),
        [this](const formulation::AportesReport& report) {
            frmAportes aportes(ctx_, report, this);
            execModal(ctx_, aportes);
        },
        [this](formulation::RunFocus focus) {
            if (focus == formulation::RunFocus::Quantity)
                batchQuantityBox_->setFocus();
        });
    // Limits that cannot all be met: the diagnosis may propose new ones.
    if (result.limitsConflict && offerDiagnosis(ctx_, model_, this)) {
        repaintIngredients();
        repaintNutrients();
        repaintLimits();
    }
}

void frmoptimizacion::discardChanges() {
    loadFormula();
}

void frmoptimizacion::showComposition() {
    std::optional<reports::CompositionTable> table;
    QStringList headings;
    try {
        table = reports::buildComposition(model_, ctx_.db());
        if (!table)
            return;
        headings = reports::compositionHeadings(*table, ctx_.db());
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo obtener la composición de la Fórmula"), error);
        return;
    }
    frmResultados window(ctx_, *table, headings, this);
    execModal(ctx_, window);
}

void frmoptimizacion::showAnalysis() {
    frmAnalisis window(ctx_, model_.rsAnalisis, this, &model_);
    execModal(ctx_, window);
}

bool frmoptimizacion::save() {
    // A formula's batch quantity is one a run accepts: an emptied, negative or too large box is
    // never stored.
    const formulation::BatchQuantity batch = formulation::checkBatchQuantity(model_.batchQuantity);
    if (!batch.value) {
        ctx_.ui().message(batch.message, MsgIcon::Critical);
        batchQuantityBox_->setFocus();
        return false;
    }
    if (!saveFormula(ctx_, model_, this))
        return false;
    rememberSaved();
    formulation::LoadingFlag loading(model_);
    repaintAll();
    return true;
}

void frmoptimizacion::chooseIngredientBasis(int index) {
    formulation::chooseIngredientBasis(model_, index == 0);
    showOptions();
    showNutrientBasis();
}

void frmoptimizacion::chooseNutrientBasis(int index) {
    formulation::chooseNutrientBasis(model_, index == 0);
    showOptions();
    showNutrientBasis();
}

// Leaving the batch-quantity box: empty is 0, a number is kept rounded to 3 decimals.
void frmoptimizacion::takeBatchQuantity() {
    const std::optional<double> value = formulation::typedBatchQuantity(batchQuantityBox_->text());
    if (!value) {
        ctx_.desktop->message(QStringLiteral("Debe ingresar un valor Numérico"), MsgIcon::Critical);
        batchQuantityBox_->setFocus();
        return;
    }
    model_.batchQuantity = *value;
}

// Enter on a grid, and "." or "," typed into the batch-quantity box (the workstation's
// separator).
bool frmoptimizacion::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a grid acts on its current cell as a double click does.
    if ((watched == ingredientGrid_ || watched == nutrientGrid_ || watched == limitGrid_) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == ingredientGrid_)
                ingredientCellActivated(ingredientGrid_->currentRow(),
                                        ingredientGrid_->currentColumn());
            else if (watched == nutrientGrid_)
                nutrientCellActivated(nutrientGrid_->currentRow(), nutrientGrid_->currentColumn());
            else
                limitCellActivated(limitGrid_->currentRow(), limitGrid_->currentColumn());
            return true;
        }
    }
    if (watched == batchQuantityBox_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral(".") || key->text() == QStringLiteral(",")) {
            batchQuantityBox_->insert(QString(displaySeparator(ctx_)));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
