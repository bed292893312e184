#include "db/connection.h"

#include "db/file_connection.h"
#include "db/server_connection.h"

namespace tarvela::db {

namespace {

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

} // namespace

DbError::DbError(int number, const QString& description)
    : DbError(number, description, number == 5 ? DbFailure::InUse : DbFailure::Other) {}

DbError::DbError(int number, const QString& description, DbFailure failure)
    : std::runtime_error(description.toStdString()), number_(number), description_(description),
      failure_(failure) {}

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
    QString password =
        connectionValue(connectionString, QStringLiteral("jet oledb:database password"));
    if (password.isEmpty())
        password = connectionValue(connectionString, QStringLiteral("password"));
    return password;
}

bool Connection::isServerAddress(const QString& name) {
    return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::unique_ptr<Connection> Connection::openConnectionString(const QString& connectionString) {
    const QString source = dataSourceOf(connectionString);
    if (source.isEmpty())
        throw DbError(21, QStringLiteral("La cadena de conexión no indica el archivo de datos."));
    return open(source, passwordOf(connectionString));
}

std::unique_ptr<Connection> Connection::open(const QString& pathOrAddress,
                                             const QString& password) {
    if (isServerAddress(pathOrAddress))
        return openServer(pathOrAddress);
    return openFile(pathOrAddress, password);
}

std::unique_ptr<Connection> Connection::create(const QString& path, const QString& password) {
    return createFile(path, password);
}

std::unique_ptr<Connection> Connection::openServer(const QString& address) {
    return connectServer(address);
}

Connection::Connection(QString path) : path_(std::move(path)) {}

Connection::~Connection() = default;

Result Connection::query(const QString& sql, const Params& params) {
    return run(sql, params, true, nullptr, false);
}

int Connection::execute(const QString& sql, const Params& params) {
    int changed = 0;
    run(sql, params, false, &changed, false);
    return changed;
}

int Connection::executeNative(const QString& sql) {
    int changed = 0;
    run(sql, {}, false, &changed, true);
    return changed;
}

void Connection::begin() {
    if (depth_ == 0) {
        beginUnit();
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
        throw DbError(4, QStringLiteral("La operación fue cancelada; no se grabó ningún cambio."));
    }
    try {
        commitUnit();
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
    rollbackUnit();
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
