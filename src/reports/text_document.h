#pragma once

#include "reports/output_file.h"

#include <QColor>
#include <QString>

#include <vector>

// A text document made of tables, in one font, written as an OpenDocument text file (.odt) that
// word processors open. Texts are written as plain text, whatever characters they hold.
namespace tarvela::reports {

struct DocumentCell {
    QString text;
    bool bold = false;
    bool right = false; // right-aligned
};

struct DocumentTable {
    std::vector<double> widths; // column widths in points
    bool borders = true;
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

// The package's content.xml, for readers of the document's text.
QByteArray openDocumentContent(const TextDocument& document);

} // namespace tarvela::reports
