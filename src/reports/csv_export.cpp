#include "reports/csv_export.h"

#include "context/open_document.h"
#include "reports/output_file.h"
#include "text/format.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cerrno>

namespace tarvela {

namespace {

const QChar kQuote = QLatin1Char('"');

// A number as the workstation writes it: up to 15 significant digits, no group separators.
QString numberText(double value, QChar decimalSeparator) {
    QString text = QLocale::c().toString(value, 'g', 15);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    if (decimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

// A text a spreadsheet reads as a number ("-5.00", "-12,5 %"): it stays as it is.
bool readAsNumber(const QString& text) {
    QString figure = text.trimmed();
    if (figure.endsWith(QLatin1Char('%')))
        figure = figure.chopped(1).trimmed();
    return text::parseUserNumber(figure).has_value();
}

// Texts that a spreadsheet would take for a formula ("=1+1", "+A1", "-A1", "@SUM(A1)") keep a
// leading apostrophe, so that they are shown as the texts they are.
QString textCell(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@");
    if (!text.isEmpty() && formulaStarts.contains(text.front()) && !readAsNumber(text))
        return QLatin1Char('\'') + text;
    return text;
}

QString valueText(const QVariant& value, QChar decimalSeparator) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble(), decimalSeparator);
    case QMetaType::QDate:
        return text::formatDate(value.toDate(), QStringLiteral("dd/mm/yyyy"));
    case QMetaType::QDateTime:
        return text::formatDate(value.toDateTime().date(), QStringLiteral("dd/mm/yyyy"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::QString:
        return textCell(value.toString());
    default:
        return value.toString();
    }
}

} // namespace

QString askCsvFileName(Desktop& desktop) {
    QString name = desktop.saveFileName(QStringLiteral("Guardar Diario General"),
                                        {QStringLiteral("CSV (delimitado por comas) (*.csv)"),
                                         QStringLiteral("Todos los archivos (*.*)")});
    name.remove(QChar(0));
    return name.trimmed();
}

QString csvFileName(const QString& chosen) {
    if (chosen.right(4).toUpper() != QLatin1String(".CSV"))
        return chosen + QStringLiteral(".csv");
    return chosen;
}

QString csvCell(const QVariant& value, QChar decimalSeparator) {
    if (value.isNull())
        return QStringLiteral("\"\"");
    QString text = valueText(value, decimalSeparator);
    text.replace(kQuote, QLatin1Char('\''));
    return kQuote + text + kQuote;
}

QByteArray csvContents(const db::Result& rows, bool omitHeader, QChar decimalSeparator) {
    QString out;
    if (!omitHeader) {
        QStringList cells;
        for (const QString& name : rows.columns())
            cells << (name.startsWith(QLatin1Char('_')) ? QStringLiteral("\"\"")
                                                        : kQuote + name + kQuote);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < rows.columnCount(); ++c)
            cells << csvCell(rows.value(r, c), decimalSeparator);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\r');
    }
    // UTF-8 with its byte-order mark: spreadsheets then read accented texts right.
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

void writeCsvFile(Desktop& desktop, const db::Result& rows, bool omitHeader) {
    const QString chosen = askCsvFileName(desktop);
    if (chosen.isEmpty())
        return;
    const QString name = csvFileName(chosen);
    // The dialog asked nothing about the name with its extension added.
    if (QFileInfo::exists(name) &&
        !desktop.question(QStringLiteral("El archivo ") + QDir::toNativeSeparators(name) +
                          QStringLiteral(" ya existe.\n¿Desea reemplazarlo?")))
        return;

    // The file is written whole under a temporary name and takes its name only when complete.
    QSaveFile file(name);
    const QByteArray contents = csvContents(rows, omitHeader, text::workstationDecimalSeparator());
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.commit()) {
        const int error = errno;
        desktop.message(reports::writeErrorText(name, error), MsgIcon::Critical);
        return;
    }
    desktop.message(QStringLiteral("Archivo generado."), MsgIcon::Information);
    showDocument(desktop, name);
}

} // namespace tarvela
