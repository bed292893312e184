#include "reports/page_painter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace tarvela::reports {

namespace {
constexpr double kMmPerInch = 25.4;
} // namespace

PagePainter::PagePainter(QPagedPaintDevice& device) : device_(device) {
    // Where Arial itself is missing, the font made to its widths takes its place, so that texts
    // take the room the layouts give them.
    font_.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font_.setStyleHint(QFont::SansSerif);
    if (!painter_.begin(&device_))
        return;
    k_ = device_.logicalDpiX() / kMmPerInch;
    setFont(8);
    painter_.setPen(QPen(Qt::black, 0.2 * k_));
}

PagePainter::~PagePainter() {
    if (painter_.isActive())
        painter_.end();
}

bool PagePainter::finish() {
    return painter_.isActive() && painter_.end();
}

double PagePainter::pageHeight() const {
    return device_.height() / k_;
}

bool PagePainter::newPage() {
    return !drawing_ || device_.newPage();
}

void PagePainter::setFont(double points, bool bold) {
    font_.setPointSizeF(points);
    font_.setBold(bold);
    painter_.setFont(font_);
}

void PagePainter::text(double x, double y, const QString& text) {
    if (text.isEmpty() || !drawing_)
        return;
    const QFontMetricsF metrics(font_, &device_);
    painter_.drawText(QPointF(x * k_, y * k_ + metrics.ascent()), text);
}

void PagePainter::textRight(double x, double y, const QString& text) {
    this->text(x - width(text), y, text);
}

double PagePainter::width(const QString& text) const {
    return QFontMetricsF(font_, &device_).horizontalAdvance(text) / k_;
}

QString PagePainter::fitted(const QString& text, double width) const {
    return QFontMetricsF(font_, &device_).elidedText(text, Qt::ElideRight, width * k_);
}

void PagePainter::line(double x1, double y1, double x2, double y2) {
    if (drawing_)
        painter_.drawLine(at(x1, y1), at(x2, y2));
}

void PagePainter::rect(double x, double y, double width, double height) {
    if (drawing_)
        painter_.drawRect(QRectF(at(x, y), QSizeF(width * k_, height * k_)));
}

WriteFailure writePdf(const QString& path, const QString& title,
                      const std::function<bool(QPagedPaintDevice&)>& paint) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return systemWriteFailure();
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tarvela"));
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        if (!paint(writer))
            return {QStringLiteral("no se pudo componer el documento"), 0};
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return systemWriteFailure();
    file.close();
    return {};
}

} // namespace tarvela::reports
