#include "db/statements.h"

#include <charconv>
#include <cmath>

namespace tarvela::db {

QString sqlText(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString sqlReal(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("null");
    if (value == 0)
        return QStringLiteral("0");
    char buffer[400];
    const double magnitude = std::fabs(value);
    // Plain digits for the figures the system handles; exponent form only for extreme values.
    const auto format = magnitude >= 1e-6 && magnitude < 1e15 ? std::chars_format::fixed
                                                              : std::chars_format::scientific;
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    if (ec != std::errc())
        return QStringLiteral("null");
    return QString::fromLatin1(buffer, end - buffer);
}

QString sqlReal(const std::optional<double>& value) {
    return value ? sqlReal(*value) : QStringLiteral("null");
}

QString sqlInt(long long value) {
    return QString::number(value);
}

QString sqlDate(const QDate& date) {
    if (!date.isValid())
        return QStringLiteral("null");
    return QStringLiteral("#%1/%2/%3#")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString rightAlignCode(const QString& code, int width) {
    return code.trimmed().left(width).rightJustified(width, QLatin1Char(' '));
}

QString sqlCode(const QString& code) {
    return sqlText(rightAlignCode(code));
}

} // namespace tarvela::db
