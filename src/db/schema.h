#pragma once

#include "db/connection.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tarvela::db {

// Creates the eighteen tables with their keys and look-up indexes (the nine of the catalogs,
// formulas and parameters, the record of changes, the price history, the four of groups and of
// ratio and group limits, and the three of production plans), the one parametros row (base 1, no
// customer) and the one versionado row (application 202, database 1); on a server, the functions
// its statements use first (see server_functions.h). One transaction.
void createSchema(Connection& conn);

// The nine tables every database of the program holds, whatever its version (lower case).
const QStringList& programTables();
// Whether the database holds any of them.
bool hasProgramTables(Connection& conn);

// The statements createSchema runs: the tables, their indexes and the first rows.
std::vector<const char*> schemaStatements();
// The tables the schema creates, in its order.
QStringList schemaTables();

// Brings a database made by an earlier version up to the current schema (see
// schema_upgrade.cpp for the steps). A database that lacks the program's tables is refused
// (DbFailure::NotProgram) with "El archivo '<ruta>' no es una base de datos de Tarvela." or, on a
// server, "La base de datos <host/base> no es una base de datos de Tarvela."; one that cannot be
// upgraded throws DbError with a message for the user.
void upgradeSchema(Connection& conn);

// Loads the demo catalog and sample formulas from the CSV files in dataDir, completing the
// composition so that every ingredient has a row for every nutrient. One transaction.
void loadDemo(Connection& conn, const QString& dataDir);

// The folder of the demo CSV files shipped with the program.
QString demoDataDir();

// The password of the program's database.
const QString& databasePassword();

} // namespace tarvela::db
