// The frozen first columns of a grid and its scrolling columns show the same rows.
#include "grid/gui/frozen_columns.h"
#include "grid/gui/grid_painter.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

constexpr int kFrozen = 7;

// A read-only grid of `rows` rows and 7 + `nutrients` columns, column 0 hidden as a key.
void fill(QTableWidget& grid, int rows, int nutrients) {
    grid::GridPaint paint;
    paint.columns = {{"id", QString(), 0},       {"nombre", "Ingrediente", 2950},
                     {"cs", "Mat.Seca", 1000},   {"ps", QString(), 850},
                     {"ch", "Mat.Húmeda", 1000}, {"ph", QString(), 850},
                     {"sep", QString(), 80}};
    for (int n = 0; n < nutrients; ++n)
        paint.columns.push_back({QString::number(n), "Nutriente " + QString::number(n), 2000});
    paint.rows.push_back(grid::headingCells(paint.columns));
    for (int r = 0; r < rows; ++r) {
        std::vector<grid::CellPaint> cells(paint.columns.size());
        for (size_t c = 0; c < cells.size(); ++c)
            cells[c].text = QString::number(r);
        paint.rows.push_back(cells);
    }
    paintGrid(grid, paint);
}

// Every pixel line of the grid's rows: the frozen part and the scrolling part show the same row,
// and both show the last row whole when scrolled to the bottom.
void expectSameRows(QTableWidget& grid, QTableView& frozen, const char* where) {
    SCOPED_TRACE(where);
    QApplication::processEvents();
    ASSERT_TRUE(frozen.isVisible());
    QWidget* gridRows = grid.viewport();
    QWidget* frozenRows = frozen.viewport();
    EXPECT_EQ(frozenRows->mapToGlobal(QPoint(0, 0)).y(), gridRows->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_EQ(frozenRows->height(), gridRows->height());
    EXPECT_EQ(frozen.horizontalHeader()->height(), grid.horizontalHeader()->height());
    for (int y = 0; y < gridRows->height(); ++y) {
        const int frozenY = frozenRows->mapFromGlobal(gridRows->mapToGlobal(QPoint(0, y))).y();
        ASSERT_EQ(frozen.rowAt(frozenY), grid.rowAt(y)) << "at y " << y;
    }
    const int last = grid.rowCount() - 1;
    const QScrollBar* bar = grid.verticalScrollBar();
    if (bar->maximum() > 0 && bar->value() == bar->maximum()) {
        EXPECT_LE(frozen.visualRect(frozen.model()->index(last, 1)).bottom(), frozenRows->height());
        EXPECT_EQ(frozen.rowAt(frozenRows->height() - 1), last);
    }
}

TEST(FrozenColumns, BothPartsShowTheSameRowsAtEveryScrollPositionSizeAndRowCount) {
    QWidget window;
    window.resize(900, 480);
    auto* grid = new QTableWidget(&window);
    grid->setObjectName("FlexGrid1");
    grid->setGeometry(10, 10, 880, 414);
    setupReadOnlyGrid(*grid);
    FrozenColumns frozen(*grid, kFrozen);
    fill(*grid, 40, 17);
    frozen.update();
    window.show();
    QApplication::processEvents();

    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    expectSameRows(*grid, frozen.overlay(), "top");
    bar->setValue(bar->maximum());
    expectSameRows(*grid, frozen.overlay(), "bottom");
    bar->setValue(3);
    expectSameRows(*grid, frozen.overlay(), "row 3");
    // Scrolling over the frozen part moves the other part too.
    frozen.overlay().verticalScrollBar()->setValue(5);
    EXPECT_EQ(bar->value(), 5);

    // A smaller and a taller grid, each scrolled to the bottom.
    for (const QSize size : {QSize(600, 203), QSize(880, 300), QSize(700, 437)}) {
        grid->resize(size);
        QApplication::processEvents();
        bar->setValue(bar->maximum());
        expectSameRows(*grid, frozen.overlay(), "resized");
    }

    // Other row counts, repainted into the same grid.
    for (const int rows : {1, 12, 40}) {
        fill(*grid, rows, 3);
        frozen.update();
        bar->setValue(bar->maximum());
        expectSameRows(*grid, frozen.overlay(), "repainted");
    }

    // No more columns than the frozen ones: nothing is laid over the grid.
    fill(*grid, 5, 0);
    frozen.update();
    EXPECT_FALSE(frozen.overlay().isVisible());
}

} // namespace
} // namespace tarvela::test
