#pragma once

#include "db/connection.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace tarvela::test {

// A database of its own for one test, with the schema (and optionally the demo data), removed
// with the object. The engine is the keyed file in a temporary folder, or, when the environment
// names a scratch server (TARVELA_TEST_SERVER, a libpq address), a schema of its own on that
// server: the same tests run on both engines.
class TestDatabase {
public:
    enum class Contents { Empty, Schema, Demo };
    explicit TestDatabase(Contents contents = Contents::Schema);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The engine the tests run on.
    static db::Engine engine();
    static bool onServer() { return engine() == db::Engine::Server; }
    // The scratch server's address, empty when the tests run on the file.
    static QString serverAddress();
    // Whether PostgreSQL's server programs are on this machine (the scratch server can start).
    static bool serverInstalled();

    db::Connection& conn() { return *conn_; }
    std::unique_ptr<db::Connection> takeConnection() { return std::move(conn_); }
    // The file's path, or the server address that reaches this test's schema: what the program,
    // the command line and a second connection open.
    const QString& path() const { return path_; }
    // A temporary folder of the test's own (the installation folder of window tests).
    const QString& folder() const { return folder_; }
    // Another connection to the same database, as a second workstation would open it.
    std::unique_ptr<db::Connection> openAnother() const;

    // Makes every INSERT, UPDATE or DELETE (event) on a table fail, when the condition holds (SQL
    // on the row's columns as NEW.column or OLD.column; empty: always): the failure a full disk
    // would give.
    void failOn(const QString& event, const QString& table, const QString& when = QString());
    // Statements on the table succeed again.
    void stopFailing(const QString& event, const QString& table);

    // An empty database for the same engine (for a copy's target): a file path that does not
    // exist yet, or the address of another empty schema, removed with this object.
    QString emptyTarget();

private:
    QTemporaryDir dir_;
    QString folder_;
    QString path_;
    QStringList schemas_; // on the server: the schemas to drop
    std::unique_ptr<db::Connection> conn_;
};

} // namespace tarvela::test

// Skips a test of the file alone (its format, its locks, the stock shell, the process that
// builds it) when the tests run on the server.
#define TARVELA_FILE_ONLY()                                                                        \
    do {                                                                                           \
        if (::tarvela::test::TestDatabase::onServer())                                             \
            GTEST_SKIP() << "del archivo solamente";                                               \
    } while (0)
