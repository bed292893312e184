#pragma once

#include <QString>

// Texts compare without regard to case, accented letters next to their plain ones (the collation
// the program registers on its connections). The stored schema does not name the collation, so
// that the file stays readable and writable with the stock SQLCipher shell; the program's own
// statements apply it instead.
namespace tarvela::db {

// The name under which the program registers the collation.
inline constexpr char kTextCollation[] = "jet_text";

// Whether a column name is one of the schema's text columns (codigo, nombre, producto, ...;
// dates are texts too but compare as they are).
bool isTextColumn(const QString& name);

// Adds "COLLATE jet_text" after every reference to a text column that a select, insert, update
// or delete statement compares or sorts: in WHERE, ON, GROUP BY, HAVING and ORDER BY, and inside
// expressions of the result list (max(codigo)). A result column that is only a column reference
// is left as it is, so that its name stays the column's; so are the columns being written by an
// insert or an update. Other statements are returned as they are. The statement must be in the
// engine's SQL already (see translateStatement).
QString applyTextCollation(const QString& sql);

} // namespace tarvela::db
