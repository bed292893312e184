#include "files/csv_text.h"

#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <charconv>

namespace tarvela::files {

namespace {

// Windows-1252 from 0x80 to 0x9F; the five unassigned bytes keep their C1 code, as Windows does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *to++ = QChar(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return out;
}

// Control characters other than tab, line breaks and form feed do not occur in texts.
bool looksBinary(const QString& text) {
    const qsizetype sample = std::min<qsizetype>(text.size(), 65536);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        const char16_t u = text[i].unicode();
        if (u == 0)
            return true;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f')
            ++controls;
    }
    return controls * 100 > sample;
}

// The fields of a text's rows, split at the separator outside double quotes.
class CsvParser {
public:
    CsvParser(const QString& text, QChar separator) : text_(text), sep_(separator) {}

    // The next row's fields, or nothing at the end of the text. An unclosed quote sets
    // unclosedQuote and ends the text.
    bool next(std::vector<QString>& fields) {
        fields.clear();
        if (at_ >= text_.size())
            return false;
        QString field;
        bool quoted = false;  // inside a quoted part of the field
        bool started = false; // the field has had a character
        for (;;) {
            if (at_ >= text_.size()) {
                if (quoted)
                    unclosedQuote = true;
                fields.push_back(field);
                return true;
            }
            const QChar c = text_[at_++];
            if (quoted) {
                if (c != QLatin1Char('"')) {
                    field += c;
                } else if (at_ < text_.size() && text_[at_] == QLatin1Char('"')) {
                    field += c;
                    ++at_;
                } else {
                    quoted = false;
                }
            } else if (c == sep_) {
                fields.push_back(field);
                field.clear();
                started = false;
            } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
                if (c == QLatin1Char('\r') && at_ < text_.size() && text_[at_] == QLatin1Char('\n'))
                    ++at_;
                fields.push_back(field);
                return true;
            } else if (c == QLatin1Char('"') && !started) {
                quoted = true;
                started = true;
            } else {
                field += c;
                started = true;
            }
        }
    }

    bool unclosedQuote = false;

private:
    const QString& text_;
    QChar sep_;
    qsizetype at_ = 0;
};

bool formulaLike(const QString& text) {
    return !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front());
}

QString unprotected(const QString& text) {
    if (text.size() > 1 && text.front() == QLatin1Char('\'') && formulaLike(text.mid(1, 1)))
        return text.mid(1);
    return text;
}

// A number in its shortest form that reads back as the same double. Three decimals after a
// whole part of one to three digits would read as thousands in a column that shows no other
// decimals: a fourth decimal, 0, keeps it a decimal number.
QString numberField(double value, QChar decimalSeparator) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = ec == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0 && !text.contains(QLatin1Char('e'))) {
        const QString whole = text.left(point).remove(QLatin1Char('-'));
        if (text.size() - point - 1 == 3 && !whole.isEmpty() && whole.size() <= 3 &&
            whole.front() != QLatin1Char('0'))
            text += QLatin1Char('0');
    }
    if (decimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace

std::optional<QString> decodeText(const QByteArray& bytes) {
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        text = decoder(bytes.mid(2));
        if (decoder.hasError())
            return std::nullopt;
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8(bytes);
        if (utf8.hasError())
            text = fromWindows1252(bytes);
    }
    if (looksBinary(text))
        return std::nullopt;
    return text;
}

QChar detectSeparator(const QString& text) {
    constexpr int kSampleRows = 20;
    QChar best = QLatin1Char(',');
    int bestConsistent = -1;
    qsizetype bestFields = 1;
    for (const QChar sep : {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')}) {
        CsvParser parser(text, sep);
        std::vector<QString> fields;
        qsizetype headerFields = 0;
        int consistent = 0;
        for (int rows = 0; rows < kSampleRows && parser.next(fields);) {
            if (fields.size() == 1 && fields[0].trimmed().isEmpty())
                continue; // a blank line says nothing
            if (rows == 0)
                headerFields = static_cast<qsizetype>(fields.size());
            if (static_cast<qsizetype>(fields.size()) == headerFields)
                ++consistent;
            ++rows;
        }
        if (headerFields < 2)
            continue;
        if (consistent > bestConsistent ||
            (consistent == bestConsistent && headerFields > bestFields)) {
            best = sep;
            bestConsistent = consistent;
            bestFields = headerFields;
        }
    }
    return best;
}

TableRead readCsv(const QByteArray& bytes) {
    TableRead read;
    if (bytes.isEmpty()) {
        read.error = QStringLiteral("El archivo está vacío.");
        return read;
    }
    const std::optional<QString> text = decodeText(bytes);
    if (!text) {
        read.error =
            QStringLiteral("El archivo no es un texto separado por comas (CSV) ni un libro "
                           "de Excel (.xlsx).");
        return read;
    }
    CsvParser parser(*text, detectSeparator(*text));
    std::vector<QString> fields;
    int number = 0;
    while (parser.next(fields)) {
        Row row;
        row.number = ++number;
        row.cells.resize(fields.size());
        for (size_t c = 0; c < fields.size(); ++c) {
            if (fields[c].isEmpty())
                continue;
            row.cells[c].kind = Cell::Kind::Text;
            row.cells[c].text = unprotected(fields[c]);
        }
        read.table.rows.push_back(std::move(row));
        if (parser.unclosedQuote) {
            read.error = QStringLiteral("Fila %1: unas comillas abiertas no se cierran hasta el "
                                        "final del archivo.")
                             .arg(number);
            read.table = {};
            return read;
        }
    }
    if (read.table.rows.empty() || std::all_of(read.table.rows.begin(), read.table.rows.end(),
                                               [](const Row& r) { return r.isBlank(); })) {
        read.error = QStringLiteral("El archivo está vacío.");
        read.table = {};
    }
    return read;
}

QString csvField(const Cell& cell, QChar separator, QChar decimalSeparator) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return {};
    case Cell::Kind::Number:
        return numberField(cell.number, decimalSeparator);
    case Cell::Kind::Boolean:
        return cell.display();
    case Cell::Kind::Text:
    case Cell::Kind::Error:
        break;
    }
    QString text = formulaLike(cell.text) ? QLatin1Char('\'') + cell.text : cell.text;
    if (text.contains(separator) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
        text != text.trimmed()) {
        text.replace(QLatin1Char('"'), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QChar fieldSeparatorFor(QChar decimalSeparator) {
    return decimalSeparator == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

QByteArray csvBytes(const std::vector<std::vector<Cell>>& rows, QChar decimalSeparator) {
    const QChar separator = fieldSeparatorFor(decimalSeparator);
    QString out;
    for (const std::vector<Cell>& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += separator;
            out += csvField(row[c], separator, decimalSeparator);
        }
        out += QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

} // namespace tarvela::files
