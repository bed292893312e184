#pragma once

#include "context/desktop.h"
#include "db/result.h"

#include <QString>

// Writing rows to a comma-separated file that the user names, then opening it with the program
// the desktop associates with such files.
namespace tarvela {

// The save-file dialog "Guardar Diario General" with the CSV and all-files filters. The chosen
// path without NUL characters and surrounding blanks, or empty text when the user cancels.
QString askCsvFileName(Desktop& desktop);

// The name the file is written under: ".csv" is appended unless the name already ends in ".csv"
// in any mix of case.
QString csvFileName(const QString& chosen);

// One cell as written: a null value as "", any other value as its text in the workstation's
// settings (numbers with the given decimal separator) with double quotes turned into single
// quotes, between double quotes. A text that begins with "=", "+", "-" or "@" and is not a
// figure gets a leading apostrophe: a spreadsheet shows it as text instead of running it as a
// formula.
QString csvCell(const QVariant& value, QChar decimalSeparator);

// The file contents in UTF-8 with a byte-order mark (spreadsheets then read accented texts
// right): the header (column names between double quotes, blank for names beginning with "_",
// ended by a line feed) unless omitted, then one line per row ended by a carriage return.
QByteArray csvContents(const db::Result& rows, bool omitHeader, QChar decimalSeparator);

// Asks for the file name, writes the rows, reports "Archivo generado." and opens the file. An
// existing file is replaced only when the user agrees. Cancelling writes nothing; a failed write
// says which file and why ("No se pudo escribir el archivo '<ruta>': permiso denegado.") and
// ends the operation, leaving any earlier file as it was.
void writeCsvFile(Desktop& desktop, const db::Result& rows, bool omitHeader);

} // namespace tarvela
