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

QString cellText(const QTableWidget& grid, int row, int column) {
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

} // namespace

void frmformulas::cmdPrint_Click() {
    if (!cmdPrint_->isEnabled() || flexgrid1_->rowCount() == 0)
        return;
    printFormulaList(ctx_, lastSearchSql_, this);
}

void frmformulas::chkComparar_Click() {
    if (!chkComparar_->isChecked()) {
        // The list is rebuilt without the marks.
        if (!cmdComparar_->isHidden())
            search();
        return;
    }
    flexgrid1_->setUpdatesEnabled(false);
    flexgrid1_->setColumnCount(formulas::kColMarca + 1);
    flexgrid1_->setHorizontalHeaderItem(formulas::kColMarca, new QTableWidgetItem(QString()));
    flexgrid1_->setColumnHidden(formulas::kColMarca, false);
    flexgrid1_->setColumnWidth(formulas::kColMarca, grid::twipsToPixels(500));
    flexgrid1_->setColumnWidth(formulas::kColCliente, grid::twipsToPixels(1000));
    for (int r = 0; r < flexgrid1_->rowCount(); ++r) {
        auto* mark = new QTableWidgetItem(kUnmarked);
        mark->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        mark->setTextAlignment(Qt::AlignCenter);
        QFont font = mark->font();
        font.setPointSize(13);
        mark->setFont(font);
        flexgrid1_->setItem(r, formulas::kColMarca, mark);
    }
    flexgrid1_->setUpdatesEnabled(true);
    cmdComparar_->show();
}

void frmformulas::flexgrid1_Click(int row, int column) {
    if (column != formulas::kColMarca || row < 0 || !flexgrid1_->item(row, column))
        return;
    setMarked(row, cellText(*flexgrid1_, row, column) != kMarked);
}

// A marked line takes the grid's selection colours; an unmarked one its normal colours.
void frmformulas::setMarked(int row, bool marked) {
    const QPalette& palette = flexgrid1_->palette();
    const QBrush background = marked ? palette.highlight() : palette.base();
    const QBrush foreground = marked ? palette.highlightedText() : palette.text();
    flexgrid1_->item(row, formulas::kColMarca)->setText(marked ? kMarked : kUnmarked);
    for (int c = 0; c < flexgrid1_->columnCount(); ++c) {
        if (QTableWidgetItem* item = flexgrid1_->item(row, c)) {
            item->setBackground(background);
            item->setForeground(foreground);
        }
    }
}

void frmformulas::cmdComparar_Click() {
    std::vector<formulas::ListedFormula> marked;
    for (int r = 0; r < flexgrid1_->rowCount(); ++r) {
        if (cellText(*flexgrid1_, r, formulas::kColMarca) != kMarked)
            continue;
        marked.push_back({cellText(*flexgrid1_, r, formulas::kColId).toInt(),
                          cellText(*flexgrid1_, r, formulas::kColCodigo).trimmed(),
                          cellText(*flexgrid1_, r, formulas::kColProducto),
                          cellText(*flexgrid1_, r, formulas::kColVersion),
                          cellText(*flexgrid1_, r, formulas::kColModificacion)});
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
