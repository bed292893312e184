#include "reports/gui/frmResultados.h"

#include "grid/gui/frozen_columns.h"
#include "grid/gui/grid_painter.h"
#include "reports/composition_grid.h"

#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

namespace tarvela {

namespace {
constexpr int kFrozenColumns = 7;
}

frmResultados::frmResultados(AppContext& ctx, const reports::CompositionTable& rsResultado,
                             const QStringList& nutrientHeadings, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmResultados"));
    setWindowTitle(QStringLiteral("Composición de la Fórmula"));
    setFixedSize(900, 480);

    FlexGrid1_ = new QTableWidget(this);
    FlexGrid1_->setObjectName(QStringLiteral("FlexGrid1"));
    FlexGrid1_->setGeometry(10, 10, 880, 414);
    setupReadOnlyGrid(*FlexGrid1_);
    FlexGrid1_->setTextElideMode(Qt::ElideNone);
    frozen_ = new FrozenColumns(*FlexGrid1_, kFrozenColumns);
    paintGrid(*FlexGrid1_,
              compositionGridPaint(rsResultado, nutrientHeadings, displaySeparator(ctx)));
    frozen_->update();

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    close->setGeometry(840, 436, 50, 34);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace tarvela
