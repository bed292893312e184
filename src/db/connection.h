#pragma once

#include "db/db_error.h"
#include "db/result.h"

#include <QString>

#include <chrono>
#include <memory>

struct sqlite3;

namespace tarvela::db {

// The password-protected database file and the statements run on it. Statements are written in
// the system's own SQL dialect (Jet's) and translated before they reach the engine.
class Connection {
public:
    // The connection string the program uses to reach its database.
    static const QString& defaultConnectionString();
    // The file and the database password named by a connection string.
    static QString dataSourceOf(const QString& connectionString);
    static QString passwordOf(const QString& connectionString);

    // Opens an existing file named by a connection string ("Data Source=...;...Password=...;").
    // A missing file, a wrong password or a file that is not a database throw DbError.
    static std::unique_ptr<Connection> openConnectionString(const QString& connectionString);
    static std::unique_ptr<Connection> open(const QString& path, const QString& password);
    // Creates a new, empty, keyed file; refuses (DbError) when the file exists.
    static std::unique_ptr<Connection> create(const QString& path, const QString& password);

    // How long a statement waits for another process that holds the file locked before it
    // fails with databaseInUse().
    static constexpr int kBusyTimeoutMs = 5000;
    void setBusyTimeout(int milliseconds);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A select statement: the rows, disconnected from the engine.
    Result query(const QString& sql);
    // Any other statement: the number of rows it changed.
    int execute(const QString& sql);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    const QString& path() const { return path_; }

private:
    Connection(sqlite3* handle, QString path);
    [[noreturn]] void fail(int code) const;
    // Whether a statement that found the file locked may simply run again.
    bool mayRetryBusy(int code, const std::chrono::steady_clock::time_point& started) const;

    sqlite3* handle_;
    QString path_;
    int busyTimeoutMs_ = kBusyTimeoutMs;
    int depth_ = 0;
    // An inner unit rolled back: the outer one cannot commit.
    bool doomed_ = false;
};

// All statements run between construction and commit() form one unit: leaving the scope without
// commit() rolls them back. Nested transactions join the outer one. The unit takes the file's
// write lock when it starts, so another process's writes make it wait at its start, never fail
// halfway.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& conn_;
    bool done_ = false;
};

} // namespace tarvela::db
