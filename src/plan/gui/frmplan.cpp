#include "plan/gui/frmplan.h"

#include "catalogs/gui/frmHistorial.h"
#include "grid/gui/grid_painter.h"
#include "plan/gui/frmplan_diagnostico.h"
#include "plan/gui/frmplan_formulas.h"
#include "plan/gui/frmplan_resultados.h"
#include "plan/gui/plan_grid_controls.h"
#include "plan/plan_changes.h"
#include "plan/plan_grids.h"
#include "plan/plan_run.h"
#include "text/format.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>

namespace tarvela {

namespace {

constexpr int kCantidadColumn = 3;
constexpr int kExistenciaColumn = 1;

QTableWidget* addGrid(QWidget* parent, const QString& name, const QRect& geometry) {
    QTableWidget* grid = addPlanGrid(parent, name, geometry);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    return grid;
}

// Only the given column's cells may be typed into.
void editableColumn(QTableWidget& grid, int column) {
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < grid.columnCount(); ++c)
            if (QTableWidgetItem* item = grid.item(r, c)) {
                const Qt::ItemFlags flags = item->flags();
                item->setFlags(c == column ? flags | Qt::ItemIsEditable
                                           : flags & ~Qt::ItemIsEditable);
            }
}

} // namespace

frmplan::frmplan(AppContext& ctx, int idPlan, QWidget* parent)
    : EditingWindow(ctx, parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmplan"));
    setWindowTitle(QStringLiteral("Plan de Producción"));
    buildControls();
    plan_.idBase = ctx_.currentBase;
    plan_.fecha = QDate::currentDate();
    if (idPlan > 0) {
        try {
            if (std::optional<plan::Plan> stored = plan::loadPlan(ctx_.db(), idPlan))
                plan_ = std::move(*stored);
            else
                ctx_.ui().message(QStringLiteral("No se pudo establecer el Plan"),
                                  MsgIcon::Critical);
        } catch (const db::DbError& error) {
            showError(ctx_, QStringLiteral("No se pudo establecer el Plan"), error, this);
        }
    }
    txtNombre_->setText(plan_.nombre);
    savedPlan_ = plan_;
    showPlan();
}

bool frmplan::hasUnsavedChanges() const {
    plan::Plan shown = plan_;
    shown.nombre = txtNombre_->text();
    return plan::differsFromSaved(shown, savedPlan_);
}

