#include "text/format.h"

#include "text/decimal_text.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <string>

namespace tarvela::text {

namespace {

// One section of a numeric pattern, split into its parts.
struct NumberPattern {
    QString prefix;
    QString suffix;
    int integerPlaces = 0;
    int forcedIntegerDigits = 0;
    bool grouping = false;
    bool hasPoint = false;
    int maxDecimals = 0;
    int minDecimals = 0;
    bool percent = false;
    bool hasPlaceholders = false;
};

bool isPlaceholder(QChar c) {
    return c == u'#' || c == u'0';
}

// Appends the literal starting at pattern[i] to out and returns the index after it: a quoted
// text, a backslash-escaped character or a plain character.
qsizetype takeLiteral(const QString& pattern, qsizetype i, QString& out, bool& percent) {
    const QChar c = pattern[i];
    if (c == u'\\' && i + 1 < pattern.size()) {
        out += pattern[i + 1];
        return i + 2;
    }
    if (c == u'"') {
        const qsizetype close = pattern.indexOf(u'"', i + 1);
        if (close < 0) {
            out += pattern.mid(i + 1);
            return pattern.size();
        }
        out += pattern.mid(i + 1, close - i - 1);
        return close + 1;
    }
    if (c == u'%')
        percent = true;
    out += c;
    return i + 1;
}

NumberPattern parseNumberPattern(const QString& pattern) {
    NumberPattern p;
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    // Literals before the first placeholder or point.
    while (i < n && !isPlaceholder(pattern[i]) && pattern[i] != u'.')
        i = takeLiteral(pattern, i, p.prefix, p.percent);
    bool firstZeroSeen = false;
    // Integer placeholders (with optional grouping commas).
    while (i < n && (isPlaceholder(pattern[i]) || pattern[i] == u',')) {
        if (pattern[i] == u',') {
            p.grouping = true;
        } else {
            p.hasPlaceholders = true;
            ++p.integerPlaces;
            if (pattern[i] == u'0')
                firstZeroSeen = true;
            if (firstZeroSeen)
                ++p.forcedIntegerDigits;
        }
        ++i;
    }
    if (i < n && pattern[i] == u'.') {
        p.hasPoint = true;
        ++i;
        int position = 0;
        while (i < n && isPlaceholder(pattern[i])) {
            p.hasPlaceholders = true;
            ++position;
            if (pattern[i] == u'0')
                p.minDecimals = position;
            ++i;
        }
        p.maxDecimals = position;
    }
    while (i < n)
        i = takeLiteral(pattern, i, p.suffix, p.percent);
    return p;
}

// The plain number with up to 15 significant digits ("General Number").
QString generalNumber(double value, QChar decimalSeparator) {
    const detail::DecimalDigits d = detail::toDecimalDigits(value);
    if (d.digits.empty())
        return QStringLiteral("0");
    int decimals = d.exponent < 0 ? -d.exponent : 0;
    std::string scaled = detail::roundedScaledDigits(d, decimals);
    if (static_cast<int>(scaled.size()) <= decimals)
        scaled.insert(0, static_cast<size_t>(decimals) + 1 - scaled.size(), '0');
    QString text = QString::fromStdString(scaled);
    if (decimals > 0)
        text.insert(text.size() - decimals, decimalSeparator);
    return d.negative ? QLatin1Char('-') + text : text;
}

QString applyNumberPattern(const detail::DecimalDigits& magnitude, bool negative,
                           const NumberPattern& p, QChar decimalSeparator) {
    detail::DecimalDigits d = magnitude;
    if (p.percent && !d.digits.empty())
        d.exponent += 2;
    std::string scaled = detail::roundedScaledDigits(d, p.maxDecimals);
    const bool zero = scaled.empty();
    if (static_cast<int>(scaled.size()) < p.maxDecimals)
        scaled.insert(0, static_cast<size_t>(p.maxDecimals) - scaled.size(), '0');
    std::string integerDigits =
        scaled.substr(0, scaled.size() - static_cast<size_t>(p.maxDecimals));
    std::string decimals = scaled.substr(integerDigits.size());
    while (static_cast<int>(decimals.size()) > p.minDecimals && decimals.back() == '0')
        decimals.pop_back();
    const auto nonZero = integerDigits.find_first_not_of('0');
    integerDigits = nonZero == std::string::npos ? std::string() : integerDigits.substr(nonZero);
    if (static_cast<int>(integerDigits.size()) < p.forcedIntegerDigits)
        integerDigits.insert(0, static_cast<size_t>(p.forcedIntegerDigits) - integerDigits.size(),
                             '0');
    QString integerText = QString::fromStdString(integerDigits);
    if (p.grouping) {
        const QChar groupSeparator = decimalSeparator == u',' ? u'.' : u',';
        for (qsizetype at = integerText.size() - 3; at > 0; at -= 3)
            integerText.insert(at, groupSeparator);
    }
    QString text = p.prefix + integerText;
    if (p.hasPoint)
        text += decimalSeparator + QString::fromStdString(decimals);
    text += p.suffix;
    return negative && !zero ? QLatin1Char('-') + text : text;
}

QString namedPattern(const QString& pattern) {
    const QString name = pattern.trimmed().toLower();
    if (name == QLatin1String("fixed"))
        return QStringLiteral("0.00");
    if (name == QLatin1String("standard"))
        return QStringLiteral("#,##0.00");
    if (name == QLatin1String("percent"))
        return QStringLiteral("0.00%");
    return pattern;
}

bool isDatePattern(const QString& pattern) {
    bool letters = false;
    for (const QChar c : pattern) {
        if (isPlaceholder(c))
            return false;
        const QChar l = c.toLower();
        if (l == u'd' || l == u'm' || l == u'y')
            letters = true;
    }
    return letters;
}

QDate isoDate(const QString& text) {
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})"));
    const auto m = iso.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

} // namespace

