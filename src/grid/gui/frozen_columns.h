#pragma once

#include <QObject>

class QTableView;
class QTableWidget;

namespace tarvela {

// Keeps the first columns of a grid in view while the others scroll: a second view of the same
// model laid over the grid's left edge, showing only those columns. The second view covers the
// grid's heading and rows exactly and scrolls with it, so both always show the same rows,
// whatever the grid's size, row count or scroll position.
class FrozenColumns : public QObject {
    Q_OBJECT

public:
    FrozenColumns(QTableWidget& grid, int count);

    // Follows the grid's columns after it has been painted; hidden when the grid has no more
    // columns than the frozen ones.
    void update();
    QTableView& overlay() { return *overlay_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lays the overlay over the grid's heading and visible rows and aligns its rows.
    void place();
    void followGridScroll();

    QTableWidget& grid_;
    int count_;
    QTableView* overlay_;
};

} // namespace tarvela
