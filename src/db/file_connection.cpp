#include "db/file_connection.h"

#include "db/dialect.h"
#include "db/sql_functions.h"

#include <sqlite3.h>

#include <QDate>
#include <QFileInfo>

#include <chrono>
#include <pwd.h>
#include <thread>
#include <unistd.h>

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
        return DbError(SQLITE_BUSY, inUseMessage(), DbFailure::InUse);
    if ((code & 0xff) == SQLITE_CONSTRAINT &&
        (code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE))
        return DbError(SQLITE_CONSTRAINT, engineMessage(handle), DbFailure::Duplicate);
    return DbError(code & 0xff, engineMessage(handle));
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
    // Extended codes tell a duplicate key from the other failed constraints.
    sqlite3_extended_result_codes(handle, 1);
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
        if ((rc & 0xff) == SQLITE_NOTADB)
            error = DbError(SQLITE_NOTADB,
                            QStringLiteral("La contraseña no es válida o el archivo '%1' no es "
                                           "una base de datos (%2).")
                                .arg(path, engineMessage(handle)));
        sqlite3_close(handle);
        throw error;
    }
    return handle;
}

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

int bindValue(sqlite3_stmt* stmt, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite3_bind_null(stmt, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QDate:
        return sqlite3_bind_text(stmt, index, value.toDate().toString(Qt::ISODate).toUtf8(), -1,
                                 SQLITE_TRANSIENT);
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                                 SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
}

class FileConnection final : public Connection {
public:
    FileConnection(sqlite3* handle, QString path) : Connection(std::move(path)), handle_(handle) {}
    ~FileConnection() override { sqlite3_close_v2(handle_); }

    void setBusyTimeout(int milliseconds) override {
        busyTimeoutMs_ = milliseconds;
        sqlite3_busy_timeout(handle_, milliseconds);
    }
    Engine engine() const override { return Engine::File; }
    QString displayName() const override { return QFileInfo(path()).fileName(); }
    QString userName() const override { return systemLogin(); }

    QStringList tableNames() override {
        return names(QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type IN "
                                    "('table','view')"));
    }
    QStringList indexNames() override {
        return names(QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type='index'"));
    }
    QStringList columnNames(const QString& table) override {
        const Result info = run(QStringLiteral("PRAGMA table_info(") + table + QLatin1Char(')'), {},
                                true, nullptr, false);
        QStringList out;
        for (int r = 0; r < info.rowCount(); ++r)
            out << info.value(r, QStringLiteral("name")).toString();
        return out;
    }
    void lockForWriting(const QString&) override {}

protected:
    Result run(const QString& sql, const Params& params, bool wantRows, int* changed,
               bool native) override;
    void beginUnit() override { run(QStringLiteral("BEGIN IMMEDIATE"), {}, false, nullptr, false); }
    void commitUnit() override { run(QStringLiteral("COMMIT"), {}, false, nullptr, false); }
    void rollbackUnit() override {
        if (!sqlite3_get_autocommit(handle_))
            run(QStringLiteral("ROLLBACK"), {}, false, nullptr, false);
    }

private:
    QStringList names(const QString& sql) {
        const Result rows = run(sql, {}, true, nullptr, false);
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.value(r, 0).toString();
        return out;
    }

    // The engine does not wait when waiting could deadlock (this statement read the file and
    // wants to write it while another process waits to commit): it gives up at once and undoes
    // the statement. Outside a transaction nothing else is undone, so the statement runs again
    // until the busy timeout has passed.
    bool mayRetryBusy(int code, const std::chrono::steady_clock::time_point& started) const {
        if ((code & 0xff) != SQLITE_BUSY || depth() > 0)
            return false;
        const auto waited = std::chrono::steady_clock::now() - started;
        if (waited >= std::chrono::milliseconds(busyTimeoutMs_))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    }

    sqlite3* handle_;
    int busyTimeoutMs_ = kBusyTimeoutMs;
};

Result FileConnection::run(const QString& sql, const Params& params, bool wantRows, int* changed,
                           bool native) {
    const QByteArray text = (native ? sql : translateStatement(sql)).toUtf8();
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        QStringList columns;
        std::vector<QVariantList> rows;
        Statement statement;
        int rc = sqlite3_prepare_v2(handle_, text.constData(), static_cast<int>(text.size()),
                                    statement.out(), nullptr);
        if (rc == SQLITE_OK && statement.get()) {
            for (int p = 0; p < params.size() && rc == SQLITE_OK; ++p)
                rc = bindValue(statement.get(), p + 1, params[p]);
        }
        if (rc == SQLITE_OK && !statement.get())
            rc = SQLITE_DONE;
        if (rc == SQLITE_OK) {
            sqlite3_stmt* stmt = statement.get();
            const int count = sqlite3_column_count(stmt);
            if (wantRows)
                for (int c = 0; c < count; ++c)
                    columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                if (!wantRows)
                    continue;
                QVariantList row;
                row.reserve(count);
                for (int c = 0; c < count; ++c)
                    row << columnValue(stmt, c);
                rows.push_back(std::move(row));
            }
        }
        if (rc == SQLITE_DONE) {
            if (changed)
                *changed = sqlite3_changes(handle_);
            return Result(std::move(columns), std::move(rows));
        }
        if (!mayRetryBusy(rc, started))
            throw engineError(handle_, rc);
    }
}

} // namespace

QString systemLogin() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    const QString fromEnvironment = qEnvironmentVariable("USER");
    return fromEnvironment.isEmpty() ? QString::number(geteuid()) : fromEnvironment;
}

std::unique_ptr<Connection> openFile(const QString& path, const QString& password) {
    if (!QFileInfo(path).isFile())
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("No se encuentra el archivo de datos '%1'.").arg(path));
    sqlite3* handle = openHandle(path, password, SQLITE_OPEN_READWRITE);
    return std::make_unique<FileConnection>(handle, path);
}

std::unique_ptr<Connection> createFile(const QString& path, const QString& password) {
    if (QFileInfo::exists(path))
        throw DbError(SQLITE_CANTOPEN,
                      QStringLiteral("El archivo '%1' ya existe; no se reemplaza.").arg(path));
    sqlite3* handle = openHandle(path, password, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    return std::make_unique<FileConnection>(handle, path);
}

} // namespace tarvela::db
