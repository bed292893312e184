#pragma once

#include "db/connection.h"

#include <QString>

#include <functional>

namespace tarvela::db {

// Builds a new database file whole or not at all. The file is made under a short temporary name
// in the same folder (".tarvela-db-" and six random characters), filled by build(), closed and
// flushed, and only then given its own name, which must not exist: an existing file is never
// replaced, not even when two runs race for the name (the loser fails with DbError). On every
// failure, and when the process is interrupted or terminated (SIGINT, SIGTERM, SIGHUP, SIGQUIT)
// meanwhile, the temporary file is removed. The build holds a lock on its temporary file from
// before the file has a name; a build that was killed outright leaves its temporary file
// unlocked, and the next build in the folder removes it (never one that another build holds).
void createDatabaseFile(const QString& path, const QString& password,
                        const std::function<void(Connection&)>& build);

} // namespace tarvela::db
