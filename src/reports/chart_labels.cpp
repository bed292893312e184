#include "reports/chart_labels.h"

#include <QStringList>

#include <algorithm>
#include <numeric>

namespace tarvela::reports {

namespace {

constexpr double kGap = 3; // pixels between a label and its point, and between labels

bool overlaps(const QRectF& box, const std::vector<QRectF>& placed) {
    const QRectF padded = box.adjusted(-kGap / 2, -kGap / 2, kGap / 2, kGap / 2);
    return std::any_of(placed.begin(), placed.end(),
                       [&](const QRectF& other) { return padded.intersects(other); });
}

} // namespace

std::vector<PlacedLabel> placeLabels(const std::vector<LabelRequest>& labels, const QRectF& area) {
    std::vector<std::size_t> order(labels.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return labels[a].anchor.x() < labels[b].anchor.x();
    });

    std::vector<PlacedLabel> out(labels.size());
    std::vector<QRectF> placed;
    int stacked = 0; // labels put above the area for want of room in it
    for (std::size_t k : order) {
        const LabelRequest& label = labels[k];
        const double w = label.size.width();
        const double h = label.size.height();
        const double left = std::clamp(label.anchor.x() - w / 2, area.left(),
                                       std::max(area.left(), area.right() - w));
        const double above = label.anchor.y() - kGap - h;
        const double step = h + kGap;
        // Right above the point first, then a line further up, a line below it, and so on.
        const int rows = static_cast<int>(area.height() / step) + 1;
        bool done = false;
        for (int i = 0; i <= 2 * rows && !done; ++i) {
            const int shift = (i + 1) / 2 * (i % 2 == 1 ? -1 : 1);
            const QRectF box(left, above + shift * step, w, h);
            if (box.top() < area.top() || box.bottom() > area.bottom() || overlaps(box, placed))
                continue;
            out[k] = {box, shift != 0};
            placed.push_back(box);
            done = true;
        }
        if (!done) {
            const QRectF box(left, area.top() - (++stacked) * step, w, h);
            out[k] = {box, true};
            placed.push_back(box);
        }
    }
    return out;
}

QString wrappedTitle(const QString& title, int maxChars) {
    QStringList lines;
    QString line;
    for (const QString& word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > maxChars) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(QStringLiteral("<br>"));
}

} // namespace tarvela::reports
