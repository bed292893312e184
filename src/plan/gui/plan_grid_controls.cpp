#include "plan/gui/plan_grid_controls.h"

#include "grid/gui/grid_painter.h"

#include <QTableWidget>

namespace tarvela {

QTableWidget* addPlanGrid(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setGeometry(geometry);
    setupReadOnlyGrid(*grid);
    return grid;
}

} // namespace tarvela
