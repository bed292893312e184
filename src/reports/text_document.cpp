#include "reports/text_document.h"

#include "files/zip_package.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace tarvela::reports {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kSvg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString kMeta = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0");
const QString kDc = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString kManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
const QString kMimeType = QStringLiteral("application/vnd.oasis.opendocument.text");

QString pt(double points) {
    return QString::number(points, 'f', 2) + QStringLiteral("pt");
}

void startDocument(QXmlStreamWriter& xml, const QString& root) {
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    for (const auto& [ns, prefix] : {std::pair{kOffice, "office"},
                                     {kStyle, "style"},
                                     {kText, "text"},
                                     {kTable, "table"},
                                     {kFo, "fo"},
                                     {kSvg, "svg"},
                                     {kMeta, "meta"},
                                     {kDc, "dc"}})
        xml.writeNamespace(ns, QString::fromLatin1(prefix));
    xml.writeStartElement(kOffice, root);
    xml.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.2"));
}

void style(QXmlStreamWriter& xml, const QString& name, const QString& family) {
    xml.writeStartElement(kStyle, QStringLiteral("style"));
    xml.writeAttribute(kStyle, QStringLiteral("name"), name);
    xml.writeAttribute(kStyle, QStringLiteral("family"), family);
}

void fontDeclarations(QXmlStreamWriter& xml, const TextDocument& d) {
    xml.writeStartElement(kOffice, QStringLiteral("font-face-decls"));
    xml.writeEmptyElement(kStyle, QStringLiteral("font-face"));
    xml.writeAttribute(kStyle, QStringLiteral("name"), d.font);
    xml.writeAttribute(kSvg, QStringLiteral("font-family"), d.font);
    xml.writeEndElement();
}

void textProperties(QXmlStreamWriter& xml, const TextDocument& d, bool bold) {
    xml.writeEmptyElement(kStyle, QStringLiteral("text-properties"));
    xml.writeAttribute(kStyle, QStringLiteral("font-name"), d.font);
    xml.writeAttribute(kFo, QStringLiteral("font-size"), pt(d.fontSize));
    if (bold)
        xml.writeAttribute(kFo, QStringLiteral("font-weight"), QStringLiteral("bold"));
}

// Cell styles: "Borde", "BordeSombra<t>" (shaded, per table) and "SinBorde".
void cellStyle(QXmlStreamWriter& xml, const QString& name, bool border, const QColor& shade) {
    style(xml, name, QStringLiteral("table-cell"));
    xml.writeEmptyElement(kStyle, QStringLiteral("table-cell-properties"));
    xml.writeAttribute(kFo, QStringLiteral("padding"), pt(1.5));
    xml.writeAttribute(kFo, QStringLiteral("border"),
                       border ? QStringLiteral("0.5pt solid #000000") : QStringLiteral("none"));
    if (shade.isValid())
        xml.writeAttribute(kFo, QStringLiteral("background-color"), shade.name());
    xml.writeEndElement();
}

