#include "files/workbook_reader.h"

#include "files/zip_package.h"

#include <QXmlStreamReader>

#include <charconv>
#include <optional>

namespace tarvela::files {

namespace {

const QString kBroken = QStringLiteral("El libro de Excel está dañado: %1.");

// A part's failure to read, or nothing.
using Failure = std::optional<QString>;

struct SheetRef {
    QString name;
    QString part; // the sheet's part inside the package
};

struct WorkbookParts {
    std::vector<SheetRef> sheets;
    QString sharedStrings; // empty when the workbook has none
};

// "xl/worksheets/sheet1.xml" from a target written relative to the workbook's folder, or from
// the package's root when it starts with "/".
QString resolvePart(const QString& folder, const QString& target) {
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& piece : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String(".."))
            parts.removeLast();
        else if (piece != QLatin1String("."))
            parts << piece;
    }
    return parts.join(QLatin1Char('/'));
}

QString xmlFailure(const QXmlStreamReader& xml, const QString& part) {
    return kBroken.arg(
        QStringLiteral("%1, línea %2: %3").arg(part).arg(xml.lineNumber()).arg(xml.errorString()));
}

// The relationship attribute "r:id" in either namespace the format has used.
QString relationshipId(const QXmlStreamAttributes& attributes) {
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == QLatin1String("id") &&
            a.namespaceUri().contains(QLatin1String("relationships")))
            return a.value().toString();
    return {};
}

// The workbook's part, from the package's relationships; the usual name when they do not say.
QString workbookPart(const ZipPackage& package) {
    QString error;
    const std::optional<QByteArray> rels = package.entry(QStringLiteral("_rels/.rels"), error);
    if (rels) {
        QXmlStreamReader xml(*rels);
        while (!xml.atEnd()) {
            xml.readNext();
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship") &&
                a.value(QLatin1String("Type")).endsWith(QLatin1String("/officeDocument")))
                return resolvePart(QString(), a.value(QLatin1String("Target")).toString());
        }
    }
    return QStringLiteral("xl/workbook.xml");
}

Failure readWorkbookParts(const ZipPackage& package, const QString& workbook, WorkbookParts& out) {
    QString error;
    const std::optional<QByteArray> book = package.entry(workbook, error);
    if (!book)
        return kBroken.arg(error);
    const QString folder = workbook.section(QLatin1Char('/'), 0, -2);
    const QString relsPart = folder + QStringLiteral("/_rels/") +
                             workbook.section(QLatin1Char('/'), -1) + QStringLiteral(".rels");
    const std::optional<QByteArray> rels = package.entry(relsPart, error);
    if (!rels)
        return kBroken.arg(error);

    std::vector<std::pair<QString, QString>> targets; // id, part
    QXmlStreamReader relsXml(*rels);
    while (!relsXml.atEnd()) {
        relsXml.readNext();
        if (!relsXml.isStartElement() || relsXml.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes a = relsXml.attributes();
        const QString part = resolvePart(folder, a.value(QLatin1String("Target")).toString());
        if (a.value(QLatin1String("Type")).endsWith(QLatin1String("/sharedStrings")))
            out.sharedStrings = part;
        targets.emplace_back(a.value(QLatin1String("Id")).toString(), part);
    }
    if (relsXml.hasError())
        return xmlFailure(relsXml, relsPart);

    QXmlStreamReader xml(*book);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("sheet"))
            continue;
        const QString id = relationshipId(xml.attributes());
        SheetRef sheet{xml.attributes().value(QLatin1String("name")).toString(), {}};
        for (const auto& [target, part] : targets)
            if (target == id)
                sheet.part = part;
        out.sheets.push_back(sheet);
    }
    if (xml.hasError())
        return xmlFailure(xml, workbook);
    return std::nullopt;
}

// Texts may carry characters XML cannot hold as "_xHHHH_".
QString unescapeText(QString text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('_') && i + 6 < text.size() && text[i + 1] == QLatin1Char('x') &&
            text[i + 6] == QLatin1Char('_')) {
            bool ok = false;
            const uint code = QStringView(text).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a string item (<si> or <is>): its <t> elements, without phonetic runs.
QString itemText(QXmlStreamReader& xml) {
    const QString end = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return unescapeText(text);
}

Failure readSharedStrings(const ZipPackage& package, const QString& part, QStringList& out) {
    if (part.isEmpty() || !package.contains(part))
        return std::nullopt;
    QString error;
    const std::optional<QByteArray> bytes = package.entry(part, error);
    if (!bytes)
        return kBroken.arg(error);
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            out << itemText(xml);
    }
    if (xml.hasError())
        return xmlFailure(xml, part);
    return std::nullopt;
}

// "C12" → column 2 (from 0); -1 when the reference has no letters.
int referenceColumn(QStringView reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i)
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    return i == 0 ? -1 : column - 1;
}

std::optional<double> numberOf(const QString& text) {
    const QByteArray latin = text.trimmed().toLatin1();
    double value = 0;
    const auto [end, ec] =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (ec != std::errc() || end != latin.constData() + latin.size())
        return std::nullopt;
    return value;
}

// The largest column a sheet may have (XFD).
constexpr int kMaxColumn = 16383;

