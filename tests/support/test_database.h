#pragma once

#include "db/connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace tarvela::test {

// A keyed database file in a temporary folder, with the schema (and optionally the demo data),
// deleted with the object.
class TestDatabase {
public:
    enum class Contents { Empty, Schema, Demo };
    explicit TestDatabase(Contents contents = Contents::Schema);

    db::Connection& conn() { return *conn_; }
    std::unique_ptr<db::Connection> takeConnection() { return std::move(conn_); }
    const QString& path() const { return path_; }
    const QString& folder() const { return folder_; }

private:
    QTemporaryDir dir_;
    QString folder_;
    QString path_;
    std::unique_ptr<db::Connection> conn_;
};

} // namespace tarvela::test
