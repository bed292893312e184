#pragma once

#include "db/connection.h"

// The functions through which the server compares texts as the file's engine does with the
// program's collation and like (see server_dialect.cpp): tarvela_pliegue(text) folds case;
// tarvela_clave(text) is a key whose byte order is the collation's order and which is equal for
// texts the collation takes as equal; the aggregates tarvela_max and tarvela_min. The Latin
// letters are mapped by tables made from the program's own collation, so the orders agree.
namespace tarvela::db {

// Creates (or replaces) the functions in the connection's schema; nothing on the file.
void createServerFunctions(Connection& conn);
// Whether the server holds the functions as this version defines them (always on the file).
bool serverFunctionsCurrent(Connection& conn);

} // namespace tarvela::db
