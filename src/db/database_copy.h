#pragma once

#include "db/connection.h"

#include <QString>

#include <vector>

// Moving a mill's data between databases: from the file onto a server, from a server back to a
// file.
namespace tarvela::db {

struct CopiedTable {
    QString table;
    int rows = 0;
};

// Copies every row of the program's tables from one database to another that has none of them:
// the source is brought to the current schema first, the target gets the schema and then the
// rows, all in one transaction on the target, and the rows of every table are counted after.
// Throws DbError (nothing written on the target) when the target has the program's tables
// already, when a row cannot be stored, or when the counts differ.
std::vector<CopiedTable> copyDatabase(Connection& from, Connection& to);

// copyDatabase into a database named by a file path that does not exist yet (built whole or not
// at all, see createDatabaseFile) or by a server's address.
std::vector<CopiedTable> copyDatabaseTo(Connection& from, const QString& target);

} // namespace tarvela::db
