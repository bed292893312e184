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

// A number in full for a box that edits it: every digit that counts (up to 15 significant),
// trailing zeros trimmed, never an exponent.
QString formatFull(double value, QChar decimalSeparator);

// Rounds half away from zero to the given decimals, on the value's 15-significant-digit decimal
// form (the rounding the windows apply before storing an edited value).
double roundDecimal(double value, int decimals);

// Reads a number typed by the user: both "." and "," are taken as the decimal separator; blanks
// around it are ignored. std::nullopt when the text is not a number.
std::optional<double> parseUserNumber(const QString& text);

// The largest magnitude of a nutrient content or a nutrient limit: no feed table holds a content
// beyond a whole ingredient, 1,000,000 PPM or mg per kg. Larger values would be lost in the
// solver's round-off; they are refused where they are typed and before a run.
constexpr double kLargestTableValue = 1e6;
bool withinTable(double value); // false for NaN too
// "El valor debe estar entre -1000000 y 1000000"
QString outsideTableMessage();

} // namespace tarvela::text
