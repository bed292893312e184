// Showing the working model: header, options, totals boxes and the two grids.
#include "formulation/gui/frmoptimizacion.h"

#include "formulation/grid_cells.h"
#include "grid/gui/grid_painter.h"
#include "grid/twips.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

namespace tarvela {

namespace {

void paintBox(QLineEdit& box, bool outOfRange) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, outOfRange ? QColor(255, 0, 0) : QColor(255, 255, 255));
    palette.setColor(QPalette::Text, outOfRange ? QColor(255, 255, 255) : QColor(0, 0, 0));
    box.setPalette(palette);
}

} // namespace

void frmoptimizacion::showHeader() {
    const auto& header = model_.header;
    txtCodFormula_->setText(header.codigo);
    txtVerFormula_->setText(header.version);
    txtFormula_->setText(header.producto);
    txtFecCFormula_->setText(header.fechaCreacion);
    txtFecMFormula_->setText(header.fechaModificacion);
    txtCantidad_->setText(model_.txtCantidad);
}

void frmoptimizacion::showOptions() {
    option1_[model_.vSecaIng ? 0 : 1]->setChecked(true);
    option2_[model_.vSecaNut ? 0 : 1]->setChecked(true);
}

void frmoptimizacion::actuBaseNut() {
    SSTab1_->setTabText(1, model_.vSecaNut ? QStringLiteral("Base Seca")
                                           : QStringLiteral("Base Húmeda"));
}

void frmoptimizacion::showTotals() {
    const auto& texts = model_.totalsTexts;
    const QString* values[6] = {&texts.txtMatSeca, &texts.txtCanS, &texts.txtPorS,
                                &texts.txtCanH,    &texts.txtPorH, &texts.txtCosTot};
    for (int i = 0; i < 6; ++i)
        totalBoxes_[i].box->setText(*values[i]);
    txtCosH_->setText(texts.txtCosH);
    txtCosS_->setText(texts.txtCosS);
    paintBox(*totalBoxes_[2].box, texts.porSOutOfRange);
    paintBox(*totalBoxes_[4].box, texts.porHOutOfRange);
    txtCantidad_->setText(model_.txtCantidad);
}

void frmoptimizacion::actu_FlexProd() {
    paintGrid(*flexProd_, formulation::paintFlexProd(model_, displaySeparator(ctx_)));
    placeTotalsBoxes();
}

void frmoptimizacion::actu_FlexProp() {
    paintGrid(*flexProp_,
              formulation::paintFlexProp(model_, displaySeparator(ctx_), model_.loading));
}

// Each totals box sits under its grid column (one twip-equivalent pixel to the left), its label
// above it with the same left and width.
void frmoptimizacion::placeTotalsBoxes() {
    const int top = flexProd_->geometry().bottom() + 22;
    for (TotalBox& total : totalBoxes_) {
        const ColumnSpan span = columnSpan(*flexProd_, total.column);
        const int left = span.left - grid::twipsToPixels(20);
        total.box->setGeometry(left, top, span.width, 22);
        total.label->setGeometry(left, top - 16, span.width, 16);
    }
}

void frmoptimizacion::repaintAll() {
    showHeader();
    showOptions();
    actuBaseNut();
    showTotals();
    actu_FlexProd();
    actu_FlexProp();
}

} // namespace tarvela
