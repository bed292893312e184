#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Pieces of statements built as text. Every value that reaches a statement goes through one of
// these, so that quotes, separators and codes are always written the same way.
namespace tarvela::db {

// A text between single quotes, every single quote in it doubled: 'Harina d''avena'.
QString sqlText(const QString& text);
// A real with "." as decimal separator whatever the workstation uses, exact to the last digit.
QString sqlReal(double value);
// A nullable real: "null" when absent.
QString sqlReal(const std::optional<double>& value);
QString sqlInt(long long value);
// A date literal between "#" signs, month first: #12/31/2026#.
QString sqlDate(const QDate& date);

// A code as stored: trimmed, cut to width characters, filled on the left with blanks.
QString rightAlignCode(const QString& code, int width = 20);
// sqlText(rightAlignCode(code)).
QString sqlCode(const QString& code);

} // namespace tarvela::db
