#pragma once

#include "reports/output_file.h"

#include <QColor>
#include <QString>

#include <vector>

// A text document made of tables, in one font, written as an OpenDocument text file (.odt) that
// word processors open. Texts are written as plain text, whatever characters they hold: tabs and
// line feeds as the document's own, other control characters (CR, DEL, C1 controls) and what a
// document cannot hold left out. A table row is never split across pages.
namespace tarvela::reports {

struct DocumentCell {
    QString text;
    bool bold = false;
    bool right = false; // right-aligned
};

struct DocumentTable {
    std::vector<double> widths; // column widths in points
    bool borders = true;
    // The first row is the table's heading: repeated at the top of every page the table runs on.
    bool headingRow = false;
    QColor shade; // fill of the shaded rows
    std::vector<int> shadedRows;
    std::vector<std::vector<DocumentCell>> rows;

    bool shaded(int row) const;
};

struct TextDocument {
    QString title;
    QString font = QStringLiteral("Arial");
    double fontSize = 9; // points
    // One empty paragraph separates each table from the next.
    std::vector<DocumentTable> tables;
};

WriteFailure writeOpenDocument(const TextDocument& document, const QString& path);

// The package's content.xml, for readers of the document's text; empty when the XML could not be
// written.
QByteArray openDocumentContent(const TextDocument& document);

} // namespace tarvela::reports
