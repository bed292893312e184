#include "imports/gui/preview_view.h"

#include "grid/gui/grid_painter.h"

#include <QBrush>
#include <QFont>

namespace tarvela {

void PreviewModel::setGrid(imports::PreviewGrid grid) {
    beginResetModel();
    grid_ = std::move(grid);
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.rowCount;
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(grid_.columns.size());
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !grid_.cell)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return grid_.cell(index.row(), index.column()).text;
    case Qt::BackgroundRole:
        return QBrush(grid_.cell(index.row(), index.column()).background);
    case Qt::ForegroundRole:
        return QBrush(grid_.cell(index.row(), index.column()).foreground);
    case Qt::FontRole:
        if (grid_.cell(index.row(), index.column()).bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (grid_.columns[static_cast<size_t>(index.column())].alignRight)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(grid_.columns.size()))
        return {};
    return grid_.columns[static_cast<size_t>(section)].heading;
}

PreviewTable::PreviewTable(QWidget* parent, const QString& name)
    : QTableView(parent), model_(new PreviewModel(this)) {
    setObjectName(name);
    setModel(model_);
    setupReadOnlyGrid(*this);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

void PreviewTable::showGrid(imports::PreviewGrid grid) {
    model_->setGrid(std::move(grid));
    sizeColumns(*this, model_->grid().columns, model_->grid().rowCount);
}

void PreviewTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    sizeColumns(*this, model_->grid().columns, model_->grid().rowCount);
}

} // namespace tarvela
