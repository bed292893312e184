#pragma once

#include <QRect>
#include <QString>

class QTableWidget;
class QWidget;

namespace tarvela {

// A read-only grid of the plan's windows, named for tests, placed at geometry (its width is the
// one the painted columns share).
QTableWidget* addPlanGrid(QWidget* parent, const QString& name, const QRect& geometry);

} // namespace tarvela
