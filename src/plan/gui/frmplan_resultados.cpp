#include "plan/gui/frmplan_resultados.h"

#include "grid/gui/grid_painter.h"
#include "plan/gui/plan_grid_controls.h"
#include "plan/plan_grids.h"
#include "plan/plan_printout.h"
#include "plan/plan_versions.h"
#include "plan/plan_workbook.h"
#include "reports/gui/generated_document.h"
#include "reports/gui/list_preview.h"
#include "widgets/window_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace tarvela {

namespace {

QTableWidget* addGrid(QWidget* parent, const QString& name, const QRect& geometry) {
    QTableWidget* grid = addPlanGrid(parent, name, geometry);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    return grid;
}

QLineEdit* addTotal(QWidget* parent, const QString& name, const QString& caption, int x,
                    const QString& value) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, 20, 190, 18);
    auto* box = new QLineEdit(value, parent);
    box->setObjectName(name);
    box->setGeometry(x, 40, 190, 22);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

frmplan_resultados::frmplan_resultados(AppContext& ctx, const plan::Plan& plan,
                                       const plan::PlanOutcome& outcome, QWidget* parent)
    : QDialog(parent), ctx_(ctx), plan_(plan), outcome_(outcome) {
    setObjectName(QStringLiteral("frmplan_resultados"));
    setWindowTitle(QStringLiteral("Resultados del Plan ") + plan.nombre);
    setFixedSize(1000, 680);
    const QChar sep = displaySeparator(ctx_);

    auto* formulas = new QGroupBox(QStringLiteral("Fórmulas"), this);
    formulas->setGeometry(8, 8, 520, 300);
    flexFormulas_ = addGrid(formulas, QStringLiteral("flexFormulas"), {8, 20, 504, 272});
    paintGrid(*flexFormulas_, plan::formulasGrid(outcome_, sep));

    auto* mix = new QGroupBox(QStringLiteral("Mezcla en el plan y sola"), this);
    mix->setGeometry(536, 8, 456, 300);
    flexMezcla_ = addGrid(mix, QStringLiteral("flexMezcla"), {8, 20, 440, 272});

    auto* totals = new QGroupBox(QStringLiteral("Totales"), this);
    totals->setGeometry(8, 314, 984, 72);
    txtCostoPlan_ =
        addTotal(totals, QStringLiteral("txtCostoPlan"), QStringLiteral("Costo del plan"), 8,
                 plan::moneyText(outcome_.costoTotal, sep));
    txtCostoSolas_ = addTotal(totals, QStringLiteral("txtCostoSolas"),
                              QStringLiteral("Costo de las fórmulas solas"), 210,
                              plan::moneyText(outcome_.costoSeparado, sep));
    txtCostoEscasez_ =
        addTotal(totals, QStringLiteral("txtCostoEscasez"), QStringLiteral("Costo de la escasez"),
                 412, plan::moneyText(outcome_.costoEscasez(), sep));

    auto* stocks = new QGroupBox(QStringLiteral("Existencias"), this);
    stocks->setGeometry(8, 392, 984, 236);
    flexExistencias_ = addGrid(stocks, QStringLiteral("flexExistencias"), {8, 20, 968, 208});
    paintGrid(*flexExistencias_, plan::stocksGrid(outcome_, sep));

    cmdGrabarVersiones_ = windowButton(this, QStringLiteral("cmdGrabarVersiones"),
                                       QStringLiteral("Grabar versiones"));
    cmdGrabarVersiones_->setGeometry(8, 638, 140, 34);
    QPushButton* exportar =
        windowButton(this, QStringLiteral("cmdExportar"), QStringLiteral("Exportar"));
    exportar->setGeometry(156, 638, 110, 34);
    QPushButton* imprimir =
        windowButton(this, QStringLiteral("cmdImprimir"), QStringLiteral("Imprimir"));
    imprimir->setGeometry(274, 638, 110, 34);
    QPushButton* close = closeButton(this);
    close->setGeometry(942, 638, 50, 34);

    connect(flexFormulas_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showMix(row); });
    connect(cmdGrabarVersiones_, &QPushButton::clicked, this,
            &frmplan_resultados::cmdGrabarVersiones_Click);
    connect(exportar, &QPushButton::clicked, this, &frmplan_resultados::cmdExportar_Click);
    connect(imprimir, &QPushButton::clicked, this, &frmplan_resultados::cmdImprimir_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (!outcome_.formulas.empty())
        flexFormulas_->setCurrentCell(0, 0);
}

void frmplan_resultados::showMix(int formula) {
    if (formula < 0 || formula >= static_cast<int>(outcome_.formulas.size()))
        return;
    paintGrid(*flexMezcla_, plan::mixGrid(outcome_.formulas[static_cast<size_t>(formula)],
                                          displaySeparator(ctx_)));
}

void frmplan_resultados::cmdGrabarVersiones_Click() {
    if (saved_) {
        ctx_.ui().message(QStringLiteral("Las versiones del plan ya fueron grabadas"),
                          MsgIcon::Information);
        return;
    }
    if (!ctx_.ui().question(QStringLiteral("Desea grabar la mezcla del plan como una nueva "
                                           "versión de cada fórmula?")))
        return;
    plan::PlanVersionsSaved result;
    {
        BusyPointer busy(ctx_.ui());
        result = plan::savePlanVersions(ctx_.db(), outcome_, plan_.idBase, QDate::currentDate());
    }
    if (!result.saved) {
        ctx_.ui().message(result.motivo, MsgIcon::Critical);
        return;
    }
    saved_ = true;
    ctx_.ui().message(
        QStringLiteral("Se grabaron %1 versiones nuevas").arg(result.idFormulasNuevas.size()),
        MsgIcon::Information);
}

void frmplan_resultados::cmdExportar_Click() {
    reports::WrittenFile file;
    {
        BusyPointer busy(ctx_.ui());
        file =
            reports::saveNewWorkbook(plan::planSheets(plan_, outcome_), ctx_.ui().temporaryFolder(),
                                     QStringLiteral("Plan de Producción"));
    }
    deliverDocument(ctx_, file, this);
}

void frmplan_resultados::cmdImprimir_Click() {
    previewList(ctx_, plan::planSummaryLayout(plan_), plan::planSummaryRows(outcome_), this);
}

} // namespace tarvela
