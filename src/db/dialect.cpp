#include "db/dialect.h"

#include "db/text_collation.h"

#include <QDate>
#include <QRegularExpression>

namespace tarvela::db {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// The date inside #...#: month/day/year (two-digit years 00-29 are 20xx, 30-99 19xx), or
// year-month-day. An empty text when it is not a date.
QString isoFromJetDate(const QString& inside) {
    static const QRegularExpression mdy(
        QStringLiteral("^\\s*(\\d{1,2})[/-](\\d{1,2})[/-](\\d{2}|\\d{4})\\s*$"));
    static const QRegularExpression ymd(
        QStringLiteral("^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})\\s*$"));
    QDate date;
    if (const auto m = mdy.match(inside); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
    } else if (const auto y = ymd.match(inside); y.hasMatch()) {
        date = QDate(y.captured(1).toInt(), y.captured(2).toInt(), y.captured(3).toInt());
    }
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

QString translateStatement(const QString& jetSql) {
    QString out;
    out.reserve(jetSql.size() + 16);
    const qsizetype n = jetSql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = jetSql[i];
        if (c == u'\'') { // text literal, copied as it is ('' stays inside)
            qsizetype j = i + 1;
            while (j < n) {
                if (jetSql[j] == u'\'') {
                    if (j + 1 < n && jetSql[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += jetSql.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == u'"') { // Jet text literal in double quotes
            QString text;
            qsizetype j = i + 1;
            while (j < n) {
                if (jetSql[j] == u'"') {
                    if (j + 1 < n && jetSql[j + 1] == u'"') {
                        text += u'"';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += jetSql[j];
                ++j;
            }
            text.replace(QLatin1Char('\''), QLatin1String("''"));
            out += QLatin1Char('\'') + text + QLatin1Char('\'');
            i = j + 1;
        } else if (c == u'[') { // bracketed name
            const qsizetype close = jetSql.indexOf(u']', i);
            const qsizetype end = close < 0 ? n : close + 1;
            out += jetSql.mid(i, end - i);
            i = end;
        } else if (c == u'#') {
            const qsizetype close = jetSql.indexOf(u'#', i + 1);
            const QString iso =
                close < 0 ? QString() : isoFromJetDate(jetSql.mid(i + 1, close - i - 1));
            if (iso.isEmpty()) { // not a date: left for the engine to refuse
                out += c;
                ++i;
            } else {
                out += QLatin1Char('\'') + iso + QLatin1Char('\'');
                i = close + 1;
            }
        } else if (c == u'&') {
            out += QLatin1String("||");
            ++i;
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(jetSql[j]))
                ++j;
            const QString word = jetSql.mid(i, j - i);
            const bool qualified = i > 0 && jetSql[i - 1] == u'.';
            if (!qualified && word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                out += QLatin1Char('1');
            else if (!qualified && word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                out += QLatin1Char('0');
            else
                out += word;
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return applyTextCollation(out);
}

} // namespace tarvela::db
