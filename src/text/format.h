#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

// The display patterns of the system ("#####0.00#", "0.00##", "##0.00%", "0.000", "dd/mm/yyyy",
// ...). Numbers are rounded half away from zero on their decimal value as seen after 15
// significant digits, so 99.995 with two decimals shows 100.00.
namespace tarvela::text {

// The decimal separator of the workstation (the default QLocale's).
QChar workstationDecimalSeparator();

QString formatNumber(double value, const QString& pattern, QChar decimalSeparator);
QString formatDate(const QDate& date, const QString& pattern);
// Format(value, pattern) as statements and windows use it: numbers, dates (also dates held as
// "yyyy-mm-dd" text) and numeric texts; null gives an empty text; other texts are returned as
// they are.
QString formatValue(const QVariant& value, const QString& pattern, QChar decimalSeparator);

// Rounds half away from zero to the given decimals, on the value's 15-significant-digit decimal
// form (the rounding the windows apply before storing an edited value).
double roundDecimal(double value, int decimals);

// Reads a number typed by the user: both "." and "," are taken as the decimal separator; blanks
// around it are ignored. std::nullopt when the text is not a number.
std::optional<double> parseUserNumber(const QString& text);

} // namespace tarvela::text
