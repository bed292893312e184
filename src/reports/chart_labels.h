#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

// Where a chart's labels go, as plain data: each label is a box of its text's size near the
// point it names, and no two boxes overlap. A label that cannot sit right above its point moves
// up or down by whole label heights and is joined to its point by a leader line.
namespace tarvela::reports {

struct LabelRequest {
    QPointF anchor; // the point the label names, in the chart's pixels
    QSizeF size;    // the text's size
};

struct PlacedLabel {
    QRectF box;
    bool leader = false; // drawn away from its point: a line joins the two
};

// The boxes, in the order of the requests, inside area where room allows (beyond its top edge,
// stacked, where it does not).
std::vector<PlacedLabel> placeLabels(const std::vector<LabelRequest>& labels, const QRectF& area);

// A title broken at spaces into lines of at most maxChars characters (a longer word keeps its
// own line), joined by "<br>" for the chart's rich-text titles.
QString wrappedTitle(const QString& title, int maxChars);

} // namespace tarvela::reports
