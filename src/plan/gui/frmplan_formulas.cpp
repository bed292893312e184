#include "plan/gui/frmplan_formulas.h"

#include "grid/grid_paint.h"
#include "grid/gui/grid_painter.h"
#include "plan/gui/plan_grid_controls.h"
#include "widgets/window_controls.h"

#include <QPushButton>
#include <QTableWidget>

namespace tarvela {

frmplan_formulas::frmplan_formulas(AppContext& ctx, QWidget* parent)
    : QDialog(parent), formulas_(plan::latestFormulas(ctx.db(), ctx.currentBase)) {
    setObjectName(QStringLiteral("frmplan_formulas"));
    setWindowTitle(QStringLiteral("Agregar Fórmulas"));
    setFixedSize(560, 380);
    flexFormulas_ = addPlanGrid(this, QStringLiteral("flexFormulas"), {8, 8, 544, 320});
    flexFormulas_->setSelectionMode(QAbstractItemView::MultiSelection);
    flexFormulas_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1100},
        {QStringLiteral("version"), QStringLiteral("Versión"), 800, true},
        {QStringLiteral("producto"), QStringLiteral("Producto"), grid::kRestWidth}};
    paintGrid(*flexFormulas_,
              grid::paintTable(columns, static_cast<int>(formulas_.size()), [&](int r, int c) {
                  const plan::PlanFormula& f = formulas_[static_cast<size_t>(r)];
                  return c == 0 ? f.codigo : c == 1 ? f.version : f.producto;
              }));
    QPushButton* accept =
        windowButton(this, QStringLiteral("cmdAceptar"), QStringLiteral("Aceptar"));
    accept->setGeometry(336, 338, 110, 32);
    QPushButton* close = closeButton(this);
    close->setGeometry(502, 338, 50, 32);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(flexFormulas_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
}

std::vector<int> frmplan_formulas::chosen() const {
    std::vector<int> ids;
    for (int r = 0; r < static_cast<int>(formulas_.size()); ++r)
        if (flexFormulas_->item(r, 0) && flexFormulas_->item(r, 0)->isSelected())
            ids.push_back(formulas_[static_cast<size_t>(r)].idFormula);
    return ids;
}

void frmplan_formulas::choose(int idFormula) {
    for (int r = 0; r < static_cast<int>(formulas_.size()); ++r)
        if (formulas_[static_cast<size_t>(r)].idFormula == idFormula)
            flexFormulas_->selectRow(r);
}

} // namespace tarvela
