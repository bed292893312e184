#pragma once

#include "db/sql_tokens.h"

#include <QString>

#include <vector>

// Texts compare without regard to case, accented letters next to their plain ones (the collation
// the program registers on the file's connections, and builds from functions on a server). The
// stored schema does not name the collation, so that the file stays readable and writable with
// the stock SQLCipher shell; the program's own statements apply it instead.
namespace tarvela::db {

// The name under which the program registers the collation.
inline constexpr char kTextCollation[] = "jet_text";

// Whether a column name is one of the schema's text columns (codigo, nombre, producto, ...;
// dates are texts too but compare as they are).
bool isTextColumn(const QString& name);

// How a text column is used where the collation applies.
enum class CollatedUse { Comparison, OrderOrGroup, MinMax };

// A reference to a text column, from its first token (the table of table.column) to its last.
struct CollatedColumn {
    size_t first;
    size_t last;
    CollatedUse use;
};

// The text columns of a select, insert, update or delete statement that are compared or sorted:
// in WHERE, ON, GROUP BY, HAVING and ORDER BY, and inside expressions of the result list
// (max(codigo)). A result column that is only a column reference is left out, so that its name
// stays the column's; so are the columns being written by an insert or an update, and columns
// that name a collation already. Other statements have none.
std::vector<CollatedColumn> collatedColumns(const std::vector<Token>& tokens);

// Adds "COLLATE jet_text" after every column of collatedColumns. The statement must be in the
// embedded engine's SQL already (see translateStatement).
QString applyTextCollation(const QString& sql);

} // namespace tarvela::db