void automaticStyles(QXmlStreamWriter& xml, const TextDocument& d) {
    xml.writeStartElement(kOffice, QStringLiteral("automatic-styles"));
    for (const auto& [name, align] : {std::pair{"P", "start"}, {"PDerecha", "end"}}) {
        style(xml, QString::fromLatin1(name), QStringLiteral("paragraph"));
        xml.writeEmptyElement(kStyle, QStringLiteral("paragraph-properties"));
        xml.writeAttribute(kFo, QStringLiteral("text-align"), QString::fromLatin1(align));
        textProperties(xml, d, false);
        xml.writeEndElement();
    }
    style(xml, QStringLiteral("Negrita"), QStringLiteral("text"));
    textProperties(xml, d, true);
    xml.writeEndElement();
    // A row stays whole on one page.
    style(xml, QStringLiteral("Fila"), QStringLiteral("table-row"));
    xml.writeEmptyElement(kStyle, QStringLiteral("table-row-properties"));
    xml.writeAttribute(kFo, QStringLiteral("keep-together"), QStringLiteral("always"));
    xml.writeEndElement();

    cellStyle(xml, QStringLiteral("Borde"), true, QColor());
    cellStyle(xml, QStringLiteral("SinBorde"), false, QColor());
    for (size_t t = 0; t < d.tables.size(); ++t) {
        const DocumentTable& table = d.tables[t];
        const QString name = QStringLiteral("Tabla%1").arg(t + 1);
        double width = 0;
        for (double w : table.widths)
            width += w;
        style(xml, name, QStringLiteral("table"));
        xml.writeEmptyElement(kStyle, QStringLiteral("table-properties"));
        xml.writeAttribute(kStyle, QStringLiteral("width"), pt(width));
        xml.writeAttribute(kTable, QStringLiteral("align"), QStringLiteral("left"));
        xml.writeAttribute(kTable, QStringLiteral("border-model"), QStringLiteral("collapsing"));
        xml.writeEndElement();
        for (size_t c = 0; c < table.widths.size(); ++c) {
            style(xml, name + QStringLiteral(".%1").arg(c + 1), QStringLiteral("table-column"));
            xml.writeEmptyElement(kStyle, QStringLiteral("table-column-properties"));
            xml.writeAttribute(kStyle, QStringLiteral("column-width"), pt(table.widths[c]));
            xml.writeEndElement();
        }
        if (!table.shadedRows.empty())
            cellStyle(xml, name + QStringLiteral(".Sombra"), table.borders, table.shade);
    }
    xml.writeEndElement();
}

// Characters a document cannot hold or would show as garbage: control characters (C0 but tab
// and line feed, DEL, C1), unpaired surrogates and the non-characters U+FFFE and U+FFFF.
bool leftOut(const QString& text, qsizetype i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return c.category() == QChar::Other_Control || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
}

// The text without the characters a document cannot hold.
QString documentText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!leftOut(text, i))
            out += text.at(i);
    return out;
}

// A text as the document keeps it: runs of blanks, tabs and line breaks as their elements.
void writeText(QXmlStreamWriter& xml, const QString& text) {
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty())
            xml.writeCharacters(run);
        run.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' ') &&
            (i == 0 || text.at(i - 1) == QLatin1Char(' ') || i + 1 == text.size())) {
            flush();
            xml.writeEmptyElement(kText, QStringLiteral("s"));
        } else if (c == QLatin1Char('\t')) {
            flush();
            xml.writeEmptyElement(kText, QStringLiteral("tab"));
        } else if (c == QLatin1Char('\n') || c == QChar(0x2028)) {
            flush();
            xml.writeEmptyElement(kText, QStringLiteral("line-break"));
        } else if (leftOut(text, i)) {
            continue;
        } else {
            run += c;
        }
    }
    flush();
}

void paragraph(QXmlStreamWriter& xml, const DocumentCell& cell) {
    xml.writeStartElement(kText, QStringLiteral("p"));
    xml.writeAttribute(kText, QStringLiteral("style-name"),
                       cell.right ? QStringLiteral("PDerecha") : QStringLiteral("P"));
    if (cell.bold) {
        xml.writeStartElement(kText, QStringLiteral("span"));
        xml.writeAttribute(kText, QStringLiteral("style-name"), QStringLiteral("Negrita"));
        writeText(xml, cell.text);
        xml.writeEndElement();
    } else {
        writeText(xml, cell.text);
    }
    xml.writeEndElement();
}

void table(QXmlStreamWriter& xml, const DocumentTable& t, size_t index) {
    const QString name = QStringLiteral("Tabla%1").arg(index + 1);
    xml.writeStartElement(kTable, QStringLiteral("table"));
    xml.writeAttribute(kTable, QStringLiteral("name"), name);
    xml.writeAttribute(kTable, QStringLiteral("style-name"), name);
    for (size_t c = 0; c < t.widths.size(); ++c) {
        xml.writeEmptyElement(kTable, QStringLiteral("table-column"));
        xml.writeAttribute(kTable, QStringLiteral("style-name"),
                           name + QStringLiteral(".%1").arg(c + 1));
    }
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const QString cellStyle = t.shaded(static_cast<int>(r)) ? name + QStringLiteral(".Sombra")
                                  : t.borders                   ? QStringLiteral("Borde")
                                                                : QStringLiteral("SinBorde");
        const bool heading = t.headingRow && r == 0;
        if (heading)
            xml.writeStartElement(kTable, QStringLiteral("table-header-rows"));
        xml.writeStartElement(kTable, QStringLiteral("table-row"));
        xml.writeAttribute(kTable, QStringLiteral("style-name"), QStringLiteral("Fila"));
        for (size_t c = 0; c < t.widths.size(); ++c) {
            xml.writeStartElement(kTable, QStringLiteral("table-cell"));
            xml.writeAttribute(kTable, QStringLiteral("style-name"), cellStyle);
            xml.writeAttribute(kOffice, QStringLiteral("value-type"), QStringLiteral("string"));
            paragraph(xml, c < t.rows[r].size() ? t.rows[r][c] : DocumentCell{});
            xml.writeEndElement();
        }
        xml.writeEndElement();
        if (heading)
            xml.writeEndElement();
    }
    xml.writeEndElement();
}

