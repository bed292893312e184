#pragma once

#include "db/db_error.h"
#include "db/result.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace tarvela::db {

// Where the data lives: the password-protected file of one desk, or a database server that
// several workstations share.
enum class Engine { File, Server };

// Values bound, in order, to the "?" placeholders of a statement. A null QVariant is null;
// integers, reals, texts and dates (as 'yyyy-mm-dd') are bound as such.
using Params = QVariantList;

// The database and the statements run on it. Statements are written in the system's own SQL
// dialect (Jet's) and translated for the engine before they reach it; they give the same rows,
// in the same order, on both engines. One connection serves one thread at a time: threads that
// work at once each open their own.
class Connection {
public:
    // The connection string the program uses to reach its database file.
    static const QString& defaultConnectionString();
    // The file and the database password named by a connection string.
    static QString dataSourceOf(const QString& connectionString);
    static QString passwordOf(const QString& connectionString);

    // Whether a database name is a server's address (a libpq connection URI:
    // "postgresql://usuario@host:puerto/base", "postgres://...") rather than a file.
    static bool isServerAddress(const QString& name);

    // Opens an existing file named by a connection string ("Data Source=...;...Password=...;").
    // A missing file, a wrong password or a file that is not a database throw DbError.
    static std::unique_ptr<Connection> openConnectionString(const QString& connectionString);
    // Opens an existing file with its password, or the server at a server's address (the
    // password then goes unused: the server's own ~/.pgpass or PGPASSWORD give it).
    static std::unique_ptr<Connection> open(const QString& pathOrAddress, const QString& password);
    // Creates a new, empty, keyed file; refuses (DbError) when the file exists.
    static std::unique_ptr<Connection> create(const QString& path, const QString& password);
    // Connects to a server. A server that cannot be reached, a wrong password or a database that
    // does not exist throw DbError (DbFailure::Connection) with "No se pudo conectar con el
    // servidor <host>: <motivo>".
    static std::unique_ptr<Connection> openServer(const QString& address);

    // How long a statement waits for another user who holds the data it needs before it fails
    // with databaseInUse().
    static constexpr int kBusyTimeoutMs = 5000;
    virtual void setBusyTimeout(int milliseconds) = 0;

    virtual ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A select statement: the rows, disconnected from the engine.
    Result query(const QString& sql, const Params& params = {});
    // Any other statement: the number of rows it changed.
    int execute(const QString& sql, const Params& params = {});
    // A statement in the engine's own SQL, not translated (definitions only the engine knows:
    // the server's functions, triggers).
    int executeNative(const QString& sql);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    virtual Engine engine() const = 0;
    // The file's path, or the server's address as given (without a password).
    const QString& path() const { return path_; }
    // What the main window shows: the file's name, or "host/base".
    virtual QString displayName() const = 0;
    // Who makes the changes: the server's role, or the operating-system login on the file.
    virtual QString userName() const = 0;

    // The names of the tables and views (lower case), and of the indexes.
    virtual QStringList tableNames() = 0;
    virtual QStringList indexNames() = 0;
    // The columns of a table, as declared.
    virtual QStringList columnNames(const QString& table) = 0;

    // Inside a transaction: waits until no other workstation holds the lock of that name, and
    // holds it until the transaction ends. Keys are allocated under it, so two workstations
    // never compute the same new key. The file's write transaction excludes other writers
    // already.
    virtual void lockForWriting(const QString& name) = 0;

protected:
    explicit Connection(QString path);
    // Runs one statement, already in the program's dialect; rows go to the result when wanted.
    virtual Result run(const QString& sql, const Params& params, bool wantRows, int* changed,
                       bool native) = 0;
    virtual void beginUnit() = 0;
    virtual void commitUnit() = 0;
    virtual void rollbackUnit() = 0;
    int depth() const { return depth_; }
    // The engine lost the transaction by itself (a lost connection): the units in course end.
    void transactionLost() {
        if (depth_ > 0)
            doomed_ = true;
    }

private:
    QString path_;
    int depth_ = 0;
    // An inner unit rolled back: the outer one cannot commit.
    bool doomed_ = false;
};

// All statements run between construction and commit() form one unit: leaving the scope without
// commit() rolls them back. Nested transactions join the outer one. On the file the unit takes
// the write lock when it starts, so another process's writes make it wait at its start, never
// fail halfway.
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
