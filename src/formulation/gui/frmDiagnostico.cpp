#include "formulation/gui/frmDiagnostico.h"

#include "formulation/diagnosis_grids.h"
#include "grid/gui/grid_painter.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

namespace tarvela {

namespace {

QTableWidget* addGrid(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setGeometry(geometry);
    setupReadOnlyGrid(*grid);
    return grid;
}

} // namespace

frmDiagnostico::frmDiagnostico(AppContext& ctx, const formulation::FormulaDiagnosis& diagnosis,
                               QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmDiagnostico"));
    setWindowTitle(QStringLiteral("Restricciones en Conflicto"));
    setFixedSize(640, 470);
    const QChar sep = displaySeparator(ctx_);

    auto* conflict =
        new QGroupBox(QStringLiteral("Restricciones que no pueden cumplirse juntas"), this);
    conflict->setObjectName(QStringLiteral("Frame1"));
    conflict->setGeometry(8, 8, 624, 200);
    flexConflicto_ = addGrid(conflict, QStringLiteral("flexConflicto"), {8, 20, 608, 130});
    paintGrid(*flexConflicto_, formulation::conflictGrid(diagnosis, sep));
    auto* note = new QLabel(QStringLiteral("Valor Necesario: el que debe tomar esa sola "
                                           "restricción, sin cambiar las demás, para resolver "
                                           "su conflicto. ") +
                                formulation::kNotEnoughAlone +
                                QStringLiteral(": no basta con cambiarla sola."),
                            conflict);
    note->setObjectName(QStringLiteral("lblNota"));
    note->setWordWrap(true);
    note->setGeometry(8, 154, 608, 40);

    auto* proposal = new QGroupBox(QStringLiteral("Menor cambio que permite formular"), this);
    proposal->setObjectName(QStringLiteral("Frame2"));
    proposal->setGeometry(8, 214, 624, 208);
    flexPropuesta_ = addGrid(proposal, QStringLiteral("flexPropuesta"), {8, 20, 608, 130});
    paintGrid(*flexPropuesta_, formulation::relaxationGrid(diagnosis, sep));
    const bool found = diagnosis.costoUnitario.has_value();
    auto* costLabel = new QLabel(QStringLiteral("Costo U.Húmeda"), proposal);
    costLabel->setGeometry(8, 158, 110, 22);
    auto* cost = new QLineEdit(formulation::proposalCostText(diagnosis, sep), proposal);
    cost->setObjectName(QStringLiteral("txtCosH"));
    cost->setGeometry(120, 158, 100, 22);
    cost->setReadOnly(true);
    cost->setAlignment(Qt::AlignRight);
    auto* hint = new QLabel(found ? QStringLiteral("Aplicar escribe estos valores en la fórmula, "
                                                   "sin grabarla; luego formule nuevamente.")
                                  : QStringLiteral("No se encontró un cambio que permita formular"),
                            proposal);
    hint->setObjectName(QStringLiteral("lblAplicar"));
    hint->setWordWrap(true);
    hint->setGeometry(8, 182, 608, 22);

    auto* apply = new QPushButton(QStringLiteral("Aplicar"), this);
    apply->setObjectName(QStringLiteral("cmdAplicar"));
    apply->setGeometry(476, 430, 100, 32);
    apply->setEnabled(found);
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &QDialog::accept);

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    close->setGeometry(582, 430, 50, 32);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool offerDiagnosis(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent) {
    if (!ctx.ui().question(QStringLiteral("¿Desea ver qué restricciones no pueden cumplirse "
                                          "juntas y el menor cambio que permite formular?")))
        return false;
    return showDiagnosis(ctx, model, parent);
}

bool showDiagnosis(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent) {
    formulation::FormulaDiagnosis diagnosis;
    try {
        BusyPointer busy(ctx.ui());
        diagnosis = formulation::diagnoseFormula(model, ctx.db());
    } catch (const db::DbError& error) {
        showError(ctx, QStringLiteral("No se pudo completar el diagnóstico de la Fórmula"), error,
                  parent);
        return false;
    }
    if (diagnosis.limitsMet) {
        ctx.ui().message(QStringLiteral("No se encontraron restricciones en conflicto"),
                         MsgIcon::Information);
        return false;
    }
    frmDiagnostico window(ctx, diagnosis, parent);
    if (execModal(ctx, window) != QDialog::Accepted)
        return false;
    formulation::applyRelaxation(model, diagnosis);
    return true;
}

} // namespace tarvela
