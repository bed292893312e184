#include "db/connection.h"

#include "db/dialect.h"
#include "db/sql_functions.h"

#include <sqlite3.h>

#include <QFileInfo>

#include <thread>

namespace tarvela::db {

namespace {

// Finalizes a prepared statement on every way out.
class Statement {
public:
    Statement() = default;
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt** out() { return &stmt_; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

QString engineMessage(sqlite3* handle) {
    return QString::fromUtf8(sqlite3_errmsg(handle));
}

const QString& inUseMessage() {
    static const QString text =
        QStringLiteral("La base de datos está en uso por otro usuario; no se realizó ningún "
                       "cambio. Intente nuevamente en unos momentos.");
    return text;
}

// A failed statement: a file kept locked by another process is told apart from the rest.
DbError engineError(sqlite3* handle, int code) {
    if ((code & 0xff) == SQLITE_BUSY)
        return DbError(SQLITE_BUSY, inUseMessage());
    return DbError(code, engineMessage(handle));
}

// Reads "key=value;key=value;" into the value of one key (names without regard to case).
QString connectionValue(const QString& connectionString, const QString& key) {
    for (const QString& part : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return {};
}

QString passwordIn(const QString& connectionString) {
    QString password =
        connectionValue(connectionString, QStringLiteral("jet oledb:database password"));
    if (password.isEmpty())
        password = connectionValue(connectionString, QStringLiteral("password"));
    return password;
}

sqlite3* openHandle(const QString& path, const QString& password, int flags) {
    sqlite3* handle = nullptr;
    const QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            handle ? engineMessage(handle) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(handle);
        throw DbError(rc,
                      QStringLiteral("No se pudo abrir el archivo '%1': %2").arg(path, message));
    }
    // Another process writing the file makes statements wait for it, not fail.
    sqlite3_busy_timeout(handle, Connection::kBusyTimeoutMs);
    const QByteArray key = password.toUtf8();
    rc = sqlite3_key(handle, key.constData(), static_cast<int>(key.size()));
    if (rc == SQLITE_OK)
        rc = registerSqlFunctions(handle);
    // The first read of the file tells a wrong password or a file that is not a database.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    // The whole catalog fits in memory: pages are decrypted once, not at every look-up.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(handle, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        DbError error = engineError(handle, rc);
        if (rc == SQLITE_NOTADB)
            error = DbError(rc, QStringLiteral("La contraseña no es válida o el archivo '%1' no es "
                                               "una base de datos (%2).")
                                    .arg(path, engineMessage(handle)));
        sqlite3_close(handle);
        throw error;
    }
    return handle;
}

} // namespace

DbError::DbError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number), description_(description) {}

bool DbError::databaseInUse() const {
    return number_ == SQLITE_BUSY;
}

const QString& Connection::defaultConnectionString() {
    static const QString value = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=TarvelaN.mdb;Persist Security Info=False;"
        "jet oledb:database Password=qolment527;");
    return value;
}

QString Connection::dataSourceOf(const QString& connectionString) {
    return connectionValue(connectionString, QStringLiteral("data source"));
}

QString Connection::passwordOf(const QString& connectionString) {
    return passwordIn(connectionString);
}

std::unique_ptr<Connection> Connection::openConnectionString(const QString& connectionString) {
    const QString source = dataSourceOf(connectionString);
    if (source.isEmpty())
        throw DbError(SQLITE_MISUSE,
                      QStringLiteral("La cadena de conexión no indica el archivo de datos."));
    return open(source, passwordOf(connectionString));
}

std::unique_ptr<Connection> Connection::open(const QString& path, const QString& password) {
    if (!QFileInfo(path).isFile())
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("No se encuentra el archivo de datos '%1'.").arg(path));
    sqlite3* handle = openHandle(path, password, SQLITE_OPEN_READWRITE);
    return std::unique_ptr<Connection>(new Connection(handle, path));
}

std::unique_ptr<Connection> Connection::create(const QString& path, const QString& password) {
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("El archivo '%1' ya existe; no se reemplaza.").arg(path));
    sqlite3* handle = openHandle(path, password, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    return std::unique_ptr<Connection>(new Connection(handle, path));
}

Connection::Connection(sqlite3* handle, QString path) : handle_(handle), path_(std::move(path)) {}

