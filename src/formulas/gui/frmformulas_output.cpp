// The formula list's outputs: the printout of the last search, and the marks and side-by-side
// comparison of formula versions.
#include "formulas/gui/frmformulas.h"

#include "formulas/comparison.h"
#include "formulas/formula_list_grid.h"
#include "grid/twips.h"
#include "reports/gui/generated_document.h"
#include "reports/gui/list_preview.h"
#include "widgets/errores.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>

namespace tarvela {

namespace {

// An empty and a checked box.
const QString kUnmarked = QStringLiteral("\u2610");
const QString kMarked = QStringLiteral("\u2611");

} // namespace

void frmformulas::print() {
    if (!printButton_->isEnabled() || grid_->rowCount() == 0)
        return;
    printFormulaList(ctx_, lastSearchSql_, this);
}

void frmformulas::showMarks() {
    if (!compareCheck_->isChecked()) {
        // The list is rebuilt without the marks.
        if (!compareButton_->isHidden())
            search();
        return;
    }
    grid_->setUpdatesEnabled(false);
    grid_->setColumnCount(formulas::kColMarca + 1);
    grid_->setHorizontalHeaderItem(formulas::kColMarca, new QTableWidgetItem(QString()));
    grid_->setColumnHidden(formulas::kColMarca, false);
    grid_->setColumnWidth(formulas::kColMarca, grid::twipsToPixels(500));
    grid_->setColumnWidth(formulas::kColCliente, grid::twipsToPixels(1000));
    for (int r = 0; r < grid_->rowCount(); ++r) {
        auto* mark = new QTableWidgetItem(kUnmarked);
        mark->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        mark->setTextAlignment(Qt::AlignCenter);
        QFont font = mark->font();
        font.setPointSize(13);
        mark->setFont(font);
        grid_->setItem(r, formulas::kColMarca, mark);
    }
    grid_->setUpdatesEnabled(true);
    compareButton_->show();
}

void frmformulas::toggleMark(int row, int column) {
    if (column != formulas::kColMarca || row < 0 || !grid_->item(row, column))
        return;
    setMarked(row, cellText(row, column) != kMarked);
}

// A marked line takes the grid's selection colours; an unmarked one its normal colours.
void frmformulas::setMarked(int row, bool marked) {
    const QPalette& palette = grid_->palette();
    const QBrush background = marked ? palette.highlight() : palette.base();
    const QBrush foreground = marked ? palette.highlightedText() : palette.text();
    grid_->item(row, formulas::kColMarca)->setText(marked ? kMarked : kUnmarked);
    for (int c = 0; c < grid_->columnCount(); ++c) {
        if (QTableWidgetItem* item = grid_->item(row, c)) {
            item->setBackground(background);
            item->setForeground(foreground);
        }
    }
}

void frmformulas::compare() {
    std::vector<formulas::ListedFormula> marked;
    for (int r = 0; r < grid_->rowCount(); ++r) {
        if (cellText(r, formulas::kColMarca) != kMarked)
            continue;
        marked.push_back({cellText(r, formulas::kColId).toInt(),
                          cellText(r, formulas::kColCodigo).trimmed(),
                          cellText(r, formulas::kColProducto), cellText(r, formulas::kColVersion),
                          cellText(r, formulas::kColModificacion)});
    }
    reports::WrittenFile file;
    {
        BusyPointer busy(ctx_.ui());
        formulas::Comparison comparison;
        try {
            comparison = formulas::buildComparison(ctx_.db(), marked);
        } catch (const db::DbError& error) {
            busy.release();
            showError(ctx_, QStringLiteral("No es posible comparar las Fórmulas"), error, this);
            return;
        }
        file = reports::saveNewWorkbook(formulas::comparisonSheet(comparison),
                                        ctx_.ui().temporaryFolder(),
                                        QStringLiteral("Comparación de fórmulas"));
    }
    deliverDocument(ctx_, file, this);
}

} // namespace tarvela
