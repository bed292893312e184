#include "grid/gui/frozen_columns.h"

#include <QEvent>
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
    overlay_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    overlay_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    overlay_->horizontalHeader()->setMinimumSectionSize(0);
    overlay_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay_->setFrameShape(QFrame::NoFrame);
    overlay_->setWordWrap(false);
    overlay_->setTextElideMode(grid.textElideMode());
    grid.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid.viewport()->stackUnder(overlay_);

    // The grid leads: the overlay shows the grid's first row whenever the grid scrolls or its
    // range changes. Scrolling over the overlay moves the grid only while both have the same
    // range, so a range not yet followed never drags the grid to another row.
    QScrollBar* gridBar = grid.verticalScrollBar();
    QScrollBar* overlayBar = overlay_->verticalScrollBar();
    connect(gridBar, &QScrollBar::valueChanged, this, &FrozenColumns::followGridScroll);
    connect(gridBar, &QScrollBar::rangeChanged, this, &FrozenColumns::followGridScroll);
    connect(overlayBar, &QScrollBar::rangeChanged, this, &FrozenColumns::followGridScroll);
    connect(overlayBar, &QScrollBar::valueChanged, this, [gridBar, overlayBar](int value) {
        if (overlayBar->minimum() == gridBar->minimum() &&
            overlayBar->maximum() == gridBar->maximum())
            gridBar->setValue(value);
    });
    connect(grid.horizontalHeader(), &QHeaderView::geometriesChanged, this, &FrozenColumns::place);
    grid.installEventFilter(this);
    grid.viewport()->installEventFilter(this);
    overlay_->hide();
}

void FrozenColumns::update() {
    const int columns = grid_.columnCount();
    if (columns <= count_) {
        overlay_->hide();
        return;
    }
    for (int c = 0; c < columns; ++c) {
        const bool frozen = c < count_;
        overlay_->setColumnHidden(c, !frozen || grid_.isColumnHidden(c));
        if (frozen && !grid_.isColumnHidden(c))
            overlay_->setColumnWidth(c, grid_.columnWidth(c));
    }
    overlay_->show();
    place();
}

void FrozenColumns::place() {
    if (overlay_->isHidden())
        return;
    // Same font, row height and heading height as the grid, so the rows line up.
    if (overlay_->font() != grid_.font())
        overlay_->setFont(grid_.font());
    overlay_->verticalHeader()->setDefaultSectionSize(grid_.verticalHeader()->defaultSectionSize());
    QHeaderView* heading = grid_.horizontalHeader();
    if (overlay_->horizontalHeader()->styleSheet() != heading->styleSheet())
        overlay_->horizontalHeader()->setStyleSheet(heading->styleSheet());
    // A heading with a style sheet of its own keeps the font it had: give it the grid's.
    if (overlay_->horizontalHeader()->font() != heading->font())
        overlay_->horizontalHeader()->setFont(heading->font());
    overlay_->horizontalHeader()->setFixedHeight(heading->height());

    int width = 0;
    for (int c = 0; c < count_ && c < grid_.columnCount(); ++c)
        if (!grid_.isColumnHidden(c))
            width += grid_.columnWidth(c);
    const QWidget* rows = grid_.viewport();
    overlay_->setGeometry(rows->x(), heading->y(), width, heading->height() + rows->height());
    followGridScroll();
}

void FrozenColumns::followGridScroll() {
    overlay_->verticalScrollBar()->setValue(grid_.verticalScrollBar()->value());
}

bool FrozenColumns::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == &grid_ || watched == grid_.viewport()) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        place();
    return QObject::eventFilter(watched, event);
}

} // namespace tarvela
