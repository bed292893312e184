#include "plan/gui/frmplan_diagnostico.h"

#include "grid/gui/grid_painter.h"
#include "plan/gui/plan_grid_controls.h"
#include "plan/plan_grids.h"
#include "widgets/window_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace tarvela {

frmplan_diagnostico::frmplan_diagnostico(AppContext& ctx, const plan::PlanDiagnosis& diagnosis,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmplan_diagnostico"));
    setWindowTitle(QStringLiteral("Restricciones en Conflicto"));
    setFixedSize(640, 470);
    const QChar sep = displaySeparator(ctx);

    auto* conflict =
        new QGroupBox(QStringLiteral("Restricciones que no pueden cumplirse juntas"), this);
    conflict->setObjectName(QStringLiteral("Frame1"));
    conflict->setGeometry(8, 8, 624, 200);
    flexConflicto_ = addPlanGrid(conflict, QStringLiteral("flexConflicto"), {8, 20, 608, 150});
    paintGrid(*flexConflicto_, plan::planConflictGrid(diagnosis, sep));
    auto* note = new QLabel(QStringLiteral("Valor Necesario: la existencia que necesita el plan."),
                            conflict);
    note->setObjectName(QStringLiteral("lblNota"));
    note->setGeometry(8, 174, 608, 20);

    auto* proposal =
        new QGroupBox(QStringLiteral("Menor cambio que permite elaborar el plan"), this);
    proposal->setObjectName(QStringLiteral("Frame2"));
    proposal->setGeometry(8, 214, 624, 208);
    flexPropuesta_ = addPlanGrid(proposal, QStringLiteral("flexPropuesta"), {8, 20, 608, 130});
    paintGrid(*flexPropuesta_, plan::planRelaxationGrid(diagnosis, sep));
    const bool stocks = !diagnosis.relaxation.empty() && diagnosis.relaxation.front().existencia;
    auto* costLabel = new QLabel(
        stocks ? QStringLiteral("Costo del plan") : QStringLiteral("Costo U.Húmeda"), proposal);
    costLabel->setGeometry(8, 158, 110, 22);
    auto* cost = new QLineEdit(plan::moneyText(diagnosis.costo, sep), proposal);
    cost->setObjectName(QStringLiteral("txtCosto"));
    cost->setGeometry(120, 158, 140, 22);
    cost->setReadOnly(true);
    cost->setAlignment(Qt::AlignRight);
    if (diagnosis.relaxation.empty()) {
        auto* none = new QLabel(
            QStringLiteral("No se encontró un cambio que permita elaborar el plan"), proposal);
        none->setObjectName(QStringLiteral("lblSinCambio"));
        none->setGeometry(8, 182, 608, 22);
    }

    QPushButton* close = closeButton(this);
    close->setGeometry(582, 430, 50, 32);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace tarvela