QChar workstationDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

QString formatNumber(double value, const QString& pattern, QChar decimalSeparator) {
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NaN")
                                 : (value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf"));
    const QString expanded = namedPattern(pattern);
    const QStringList sections = expanded.split(u';');
    const detail::DecimalDigits d = detail::toDecimalDigits(value);
    // Sections: positive;negative;zero. A negative section shows the magnitude without a sign.
    if (sections.size() >= 2 && d.negative && !sections[1].isEmpty()) {
        const NumberPattern p = parseNumberPattern(sections[1]);
        if (p.hasPlaceholders)
            return applyNumberPattern(d, false, p, decimalSeparator);
    }
    const NumberPattern p = parseNumberPattern(sections[0]);
    if (!p.hasPlaceholders)
        return p.prefix + generalNumber(value, decimalSeparator) + p.suffix;
    const QString text = applyNumberPattern(d, d.negative, p, decimalSeparator);
    if (sections.size() >= 3 && !sections[2].isEmpty() &&
        detail::roundedScaledDigits(d, p.maxDecimals + (p.percent ? 2 : 0)).empty())
        return formatNumber(0, sections[2], decimalSeparator);
    return text;
}

QString formatDate(const QDate& date, const QString& pattern) {
    if (!date.isValid())
        return {};
    const QLocale locale;
    QString out;
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    while (i < n) {
        const QChar c = pattern[i].toLower();
        if (c != u'd' && c != u'm' && c != u'y') {
            bool percent = false;
            i = takeLiteral(pattern, i, out, percent);
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && pattern[i + run].toLower() == c)
            ++run;
        i += run;
        if (c == u'd') {
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
            else
                out += locale.dayName(date.dayOfWeek(),
                                      run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (c == u'm') {
            if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
            else
                out += locale.monthName(date.month(),
                                        run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else {
            if (run == 1)
                out += QString::number(date.dayOfYear());
            else if (run == 2)
                out += QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'));
            else
                out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
        }
    }
    return out;
}

QString formatValue(const QVariant& value, const QString& pattern, QChar decimalSeparator) {
    if (!value.isValid() || value.isNull())
        return {};
    const bool datePattern = isDatePattern(pattern);
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return formatDate(value.toDate(), datePattern ? pattern : QStringLiteral("dd/mm/yyyy"));
    case QMetaType::QDateTime:
        return formatDate(value.toDateTime().date(),
                          datePattern ? pattern : QStringLiteral("dd/mm/yyyy"));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool: {
        const double number = value.toDouble();
        if (datePattern) // a date held as its serial day number
            return formatDate(QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(number))),
                              pattern);
        return formatNumber(number, pattern, decimalSeparator);
    }
    default:
        break;
    }
    const QString text = value.toString();
    if (datePattern) {
        const QDate date = isoDate(text);
        return date.isValid() ? formatDate(date, pattern) : text;
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (ok)
        return formatNumber(number, pattern, decimalSeparator);
    const std::optional<double> typed = parseUserNumber(text);
    if (typed)
        return formatNumber(*typed, pattern, decimalSeparator);
    return text;
}

QString formatFull(double value, QChar decimalSeparator) {
    return formatNumber(value, QStringLiteral("0.###############"), decimalSeparator);
}

bool withinTable(double value) {
    return std::fabs(value) <= kLargestTableValue;
}

QString outsideTableMessage() {
    return QStringLiteral("El valor debe estar entre -1000000 y 1000000");
}

double roundDecimal(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    const detail::DecimalDigits d = detail::toDecimalDigits(value);
    const std::string scaled = detail::roundedScaledDigits(d, decimals);
    if (scaled.empty())
        return 0.0;
    const std::string text = scaled + "e" + std::to_string(-decimals);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return d.negative ? -result : result;
}

std::optional<double> parseUserNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+[.,]?\\d*|[.,]\\d+)$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    QString plain = trimmed;
    plain.replace(u',', u'.');
    if (plain.startsWith(u'+'))
        plain.remove(0, 1);
    const std::string ascii = plain.toStdString();
    double result = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), result);
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return result;
}

} // namespace tarvela::text
