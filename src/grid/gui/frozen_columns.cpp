#include "grid/gui/frozen_columns.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

namespace tarvela {

FrozenColumns::FrozenColumns(QTableWidget& grid, int count)
    : QObject(&grid), grid_(grid), count_(count), overlay_(new QTableView(&grid)) {
    overlay_->setObjectName(grid.objectName() + QStringLiteral("_frozen"));
    overlay_->setModel(grid.model());
    overlay_->setSelectionModel(grid.selectionModel());
    overlay_->setFocusPolicy(Qt::NoFocus);
    overlay_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    overlay_->verticalHeader()->hide();
    overlay_->verticalHeader()->setDefaultSectionSize(grid.verticalHeader()->defaultSectionSize());
    overlay_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    overlay_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    overlay_->horizontalHeader()->setMinimumSectionSize(0);
    overlay_->horizontalHeader()->setStyleSheet(grid.horizontalHeader()->styleSheet());
    overlay_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay_->setFrameShape(QFrame::NoFrame);
    overlay_->setWordWrap(false);
    grid.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid.viewport()->stackUnder(overlay_);

    connect(grid.verticalScrollBar(), &QScrollBar::valueChanged, overlay_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(overlay_->verticalScrollBar(), &QScrollBar::valueChanged, grid.verticalScrollBar(),
            &QScrollBar::setValue);
    overlay_->hide();
}

void FrozenColumns::update() {
    const int columns = grid_.columnCount();
    if (columns <= count_) {
        overlay_->hide();
        return;
    }
    int width = 0;
    for (int c = 0; c < columns; ++c) {
        const bool frozen = c < count_;
        overlay_->setColumnHidden(c, !frozen || grid_.isColumnHidden(c));
        if (frozen && !grid_.isColumnHidden(c)) {
            overlay_->setColumnWidth(c, grid_.columnWidth(c));
            width += grid_.columnWidth(c);
        }
    }
    const int frame = grid_.frameWidth();
    overlay_->setGeometry(frame, frame, width,
                          grid_.viewport()->height() + grid_.horizontalHeader()->height());
    overlay_->show();
}

} // namespace tarvela
