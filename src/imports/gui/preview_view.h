#pragma once

#include "imports/preview_grid.h"

#include <QAbstractTableModel>
#include <QTableView>

// A preview's grid in a view: the cells are painted as the view shows them, so a preview of
// 100,000 rows opens at once.
namespace tarvela {

class PreviewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PreviewModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows another grid; the data it reads must outlive the model's use of it.
    void setGrid(imports::PreviewGrid grid);
    const imports::PreviewGrid& grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    imports::PreviewGrid grid_;
};

// A read-only view with the look of the program's grids over its own model; the columns keep
// their widths in twips, the rest column taking what the view's width leaves.
class PreviewTable : public QTableView {
    Q_OBJECT

public:
    PreviewTable(QWidget* parent, const QString& name);

    void showGrid(imports::PreviewGrid grid);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PreviewModel* model_;
};

} // namespace tarvela
