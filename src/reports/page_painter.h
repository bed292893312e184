#pragma once

#include "reports/output_file.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <functional>

class QPagedPaintDevice;

// Printing in millimetres on a paged device (a printer, or a PDF document): texts placed by the
// top-left corner of their line or right-aligned on an edge, rules and boxes. Fonts keep their
// size in points whatever the device's resolution.
namespace tarvela::reports {

class PagePainter {
public:
    // Begins painting on the device; active() is false when the device refused.
    explicit PagePainter(QPagedPaintDevice& device);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    bool active() const { return painter_.isActive(); }
    // Ends painting; false when the device reported a failure.
    bool finish();

    // The page's height in millimetres.
    double pageHeight() const;
    bool newPage();

    // While off, nothing reaches the device (texts, rules, boxes, new pages) but measures still
    // work: a printout is laid out once to count its pages, then printed.
    void setDrawing(bool drawing) { drawing_ = drawing; }

    // The family of every text ("Arial", or the font of Arial's widths, Liberation Sans), then the
    // size and weight of the next texts.
    void setFont(double points, bool bold = false);
    // The text with the top of its line at y.
    void text(double x, double y, const QString& text);
    // The text ending at x (right-aligned there).
    void textRight(double x, double y, const QString& text);
    // Width of a text in the current font.
    double width(const QString& text) const;
    // The text, shortened with "…" when wider than the width.
    QString fitted(const QString& text, double width) const;

    void line(double x1, double y1, double x2, double y2);
    void rect(double x, double y, double width, double height);

private:
    QPointF at(double x, double y) const { return {x * k_, y * k_}; }

    QPagedPaintDevice& device_;
    QPainter painter_;
    double k_ = 1; // device units per millimetre
    QFont font_;
    bool drawing_ = true;
};

// Writes a PDF document (A4, the whole page usable) painted by paint, which returns false when
// it could not paint.
WriteFailure writePdf(const QString& path, const QString& title,
                      const std::function<bool(QPagedPaintDevice&)>& paint);

} // namespace tarvela::reports