Connection::~Connection() {
    sqlite3_close_v2(handle_);
}

void Connection::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    sqlite3_busy_timeout(handle_, milliseconds);
}

void Connection::fail(int code) const {
    throw engineError(handle_, code);
}

// The engine does not wait when waiting could deadlock (this statement read the file and wants
// to write it while another process waits to commit): it gives up at once and undoes the
// statement. Outside a transaction nothing else is undone, so the statement runs again until
// the busy timeout has passed.
bool Connection::mayRetryBusy(int code,
                              const std::chrono::steady_clock::time_point& started) const {
    if ((code & 0xff) != SQLITE_BUSY || depth_ > 0)
        return false;
    const auto waited = std::chrono::steady_clock::now() - started;
    if (waited >= std::chrono::milliseconds(busyTimeoutMs_))
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

namespace {

QVariant columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                              sqlite3_column_bytes(stmt, column)));
    }
}

// Prepares one statement and steps it to its end, handing it to onPrepared once and to onRow at
// every row. Returns the engine's code: SQLITE_DONE when the statement ran to its end (or was
// empty).
template <typename OnPrepared, typename OnRow>
int runStatement(sqlite3* handle, const QByteArray& text, OnPrepared onPrepared, OnRow onRow) {
    Statement statement;
    int rc = sqlite3_prepare_v2(handle, text.constData(), static_cast<int>(text.size()),
                                statement.out(), nullptr);
    if (rc != SQLITE_OK)
        return rc;
    if (!statement.get())
        return SQLITE_DONE;
    onPrepared(statement.get());
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        onRow(statement.get());
    return rc;
}

} // namespace

Result Connection::query(const QString& sql) {
    const QByteArray text = translateStatement(sql).toUtf8();
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        QStringList columns;
        std::vector<QVariantList> rows;
        const auto readColumns = [&](sqlite3_stmt* stmt) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
        };
        const auto readRow = [&](sqlite3_stmt* stmt) {
            QVariantList row;
            row.reserve(columns.size());
            for (int c = 0; c < columns.size(); ++c)
                row << columnValue(stmt, static_cast<int>(c));
            rows.push_back(std::move(row));
        };
        const int rc = runStatement(handle_, text, readColumns, readRow);
        if (rc == SQLITE_DONE)
            return Result(std::move(columns), std::move(rows));
        if (!mayRetryBusy(rc, started))
            fail(rc);
    }
}

int Connection::execute(const QString& sql) {
    const QByteArray text = translateStatement(sql).toUtf8();
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        const auto ignore = [](sqlite3_stmt*) {};
        const int rc = runStatement(handle_, text, ignore, ignore);
        if (rc == SQLITE_DONE)
            return sqlite3_changes(handle_);
        if (!mayRetryBusy(rc, started))
            fail(rc);
    }
}

void Connection::begin() {
    if (depth_ == 0) {
        execute(QStringLiteral("BEGIN IMMEDIATE"));
        doomed_ = false;
    }
    ++depth_;
}

void Connection::commit() {
    if (depth_ == 0)
        return;
    if (depth_ > 1) {
        --depth_;
        return;
    }
    if (doomed_) {
        rollback();
        throw DbError(SQLITE_ABORT,
                      QStringLiteral("La operación fue cancelada; no se grabó ningún cambio."));
    }
    try {
        execute(QStringLiteral("COMMIT"));
    } catch (...) {
        rollback();
        throw;
    }
    depth_ = 0;
}

void Connection::rollback() {
    if (depth_ == 0)
        return;
    if (depth_ > 1) { // an inner unit failed: the whole transaction can only be rolled back
        --depth_;
        doomed_ = true;
        return;
    }
    depth_ = 0;
    doomed_ = false;
    if (!sqlite3_get_autocommit(handle_))
        execute(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const {
    return depth_ > 0;
}

Transaction::Transaction(Connection& conn) : conn_(conn) {
    conn_.begin();
}

Transaction::~Transaction() {
    if (done_)
        return;
    try {
        conn_.rollback();
    } catch (...) {
        // The engine rolls back by itself when it cannot: nothing more to do here.
    }
}

void Transaction::commit() {
    done_ = true;
    conn_.commit();
}

} // namespace tarvela::db
