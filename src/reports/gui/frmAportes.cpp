#include "reports/gui/frmAportes.h"

#include "grid/grid_paint.h"
#include "grid/gui/grid_painter.h"
#include "text/format.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>

namespace tarvela {

using grid::CellPaint;
using grid::GridPaint;

frmAportes::frmAportes(AppContext& ctx, const formulation::AportesReport& report, QWidget* parent)
    : QDialog(parent), ctx_(ctx), propertyName_(report.propertyName.trimmed()) {
    setObjectName(QStringLiteral("frmAportes"));
    setWindowTitle(report.caption);
    setFixedSize(560, 330);

    const QChar sep = displaySeparator(ctx_);
    auto* label =
        new QLabel(QStringLiteral("Máximo valor a alcanzar con los ingredientes actuales"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(10, 10, 360, 22);
    auto* maximo = new QLabel(
        text::formatNumber(report.maximoAlcanzable, QStringLiteral("0.00###"), sep), this);
    maximo->setObjectName(QStringLiteral("lblMaximo"));
    maximo->setGeometry(380, 10, 120, 22);
    maximo->setFrameShape(QFrame::Panel);
    maximo->setFrameShadow(QFrame::Sunken);
    maximo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    grid_->setGeometry(10, 40, 540, 240);
    setupReadOnlyGrid(*grid_);
    actuGrid(report);

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    close->setGeometry(500, 288, 50, 34);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void frmAportes::actuGrid(const formulation::AportesReport& report) {
    const QChar sep = displaySeparator(ctx_);
    GridPaint paint;
    paint.columns = {{QStringLiteral("producto"), QStringLiteral("Ingrediente"), grid::kRestWidth},
                     {QStringLiteral("maximo"), QStringLiteral("Rest. Máximo"), 1500},
                     {QStringLiteral("valor"), QStringLiteral("Aporte"), 1500},
                     {QStringLiteral("aportemaximo"), QStringLiteral("Aporte Máximo"), 1500}};
    paint.rows.push_back(grid::headingCells(paint.columns));
    const QString pattern = QStringLiteral("#####0.00");
    for (const auto& row : report.rows) {
        std::vector<CellPaint> cells(4);
        cells[0].text = row.producto;
        cells[1].text = row.maximo ? text::formatNumber(*row.maximo, pattern, sep) : QString();
        cells[2].text = text::formatNumber(row.valor, pattern, sep);
        cells[3].text = text::formatNumber(row.aportemaximo, pattern, sep);
        cells[3].bold = true;
        paint.rows.push_back(cells);
    }
    paintGrid(*grid_, paint);
}

void frmAportes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    messagePending_ = true;
}

void frmAportes::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The message waits until this paint has reached the screen.
    if (messagePending_) {
        messagePending_ = false;
        QTimer::singleShot(0, this, &frmAportes::showCancelledMessage);
    }
}

void frmAportes::showCancelledMessage() {
    if (!isVisible())
        return;
    ctx_.desktop->message(QStringLiteral("No es posible alcanzar el Mínimo para la propiedad ") +
                              propertyName_,
                          MsgIcon::Critical, QStringLiteral("Se ha cancelado la Formulación"));
}

} // namespace tarvela