void frmplan::buildControls() {
    setFixedSize(760, 620);
    auto* nombre = new QLabel(QStringLiteral("Nombre"), this);
    nombre->setGeometry(12, 12, 60, 22);
    txtNombre_ = new QLineEdit(this);
    txtNombre_->setObjectName(QStringLiteral("txtNombre"));
    txtNombre_->setGeometry(76, 12, 400, 22);
    txtNombre_->setMaxLength(100);
    auto* fecha = new QLabel(QStringLiteral("Fecha"), this);
    fecha->setGeometry(500, 12, 50, 22);
    txtFecha_ = new QLineEdit(this);
    txtFecha_->setObjectName(QStringLiteral("txtFecha"));
    txtFecha_->setGeometry(552, 12, 100, 22);
    txtFecha_->setReadOnly(true);

    auto* formulas = new QGroupBox(QStringLiteral("Fórmulas"), this);
    formulas->setGeometry(8, 44, 744, 240);
    flexFormulas_ = addGrid(formulas, QStringLiteral("flexFormulas"), {8, 20, 620, 210});
    cmdAgregar_ = windowButton(formulas, QStringLiteral("cmdAgregar"), QStringLiteral("Agregar"));
    cmdAgregar_->setGeometry(636, 20, 100, 30);
    cmdQuitar_ = windowButton(formulas, QStringLiteral("cmdQuitar"), QStringLiteral("Quitar"));
    cmdQuitar_->setGeometry(636, 56, 100, 30);

    auto* stocks = new QGroupBox(QStringLiteral("Existencias (en blanco: sin límite)"), this);
    stocks->setGeometry(8, 290, 744, 270);
    flexExistencias_ = addGrid(stocks, QStringLiteral("flexExistencias"), {8, 20, 620, 240});

    cmdGrabar_ = windowButton(this, QStringLiteral("cmdGrabar"), QStringLiteral("Grabar"));
    cmdGrabar_->setGeometry(8, 574, 110, 34);
    cmdCalcular_ = windowButton(this, QStringLiteral("cmdCalcular"), QStringLiteral("Calcular"));
    cmdCalcular_->setGeometry(126, 574, 110, 34);
    QPushButton* close = closeButton(this);
    close->setGeometry(700, 574, 50, 34);
    // The plan's record of changes; a plan not saved yet has none.
    auto* history =
        windowButton(this, QStringLiteral("cmdHistorial"), QStringLiteral("Historial de cambios"));
    history->setGeometry(244, 574, 160, 34);
    connect(history, &QPushButton::clicked, this, [this] {
        showChangeHistory(ctx_, plan_.nombre, QStringLiteral("planes"), plan_.idPlan, this);
    });

    connect(cmdAgregar_, &QPushButton::clicked, this, &frmplan::cmdAgregar_Click);
    connect(cmdQuitar_, &QPushButton::clicked, this, &frmplan::cmdQuitar_Click);
    connect(cmdGrabar_, &QPushButton::clicked, this, &frmplan::cmdGrabar_Click);
    connect(cmdCalcular_, &QPushButton::clicked, this, &frmplan::cmdCalcular_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(flexFormulas_, &QTableWidget::itemChanged, this, &frmplan::cellEdited);
    connect(flexExistencias_, &QTableWidget::itemChanged, this, &frmplan::cellEdited);
}

void frmplan::showPlan() {
    painting_ = true;
    const QChar sep = displaySeparator(ctx_);
    txtFecha_->setText(plan_.fecha.isValid() ? plan_.fecha.toString(QStringLiteral("dd/MM/yyyy"))
                                             : QString());
    paintGrid(*flexFormulas_, plan::planFormulasGrid(plan_, sep));
    editableColumn(*flexFormulas_, kCantidadColumn);
    paintGrid(*flexExistencias_, plan::planStocksGrid(plan_, sep));
    editableColumn(*flexExistencias_, kExistenciaColumn);
    painting_ = false;
}

void frmplan::cellEdited(QTableWidgetItem* item) {
    if (painting_ || !item)
        return;
    const auto row = static_cast<size_t>(item->row());
    const QChar sep = displaySeparator(ctx_);
    const QString typed = item->text().trimmed();
    const std::optional<double> value = text::parseUserNumber(typed);
    QString problem;
    QString shown;
    if (item->tableWidget() == flexFormulas_ && item->column() == kCantidadColumn &&
        row < plan_.formulas.size()) {
        plan::PlanFormula& f = plan_.formulas[row];
        if (!value || !std::isfinite(*value) || !(*value > 0))
            problem = QStringLiteral("La cantidad a elaborar debe ser un número mayor que cero");
        else
            f.cantidad = *value;
        shown = text::formatNumber(f.cantidad, QStringLiteral("0.00"), sep);
    } else if (item->tableWidget() == flexExistencias_ && item->column() == kExistenciaColumn &&
               row < plan_.existencias.size()) {
        plan::PlanStock& s = plan_.existencias[row];
        if (typed.isEmpty())
            s.existencia.reset();
        else if (!value || !std::isfinite(*value) || *value < 0)
            problem = QStringLiteral("La existencia debe ser un número no negativo (en blanco: "
                                     "sin límite)");
        else
            s.existencia = *value;
        shown = s.existencia ? text::formatNumber(*s.existencia, QStringLiteral("0.00"), sep)
                             : QString();
    } else {
        return;
    }
    // The cell shows the plan's value: the one typed, formatted, or the one it keeps.
    painting_ = true;
    item->setText(shown);
    painting_ = false;
    if (!problem.isEmpty())
        ctx_.ui().message(problem, MsgIcon::Critical);
}

void frmplan::cmdAgregar_Click() {
    std::vector<int> chosen;
    try {
        frmplan_formulas picker(ctx_, this);
        if (execModal(ctx_, picker) != QDialog::Accepted)
            return;
        chosen = picker.chosen();
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible obtener las fórmulas"), error, this);
        return;
    }
    addFormulas(chosen);
}

void frmplan::addFormulas(const std::vector<int>& idFormulas) {
    try {
        for (int id : idFormulas) {
            const bool present =
                std::any_of(plan_.formulas.begin(), plan_.formulas.end(),
                            [id](const plan::PlanFormula& f) { return f.idFormula == id; });
            std::optional<plan::PlanFormula> f = plan::readPlanFormula(ctx_.db(), id);
            if (!f)
                continue;
            if (present) {
                ctx_.ui().message(QStringLiteral("La fórmula <") + f->codigo +
                                      QStringLiteral("> ya está en el plan: cada fórmula entra "
                                                     "una sola vez"),
                                  MsgIcon::Critical);
                continue;
            }
            plan_.formulas.push_back(std::move(*f));
        }
        plan::refreshStockRows(ctx_.db(), plan_);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible obtener las fórmulas"), error, this);
    }
    showPlan();
}

void frmplan::cmdQuitar_Click() {
    const int row = flexFormulas_->currentRow();
    if (row < 0 || row >= static_cast<int>(plan_.formulas.size()))
        return;
    plan_.formulas.erase(plan_.formulas.begin() + row);
    try {
        plan::refreshStockRows(ctx_.db(), plan_);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible obtener las existencias"), error, this);
    }
    showPlan();
}

bool frmplan::cmdGrabar_Click() {
    plan_.nombre = txtNombre_->text().trimmed();
    if (plan_.nombre.isEmpty()) {
        ctx_.ui().message(QStringLiteral("Debe ingresar un nombre para el plan"),
                          MsgIcon::Critical);
        txtNombre_->setFocus();
        return false;
    }
    const QString problem = plan::planProblem(plan_);
    if (!problem.isEmpty()) {
        ctx_.ui().message(problem, MsgIcon::Critical);
        return false;
    }
    try {
        BusyPointer busy(ctx_.ui());
        plan::savePlan(ctx_.db(), plan_);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible grabar el Plan"), error, this);
        return false;
    }
    savedPlan_ = plan_;
    return true;
}

void frmplan::cmdCalcular_Click() {
    plan_.nombre = txtNombre_->text().trimmed();
    plan::PlanOutcome outcome;
    try {
        BusyPointer busy(ctx_.ui());
        outcome = plan::runPlan(ctx_.db(), plan_, displaySeparator(ctx_));
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible calcular el Plan"), error, this);
        return;
    }
    switch (outcome.end) {
    case plan::PlanEnd::Found: {
        frmplan_resultados results(ctx_, plan_, outcome, this);
        execModal(ctx_, results);
        return;
    }
    case plan::PlanEnd::CannotBeMet:
        ctx_.ui().message(outcome.mensajes.join(QLatin1Char('\n')), MsgIcon::Warning,
                          QStringLiteral("Se ha detenido el Plan"));
        if (outcome.diagnosis) {
            frmplan_diagnostico diagnosis(ctx_, *outcome.diagnosis, this);
            execModal(ctx_, diagnosis);
        }
        return;
    case plan::PlanEnd::StoppedAtCheck:
    case plan::PlanEnd::EngineFailed:
        ctx_.ui().message(outcome.mensajes.join(QLatin1Char('\n')), MsgIcon::Critical,
                          QStringLiteral("Se ha cancelado el Plan"));
        return;
    }
}

} // namespace tarvela
