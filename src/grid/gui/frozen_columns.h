#pragma once

#include <QObject>

class QTableView;
class QTableWidget;

namespace tarvela {

// Keeps the first columns of a grid in view while the others scroll: a second view of the same
// model laid over the grid's left edge, showing only those columns.
class FrozenColumns : public QObject {
    Q_OBJECT

public:
    FrozenColumns(QTableWidget& grid, int count);

    // Follows the grid's columns after it has been painted; hidden when the grid has no more
    // columns than the frozen ones.
    void update();
    QTableView& overlay() { return *overlay_; }

private:
    QTableWidget& grid_;
    int count_;
    QTableView* overlay_;
};

} // namespace tarvela
