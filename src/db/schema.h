#pragma once

#include "db/connection.h"

#include <QString>

namespace tarvela::db {

// Creates the thirteen tables with their keys and look-up indexes, the one parametros row
// (base 1, no customer) and the one versionado row (application 202, database 1).
void createSchema(Connection& conn);

// Brings a file made by an earlier version up to the current schema: tables whose text columns
// name the program's collation (which other tools do not know) are rebuilt with the current
// definition, their rows and their indexes, in one transaction; the tables of groups and of
// ratio and group limits are created when missing, in one transaction; then the look-up indexes
// the file lacks are created. Throws DbError with a message for the user when the file cannot be
// upgraded.
void upgradeSchema(Connection& conn);

// Loads the demo catalog and sample formulas from the CSV files in dataDir, completing the
// composition so that every ingredient has a row for every nutrient. One transaction.
void loadDemo(Connection& conn, const QString& dataDir);

// The folder of the demo CSV files shipped with the program.
QString demoDataDir();

// The password of the program's database.
const QString& databasePassword();

} // namespace tarvela::db
