#pragma once

#include "db/connection.h"

// New keys of the catalogs. A key is 1 + the largest key found in the catalog's table and in the
// tables that refer to it, so a key whose item was deleted while formulas still name it is
// never given again: a new item cannot silently join old formulas. On a clean database this is
// the table's maximum plus 1 (1 for an empty table).
namespace tarvela::catalogs {

enum class Catalog { Nutrients, Ingredients, Groups, Customers };

// The next key of a catalog, inside the caller's inserting transaction, which holds the
// catalog's key lock until it ends (see db::Connection::lockForWriting). Nutrient, ingredient and
// group keys travel between windows as 16-bit
// values: a key above 32767 is refused (db::KeyError with the message for the user) before
// anything is written. Throws db::DbError when the maximum cannot be read.
int nextCatalogKey(db::Connection& conn, Catalog catalog);

} // namespace tarvela::catalogs
