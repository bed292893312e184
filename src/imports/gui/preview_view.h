#pragma once

#include "imports/preview_grid.h"

#include <QAbstractTableModel>

class QTableView;

// A preview's grid in a view: the cells are painted as the view shows them, so a preview of
// 100,000 rows opens at once.
namespace tarvela {

class PreviewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit PreviewModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows another grid; the data it reads must outlive the model's use of it.
    void show(imports::PreviewGrid grid);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    imports::PreviewGrid grid_;
};

// A read-only view with the look of the program's grids over a model of its own.
QTableView* previewView(QWidget* parent, const QString& name, PreviewModel*& model);
// Shows the grid in the view and sizes its columns.
void showPreview(QTableView& view, PreviewModel& model, imports::PreviewGrid grid);

} // namespace tarvela
