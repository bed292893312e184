#pragma once

#include "files/table.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <optional>
#include <vector>

// Comma-separated texts as spreadsheet programs write them: read into a table of text cells,
// and written back so that they read the same.
namespace tarvela::files {

// The text of a file: UTF-8 (with or without its byte-order mark) or UTF-16 with its mark;
// anything else that is not valid UTF-8 is read as Windows-1252. Nothing when the bytes are not
// a text (NUL bytes, control characters).
std::optional<QString> decodeText(const QByteArray& bytes);

// The separator of a text's fields: ";", "," or tab, whichever splits the first rows into the
// same number of fields, more than one; ties go to ";", then tab, then ",". Fields between
// double quotes do not count.
QChar detectSeparator(const QString& text);

// Reads a CSV text: the separator detected, fields between double quotes (with "" for a quote,
// and separators and line breaks inside), rows ended by CR LF, LF or CR. Every non-empty field
// is a text cell, without the apostrophe csvField puts before a formula-like text; a blank line
// is a row with one empty cell, so row numbers match the lines a spreadsheet shows.
TableRead readCsv(const QByteArray& bytes);

// One field as written: numbers in their shortest exact form with the decimal separator,
// never with exactly three decimals after a short whole part ("2.125" is written "2.1250", which
// cannot be read as 2125); texts between double quotes when they hold the separator, a quote, a
// line break or blanks at an end; a text a spreadsheet would take for a formula (starting with
// =, +, -, @, tab or CR) behind an apostrophe, which readCsv removes again.
QString csvField(const Cell& cell, QChar separator, QChar decimalSeparator);

// The field separator that goes with a decimal separator: ";" with ",", else ",".
QChar fieldSeparatorFor(QChar decimalSeparator);

// The whole text: UTF-8 with a byte-order mark, rows ended by CR LF.
QByteArray csvBytes(const std::vector<std::vector<Cell>>& rows, QChar decimalSeparator);

} // namespace tarvela::files
