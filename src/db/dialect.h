#pragma once

#include <QString>

// The statements of the system are written in Jet's SQL. The engine underneath speaks SQLite;
// this turns one into the other without touching anything inside string literals:
// - #mm/dd/yyyy# date literals become 'yyyy-mm-dd' texts (dates are stored as ISO text);
// - the words true and false become 1 and 0;
// - "double-quoted" texts become 'single-quoted' ones;
// - the concatenation operator & becomes ||;
// - texts compare and sort with the program's text collation (see applyTextCollation).
namespace tarvela::db {

QString translateStatement(const QString& jetSql);

} // namespace tarvela::db
