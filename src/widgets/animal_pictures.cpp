#include "widgets/animal_pictures.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace tarvela {

namespace {

constexpr int kPictureWidth = 140;
constexpr int kPictureHeight = 110;

void drawCow(QPainter& p) {
    const QColor hide(250, 248, 240);
    const QColor spot(60, 45, 35);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(hide);
    for (int x : {38, 52, 86, 100})
        p.drawRect(x, 62, 8, 34);
    p.drawEllipse(QRectF(28, 30, 84, 44));
    p.setBrush(spot);
    p.drawEllipse(QRectF(45, 38, 20, 14));
    p.drawEllipse(QRectF(78, 50, 16, 12));
    p.setBrush(hide);
    p.drawEllipse(QRectF(96, 18, 34, 30));
    p.setBrush(QColor(240, 170, 170));
    p.drawEllipse(QRectF(106, 36, 24, 14));
    p.setBrush(QColor(200, 190, 150));
    p.drawLine(QPointF(102, 20), QPointF(96, 8));
    p.drawLine(QPointF(124, 20), QPointF(130, 8));
    p.drawLine(QPointF(28, 46), QPointF(16, 70));
}

void drawPig(QPainter& p) {
    const QColor skin(245, 170, 185);
    p.setPen(QPen(QColor(150, 70, 90), 2));
    p.setBrush(skin);
    for (int x : {40, 56, 84, 98})
        p.drawRect(x, 66, 9, 26);
    p.drawEllipse(QRectF(26, 30, 90, 48));
    p.drawEllipse(QRectF(92, 26, 38, 36));
    p.drawPolygon(QPolygonF({QPointF(98, 30), QPointF(102, 14), QPointF(110, 28)}));
    p.setBrush(QColor(230, 130, 150));
    p.drawEllipse(QRectF(116, 38, 18, 14));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(106, 36, 4, 4));
    p.setBrush(Qt::NoBrush);
    QPainterPath tail(QPointF(27, 50));
    tail.cubicTo(QPointF(14, 44), QPointF(20, 34), QPointF(12, 32));
    p.drawPath(tail);
}

void drawHen(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.setBrush(QColor(225, 225, 215));
    p.drawLine(QPointF(62, 80), QPointF(60, 100));
    p.drawLine(QPointF(78, 80), QPointF(80, 100));
    p.setBrush(QColor(190, 120, 60));
    p.drawPolygon(QPolygonF({QPointF(30, 30), QPointF(46, 50), QPointF(24, 56)}));
    p.drawEllipse(QRectF(32, 36, 72, 50));
    p.drawEllipse(QRectF(84, 16, 30, 30));
    p.setBrush(QColor(215, 40, 40));
    p.drawEllipse(QRectF(90, 6, 10, 12));
    p.drawEllipse(QRectF(98, 8, 10, 12));
    p.drawEllipse(QRectF(104, 38, 8, 12));
    p.setBrush(QColor(240, 190, 40));
    p.drawPolygon(QPolygonF({QPointF(113, 26), QPointF(126, 31), QPointF(113, 35)}));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(102, 24, 4, 4));
    p.setBrush(QColor(160, 95, 45));
    p.drawEllipse(QRectF(50, 48, 36, 22));
}

QImage colouredPicture(int base) {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 190, 90));
    p.drawEllipse(QRectF(8, 88, 124, 18));
    if (base == 1)
        drawCow(p);
    else if (base == 2)
        drawPig(p);
    else
        drawHen(p);
    return image;
}

QImage greyed(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = 150 + qGray(c) / 3;
            const int alpha = qAlpha(c);
            line[x] = qRgba(grey * alpha / 255, grey * alpha / 255, grey * alpha / 255, alpha);
        }
    }
    return image;
}

QPixmap textLogo(const QSize& size, const QColor& back, const QString& title,
                 const QString& subtitle) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), 10, 10);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(size.height() / 3);
    p.setFont(font);
    p.drawText(QRect(0, 4, size.width(), size.height() * 3 / 5), Qt::AlignCenter, title);
    font.setBold(false);
    font.setPixelSize(size.height() / 6);
    p.setFont(font);
    p.drawText(QRect(0, size.height() * 3 / 5, size.width(), size.height() * 2 / 5 - 4),
               Qt::AlignCenter, subtitle);
    return pixmap;
}

} // namespace

QString speciesName(int base) {
    switch (base) {
    case 1:
        return QStringLiteral("Bovinos");
    case 2:
        return QStringLiteral("Porcinos");
    case 3:
        return QStringLiteral("Aves");
    default:
        return {};
    }
}

QPixmap basePicture(int base, bool selected) {
    if (base < 1 || base > 3)
        return {};
    const QImage image = colouredPicture(base);
    return QPixmap::fromImage(selected ? image : greyed(image));
}

QPixmap smallSpeciesPicture(int base) {
    if (base < 1 || base > 3)
        return {};
    return QPixmap::fromImage(
        colouredPicture(base).scaled(56, 44, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPixmap selectionPicture() {
    const int side = 200;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(QPointF(side / 2.0, side / 2.0), side / 2.0);
    gradient.setColorAt(0, QColor(255, 250, 220));
    gradient.setColorAt(1, QColor(230, 200, 110));
    p.setBrush(gradient);
    p.setPen(QPen(QColor(150, 110, 30), 3));
    p.drawEllipse(QRectF(3, 3, side - 6, side - 6));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(17);
    p.setFont(font);
    p.setPen(QColor(90, 60, 10));
    p.drawText(QRect(30, 30, side - 60, side - 60), Qt::AlignCenter | Qt::TextWordWrap,
               kSelectionText);
    return pixmap;
}

QPixmap productLogo() {
    return textLogo(QSize(220, 64), QColor(40, 110, 60), QStringLiteral("Tarvela"),
                    QStringLiteral("Raciones al mínimo costo"));
}

QPixmap makerLogo(const QString& makerName) {
    return textLogo(QSize(150, 60), QColor(40, 70, 130), QStringLiteral("Vadomar"), makerName);
}

} // namespace tarvela