Failure readCell(QXmlStreamReader& xml, const QStringList& shared, const QString& part, Row& row,
                 int& nextColumn) {
    const QXmlStreamAttributes a = xml.attributes();
    int column = nextColumn;
    if (a.hasAttribute(QLatin1String("r")))
        column = referenceColumn(a.value(QLatin1String("r")));
    if (column < 0 || column > kMaxColumn)
        return kBroken.arg(QStringLiteral("%1: la celda %2 no es válida")
                               .arg(part, a.value(QLatin1String("r")).toString()));
    nextColumn = column + 1;
    const QString type = a.value(QLatin1String("t")).toString();

    QString value;
    bool hasValue = false;
    QString inlineText;
    bool hasInline = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == QLatin1String("is")) {
                inlineText = itemText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            break;
        }
    }

    Cell cell;
    const QString place = columnLetters(column) + QString::number(row.number);
    if (type == QLatin1String("inlineStr")) {
        if (hasInline)
            cell = {Cell::Kind::Text, inlineText, 0};
    } else if (!hasValue) {
        // no value: an empty cell, with or without a formula that was never computed
    } else if (type == QLatin1String("s")) {
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= shared.size())
            return kBroken.arg(
                QStringLiteral("%1: la celda %2 nombra un texto que no existe").arg(part, place));
        cell = {Cell::Kind::Text, shared[index], 0};
    } else if (type == QLatin1String("str") || type == QLatin1String("d")) {
        cell = {Cell::Kind::Text, unescapeText(value), 0};
    } else if (type == QLatin1String("b")) {
        cell = {Cell::Kind::Boolean, {}, value.trimmed() == QLatin1String("1") ? 1.0 : 0.0};
    } else if (type == QLatin1String("e")) {
        cell = {Cell::Kind::Error, value.trimmed(), 0};
    } else {
        const std::optional<double> number = numberOf(value);
        if (!number)
            return kBroken.arg(
                QStringLiteral("%1: la celda %2 no tiene un número válido").arg(part, place));
        cell = {Cell::Kind::Number, {}, *number};
    }
    if (cell.kind == Cell::Kind::Text && cell.text.isEmpty())
        cell = {};
    if (!cell.isEmpty()) {
        if (row.cells.size() <= static_cast<size_t>(column))
            row.cells.resize(static_cast<size_t>(column) + 1);
        row.cells[static_cast<size_t>(column)] = cell;
    }
    return std::nullopt;
}

Failure readSheet(const ZipPackage& package, const QString& part, const QStringList& shared,
                  Table& out) {
    QString error;
    const std::optional<QByteArray> bytes = package.entry(part, error);
    if (!bytes)
        return kBroken.arg(error);
    QXmlStreamReader xml(*bytes);
    int nextRow = 1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("row"))
            continue;
        Row row;
        row.number = nextRow;
        if (xml.attributes().hasAttribute(QLatin1String("r"))) {
            bool ok = false;
            row.number = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            if (!ok || row.number < 1)
                return kBroken.arg(
                    QStringLiteral("%1: una fila no tiene un número válido").arg(part));
        }
        nextRow = row.number + 1;
        int nextColumn = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
                if (Failure failure = readCell(xml, shared, part, row, nextColumn))
                    return failure;
            } else if (xml.isStartElement()) {
                xml.skipCurrentElement();
            } else if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
                break;
            }
        }
        if (!row.cells.empty())
            out.rows.push_back(std::move(row));
    }
    if (xml.hasError())
        return xmlFailure(xml, part);
    return std::nullopt;
}

} // namespace

TableRead readWorkbook(const QByteArray& bytes, const QString& sheetName) {
    TableRead read;
    QString error;
    const std::optional<ZipPackage> package = ZipPackage::open(bytes, error);
    if (!package) {
        read.error =
            bytes.startsWith("PK")
                ? QStringLiteral("El libro de Excel está dañado o incompleto: %1.").arg(error)
                : QStringLiteral("El archivo no es un libro de Excel (.xlsx): no es un "
                                 "paquete ZIP.");
        return read;
    }
    const QString workbook = workbookPart(*package);
    if (!package->contains(workbook)) {
        read.error = QStringLiteral("El archivo no es un libro de Excel (.xlsx): no tiene hojas de "
                                    "cálculo.");
        return read;
    }
    WorkbookParts parts;
    Failure failure = readWorkbookParts(*package, workbook, parts);
    for (const SheetRef& sheet : parts.sheets)
        read.sheets << sheet.name;
    const SheetRef* chosen = nullptr;
    for (const SheetRef& sheet : parts.sheets)
        if (!chosen && (sheetName.isEmpty() ||
                        sheet.name.compare(sheetName.trimmed(), Qt::CaseInsensitive) == 0))
            chosen = &sheet;
    if (!failure && !chosen)
        failure =
            parts.sheets.empty()
                ? QStringLiteral("El libro de Excel no tiene hojas.")
                : QStringLiteral("El libro no tiene una hoja llamada '%1'. Sus hojas son: %2.")
                      .arg(sheetName, read.sheets.join(QStringLiteral(", ")));
    QStringList shared;
    if (!failure)
        failure = readSharedStrings(*package, parts.sharedStrings, shared);
    if (!failure)
        failure = readSheet(*package, chosen->part, shared, read.table);
    if (!failure && read.table.rows.empty())
        failure = QStringLiteral("La hoja '%1' del libro está vacía.").arg(chosen->name);
    if (failure) {
        read.error = *failure;
        read.table = {};
    }
    return read;
}

} // namespace tarvela::files