QByteArray stylesXml(const TextDocument& d) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml, QStringLiteral("document-styles"));
    fontDeclarations(xml, d);
    xml.writeStartElement(kOffice, QStringLiteral("styles"));
    xml.writeStartElement(kStyle, QStringLiteral("default-style"));
    xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
    textProperties(xml, d, false);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : out;
}

QByteArray metaXml(const TextDocument& d) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml, QStringLiteral("document-meta"));
    xml.writeStartElement(kOffice, QStringLiteral("meta"));
    xml.writeTextElement(kDc, QStringLiteral("title"), documentText(d.title));
    xml.writeTextElement(kMeta, QStringLiteral("generator"), QStringLiteral("Tarvela"));
    xml.writeEndElement();
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : out;
}

QByteArray manifestXml() {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeNamespace(kManifest, QStringLiteral("manifest"));
    xml.writeStartElement(kManifest, QStringLiteral("manifest"));
    xml.writeAttribute(kManifest, QStringLiteral("version"), QStringLiteral("1.2"));
    for (const auto& [path, type] : {std::pair{QStringLiteral("/"), kMimeType},
                                     {QStringLiteral("content.xml"), QStringLiteral("text/xml")},
                                     {QStringLiteral("styles.xml"), QStringLiteral("text/xml")},
                                     {QStringLiteral("meta.xml"), QStringLiteral("text/xml")}}) {
        xml.writeEmptyElement(kManifest, QStringLiteral("file-entry"));
        xml.writeAttribute(kManifest, QStringLiteral("full-path"), path);
        xml.writeAttribute(kManifest, QStringLiteral("media-type"), type);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : out;
}

} // namespace

bool DocumentTable::shaded(int row) const {
    return std::find(shadedRows.begin(), shadedRows.end(), row) != shadedRows.end();
}

QByteArray openDocumentContent(const TextDocument& d) {
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml, QStringLiteral("document-content"));
    fontDeclarations(xml, d);
    automaticStyles(xml, d);
    xml.writeStartElement(kOffice, QStringLiteral("body"));
    xml.writeStartElement(kOffice, QStringLiteral("text"));
    for (size_t t = 0; t < d.tables.size(); ++t) {
        if (t > 0) {
            xml.writeEmptyElement(kText, QStringLiteral("p"));
            xml.writeAttribute(kText, QStringLiteral("style-name"), QStringLiteral("P"));
        }
        table(xml, d.tables[t], t);
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return xml.hasError() ? QByteArray() : out;
}

WriteFailure writeOpenDocument(const TextDocument& document, const QString& path) {
    const std::vector<files::PackageEntry> entries = {
        // The package's first entry names its type, stored as it is, so that programs can tell
        // the type from the file's first bytes.
        {QStringLiteral("mimetype"), kMimeType.toUtf8(), false},
        {QStringLiteral("content.xml"), openDocumentContent(document)},
        {QStringLiteral("styles.xml"), stylesXml(document)},
        {QStringLiteral("meta.xml"), metaXml(document)},
        {QStringLiteral("META-INF/manifest.xml"), manifestXml()}};
    for (const files::PackageEntry& entry : entries)
        if (entry.contents.isEmpty())
            return {QStringLiteral("no se pudo componer el documento"), 0};
    const files::FileFailure failure = files::writeZipPackage(path, entries);
    return {failure.description, failure.number};
}

} // namespace tarvela::reports
