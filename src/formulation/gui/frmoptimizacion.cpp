// The formulation window's load and its handlers.
#include "formulation/gui/frmoptimizacion.h"

#include "db/statements.h"
#include "formulation/gui/frmDiagnostico.h"
#include "formulation/gui/save_formula.h"
#include "formulation/loading.h"
#include "formulation/run.h"
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

frmoptimizacion::frmoptimizacion(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    buildWindow();
    buildOverlays();
    setCaption();
    model_.formulaId = ctx_.currentFormulaId;
    actuFormula();
    SSTab1_->setCurrentIndex(0);
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

void frmoptimizacion::actuFormula() {
    const int requested = model_.formulaId;
    try {
        formulation::actuFormula(model_, ctx_.db(), *ctx_.desktop, displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo cargar la Fórmula"), error);
        return;
    }
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

void frmoptimizacion::showWorkingModel(const formulation::WorkingModel& model) {
    model_ = model;
    repaintAll();
}

void frmoptimizacion::actuResultados() {
    try {
        BusyPointer busy(ctx_.ui());
        formulation::actuResultados(model_, ctx_.db(), displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo obtener la composición de la Fórmula"), error);
    }
    showTotals();
    actu_FlexProd();
    actu_FlexProp();
    actu_FlexRel();
}

void frmoptimizacion::cmdFormular_Click() {
    model_.txtCantidad = txtCantidad_->text();
    formulation::RunResult result;
    try {
        BusyPointer busy(ctx_.ui());
        result =
            formulation::formulate(model_, txtCantidad_->text(), ctx_.db(), displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo completar la Formulación"), error);
        return;
    }
    // The window shows what the run left, then what it had to say.
    showTotals();
    if (result.end == formulation::RunEnd::WrittenBack) {
        actu_FlexProd();
        actu_FlexProp();
        actu_FlexRel();
    }
    formulation::showRunMessages(
        result.messages, ctx_.ui(),
        [this](const formulation::AportesReport& report) {
            ctx_.currentPropertyName = report.propertyName;
            frmAportes aportes(ctx_, report, this);
            execModal(ctx_, aportes);
        },
        [this](formulation::RunFocus focus) {
            if (focus == formulation::RunFocus::Quantity)
                txtCantidad_->setFocus();
        });
    // Limits that cannot all be met: the diagnosis may propose new ones.
    if (result.limitsConflict && offerDiagnosis(ctx_, model_, this)) {
        actu_FlexProd();
        actu_FlexProp();
        actu_FlexRel();
    }
}

void frmoptimizacion::cmdCancel_Click() {
    actuFormula();
}

void frmoptimizacion::cmdClose_Click() {
    close();
}

void frmoptimizacion::cmdComposicion_Click() {
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

void frmoptimizacion::Command1_Click() {
    frmAnalisis window(ctx_, model_.rsAnalisis, this, &model_);
    execModal(ctx_, window);
}

void frmoptimizacion::cmdUpdate_Click() {
    // A formula's batch quantity is above 0: an emptied or negative box is never stored.
    if (!(model_.batchQuantity > 0)) {
        ctx_.ui().message(QStringLiteral("La cantidad a elaborar debe ser mayor que cero"),
                          MsgIcon::Critical);
        txtCantidad_->setFocus();
        return;
    }
    if (saveFormula(ctx_, model_, this)) {
        formulation::LoadingFlag loading(model_);
        repaintAll();
    }
}

void frmoptimizacion::Option1_Click(int index) {
    formulation::chooseIngredientBasis(model_, index == 0);
    showOptions();
    actuBaseNut();
}

void frmoptimizacion::Option2_Click(int index) {
    formulation::chooseNutrientBasis(model_, index == 0);
    showOptions();
    actuBaseNut();
}

// Leaving the batch-quantity box: empty is 0, a number is kept rounded to 3 decimals.
void frmoptimizacion::txt_Cantidad_Validate() {
    const QString text = txtCantidad_->text().trimmed();
    if (text.isEmpty()) {
        model_.batchQuantity = 0;
        return;
    }
    const std::optional<double> value = text::parseUserNumber(text);
    if (!value) {
        ctx_.desktop->message(QStringLiteral("Debe ingresar un valor Numérico"), MsgIcon::Critical);
        txtCantidad_->setFocus();
        return;
    }
    model_.batchQuantity = text::roundDecimal(*value, 3);
}

// Enter on a grid, and "." or "," typed into the batch-quantity box (the workstation's
// separator).
bool frmoptimizacion::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a grid acts on its current cell as a double click does.
    if ((watched == flexProd_ || watched == flexProp_ || watched == flexRel_) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == flexProd_)
                flexProd_DblClick(flexProd_->currentRow(), flexProd_->currentColumn());
            else if (watched == flexProp_)
                flexProp_DblClick(flexProp_->currentRow(), flexProp_->currentColumn());
            else
                flexRel_DblClick(flexRel_->currentRow(), flexRel_->currentColumn());
            return true;
        }
    }
    if (watched == txtCantidad_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral(".") || key->text() == QStringLiteral(",")) {
            txtCantidad_->insert(QString(displaySeparator(ctx_)));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
