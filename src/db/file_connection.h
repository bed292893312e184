#pragma once

#include "db/connection.h"

#include <memory>

// The embedded engine: the SQLCipher file of one desk.
namespace tarvela::db {

// An existing file with its password; see Connection::open.
std::unique_ptr<Connection> openFile(const QString& path, const QString& password);
// A new, empty, keyed file; see Connection::create.
std::unique_ptr<Connection> createFile(const QString& path, const QString& password);

// The operating-system login of the process: who makes the changes on the file.
QString systemLogin();

} // namespace tarvela::db
