#pragma once

#include "db/connection.h"
#include "files/table.h"

#include <QChar>
#include <QString>

#include <vector>

// The composition of a base written as the table the composition import reads: one row per
// ingredient (Código, Nombre, Unidad, Costo, Materia Seca) and one column per nutrient, named by
// the nutrient's name with its unit in parentheses. Importing the file again changes nothing.
namespace tarvela::imports {

// The table: the headings, then the base's ingredients by code, nutrients by name. A content
// the catalog lacks is an empty cell. Throws db::DbError.
std::vector<std::vector<files::Cell>> compositionTable(db::Connection& conn, int base);

// Writes the table to path as a workbook (.xlsx) or a CSV text (.csv, numbers with the decimal
// separator given), chosen by the name's extension. The file is written whole under a
// temporary name and then takes its name, replacing a file there. Returns the failure's
// description; empty when written. Throws db::DbError.
QString exportComposition(db::Connection& conn, int base, const QString& path,
                          QChar decimalSeparator);

} // namespace tarvela::imports
