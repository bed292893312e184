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
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>
#include <iterator>

namespace tarvela {

namespace {

// The width a box needs to show its whole text: the text, the box's frame and the two pixels
// it keeps free on each side, and one pixel of air.
int boxWidthFor(const QLineEdit& box) {
    QStyleOptionFrame option;
    option.initFrom(&box);
    const int frame =
        box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    return box.fontMetrics().horizontalAdvance(box.text()) + 2 * frame + 2 * 2 + 1;
}

void paintBox(QLineEdit& box, bool outOfRange) {
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, outOfRange ? QColor(255, 0, 0) : QColor(255, 255, 255));
    palette.setColor(QPalette::Text, outOfRange ? QColor(255, 255, 255) : QColor(0, 0, 0));
    box.setPalette(palette);
}

} // namespace

void frmoptimizacion::showHeader() {
    const auto& header = model_.header;
    codeBox_->setText(header.codigo);
    versionBox_->setText(header.version);
    productBox_->setText(header.producto);
    createdBox_->setText(header.fechaCreacion);
    modifiedBox_->setText(header.fechaModificacion);
    batchQuantityBox_->setText(model_.txtCantidad);
}

void frmoptimizacion::showOptions() {
    ingredientBasisOptions_[model_.vSecaIng ? 0 : 1]->setChecked(true);
    nutrientBasisOptions_[model_.vSecaNut ? 0 : 1]->setChecked(true);
}

void frmoptimizacion::showNutrientBasis() {
    nutrientTabs_->setTabText(1, model_.vSecaNut ? QStringLiteral("Base Seca")
                                                 : QStringLiteral("Base Húmeda"));
}

void frmoptimizacion::showTotals() {
    const auto& texts = model_.totalsTexts;
    const QString* values[6] = {&texts.txtMatSeca, &texts.txtCanS, &texts.txtPorS,
                                &texts.txtCanH,    &texts.txtPorH, &texts.txtCosTot};
    for (int i = 0; i < 6; ++i)
        totalBoxes_[i].box->setText(*values[i]);
    unitCostAsFedBox_->setText(texts.txtCosH);
    unitCostDryBox_->setText(texts.txtCosS);
    paintBox(*totalBoxes_[2].box, texts.porSOutOfRange);
    paintBox(*totalBoxes_[4].box, texts.porHOutOfRange);
    batchQuantityBox_->setText(model_.txtCantidad);
}

void frmoptimizacion::repaintIngredients() {
    grid::GridPaint paint = formulation::paintFlexProd(model_, displaySeparator(ctx_));
    // A totals box is as wide as the column above it: a column too narrow for its box's value
    // is widened just enough.
    for (const TotalBox& total : totalBoxes_) {
        int& twips = paint.columns.at(static_cast<size_t>(total.column)).widthTwips;
        twips = std::max(twips, grid::pixelsToTwips(boxWidthFor(*total.box)));
    }
    paintGrid(*ingredientGrid_, paint);
    placeTotalsBoxes();
}

void frmoptimizacion::repaintNutrients() {
    paintGrid(*nutrientGrid_,
              formulation::paintFlexProp(model_, displaySeparator(ctx_), model_.loading));
}

// Each totals box sits under its grid column (one twip-equivalent pixel to the left), its label
// above it with the same left and width. A caption that would run into the next one moves left
// into the free room beside it, up to the previous caption, and its label widens to show it.
void frmoptimizacion::placeTotalsBoxes() {
    constexpr int kGap = 4;
    const int top = ingredientGrid_->geometry().bottom() + 22;
    for (TotalBox& total : totalBoxes_) {
        const ColumnSpan span = columnSpan(*ingredientGrid_, total.column);
        total.box->setGeometry(span.left - grid::twipsToPixels(20), top, span.width, 22);
    }
    int previousTextEnd = unitCostDryBox_->geometry().right() + 1;
    const int count = static_cast<int>(std::size(totalBoxes_));
    for (int i = 0; i < count; ++i) {
        QLabel& label = *totalBoxes_[i].label;
        const QRect box = totalBoxes_[i].box->geometry();
        const int needed = label.fontMetrics().horizontalAdvance(label.text());
        const int rightLimit =
            i + 1 < count ? totalBoxes_[i + 1].box->x() - kGap : ingredientPanel_->width() - kGap;
        int left = box.left();
        if (left + needed > rightLimit)
            left = std::max(previousTextEnd + kGap, rightLimit - needed);
        const int right = std::max(box.left() + box.width(), left + needed);
        label.setGeometry(left, top - 16, right - left, 16);
        previousTextEnd = left + needed;
    }
}

void frmoptimizacion::repaintAll() {
    showHeader();
    showOptions();
    showNutrientBasis();
    showTotals();
    repaintIngredients();
    repaintNutrients();
    repaintLimits();
}

} // namespace tarvela
