#include "db/server_connection.h"

#include "db/dialect.h"
#include "db/schema.h"
#include "db/statements.h"
#include "text/format.h"

#include <libpq-fe.h>

#include <QDate>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace tarvela::db {

namespace {

// Type identifiers of the server's built-in types.
constexpr Oid kBool = 16;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;
constexpr Oid kBytea = 17;

// The values of a connection's options (host, port, dbname, user) from an address.
QString addressOption(const QString& address, const char* keyword) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(address.toUtf8().constData(), &error);
    PQfreemem(error);
    QString value;
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        if (qstrcmp(o->keyword, keyword) == 0 && o->val)
            value = QString::fromUtf8(o->val);
    PQconninfoFree(options);
    return value;
}

// The server as the user names it: its host, "localhost" for the local socket.
QString hostName(const QString& host) {
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.startsWith(QLatin1Char('@')))
        return QStringLiteral("localhost");
    return host.section(QLatin1Char(','), 0, 0);
}

QString serverOf(PGconn* conn, const QString& address) {
    QString host = addressOption(address, "host");
    if (host.isEmpty() && conn && PQhost(conn))
        host = QString::fromUtf8(PQhost(conn));
    if (host.isEmpty())
        host = qEnvironmentVariable("PGHOST");
    return hostName(host);
}

// Why a connection could not be made, in the user's words.
QString connectionReason(const QString& libpqMessage, const QString& database) {
    const QString m = libpqMessage.trimmed();
    if (m.contains(QLatin1String("password authentication failed")) ||
        m.contains(QLatin1String("autentificación password falló")) ||
        m.contains(QLatin1String("autenticación password falló")))
        return QStringLiteral("la contraseña no es válida");
    if (m.contains(QLatin1String("no password supplied")) ||
        m.contains(QLatin1String("fe_sendauth")))
        return QStringLiteral("falta la contraseña (~/.pgpass o PGPASSWORD)");
    if (m.contains(QLatin1String("database \"")) && m.contains(QLatin1String("does not exist")))
        return QStringLiteral("la base de datos '%1' no existe").arg(database);
    if (m.contains(QLatin1String("role \"")) && m.contains(QLatin1String("does not exist")))
        return QStringLiteral("el usuario no existe en el servidor");
    if (m.contains(QLatin1String("Connection refused")) ||
        m.contains(QLatin1String("No such file or directory")) ||
        m.contains(QLatin1String("could not translate host name")) ||
        m.contains(QLatin1String("timeout expired")) ||
        m.contains(QLatin1String("No route to host")) ||
        m.contains(QLatin1String("Network is unreachable")))
        return QStringLiteral("el servidor no responde (¿está en marcha y acepta conexiones?)");
    if (m.contains(QLatin1String("invalid URI")) ||
        m.contains(QLatin1String("invalid connection")) ||
        m.contains(QLatin1String("invalid integer value")))
        return QStringLiteral("la dirección no es válida (%1)")
            .arg(m.section(QLatin1Char('\n'), 0, 0));
    return m.section(QLatin1Char('\n'), 0, 0);
}

DbError connectionError(const QString& server, const QString& reason) {
    return DbError(
        8006, QStringLiteral("No se pudo conectar con el servidor %1: %2.").arg(server, reason),
        DbFailure::Connection);
}

// A stable number for a lock's name (the same on every workstation).
long long lockNumber(const QString& name) {
    unsigned long long hash = 1469598103934665603ULL;
    for (const char c : name.toUtf8()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return static_cast<long long>(hash & 0x7fffffffffffffffULL);
}

// A value's text for the server, and its type when the server should not guess it.
struct BoundValue {
    QByteArray text;
    Oid type = 0;
    bool null = false;
};

BoundValue bound(const QVariant& value) {
    if (value.isNull())
        return {{}, 0, true};
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return {QByteArray::number(value.toLongLong()), kInt8};
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return {{}, 0, true};
        return {sqlReal(d).toLatin1(), kFloat8};
    }
    case QMetaType::QDate:
        return {value.toDate().toString(Qt::ISODate).toUtf8()};
    default:
        return {value.toString().toUtf8()};
    }
}

QVariant cellValue(const PGresult* res, int row, int column) {
    if (PQgetisnull(res, row, column))
        return {};
    const char* data = PQgetvalue(res, row, column);
    const int length = PQgetlength(res, row, column);
    switch (PQftype(res, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return QVariant(QByteArray::fromRawData(data, length).toLongLong());
    case kBool:
        return QVariant(static_cast<qlonglong>(data[0] == 't' ? 1 : 0));
    case kFloat4:
    case kFloat8: {
        const QByteArray text = QByteArray::fromRawData(data, length);
        if (text == "NaN")
            return QVariant(std::numeric_limits<double>::quiet_NaN());
        if (text == "Infinity")
            return QVariant(std::numeric_limits<double>::infinity());
        if (text == "-Infinity")
            return QVariant(-std::numeric_limits<double>::infinity());
        return QVariant(text.toDouble());
    }
    case kNumeric: {
        const QByteArray text = QByteArray::fromRawData(data, length);
        bool whole = false;
        const qlonglong integer = text.toLongLong(&whole);
        return whole ? QVariant(integer) : QVariant(text.toDouble());
    }
    case kBytea:
        return QVariant(QByteArray(data, length));
    default:
        return QVariant(QString::fromUtf8(data, length));
    }
}

// The mixed-case names of the program's columns: the server gives them in lower case.
const QHash<QString, QString>& schemaNames() {
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> out;
        static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
        for (const char* statement : schemaStatements()) {
            auto it = word.globalMatch(QString::fromUtf8(statement));
            while (it.hasNext()) {
                const QString w = it.next().captured(0);
                if (w != w.toLower() && w != w.toUpper())
                    out.insert(w.toLower(), w);
            }
        }
        return out;
    }();
    return names;
}

void ignoreNotice(void*, const char*) {}

class ServerConnection final : public Connection {
public:
    ServerConnection(PGconn* conn, const QString& address)
        : Connection(addressWithoutPassword(address)), conn_(conn),
          server_(serverOf(conn, address)), database_(QString::fromUtf8(PQdb(conn))) {
        PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
        prepareSession();
    }
    ~ServerConnection() override { PQfinish(conn_); }

    void setBusyTimeout(int milliseconds) override {
        busyTimeoutMs_ = milliseconds;
        run(QStringLiteral("SET lock_timeout = ") + QString::number(milliseconds), {}, false,
            nullptr, true);
    }
    Engine engine() const override { return Engine::Server; }
    QString displayName() const override { return server_ + QLatin1Char('/') + database_; }
    QString userName() const override { return user_; }

    QStringList tableNames() override {
        return names(QStringLiteral("SELECT lower(table_name) FROM information_schema.tables "
                                    "WHERE table_schema = current_schema()"));
    }
    QStringList indexNames() override {
        return names(QStringLiteral("SELECT lower(indexname) FROM pg_indexes WHERE schemaname = "
                                    "current_schema()"));
    }
    QStringList columnNames(const QString& table) override {
        return names(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                    "table_schema = current_schema() AND table_name = ? ORDER BY "
                                    "ordinal_position"),
                     {table.toLower()});
    }
    void lockForWriting(const QString& name) override {
        run(QStringLiteral("SELECT pg_advisory_xact_lock(") + QString::number(lockNumber(name)) +
                QLatin1Char(')'),
            {}, true, nullptr, false);
    }

protected:
    Result run(const QString& sql, const Params& params, bool wantRows, int* changed,
               bool native) override;
    void beginUnit() override { run(QStringLiteral("BEGIN"), {}, false, nullptr, false); }
    void commitUnit() override { run(QStringLiteral("COMMIT"), {}, false, nullptr, false); }
    void rollbackUnit() override {
        if (PQstatus(conn_) == CONNECTION_OK && PQtransactionStatus(conn_) != PQTRANS_IDLE)
            run(QStringLiteral("ROLLBACK"), {}, false, nullptr, false);
    }

private:
    QStringList names(const QString& sql, const Params& params = {}) {
        const Result rows = run(sql, params, true, nullptr, false);
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.value(r, 0).toString();
        return out;
    }

    // Settings of every session, again after the connection is made anew.
    void prepareSession() {
        PGresult* res = PQexec(conn_, QStringLiteral("SET lock_timeout = %1; SELECT current_user")
                                          .arg(busyTimeoutMs_)
                                          .toUtf8()
                                          .constData());
        if (PQresultStatus(res) == PGRES_TUPLES_OK && PQntuples(res) == 1)
            user_ = QString::fromUtf8(PQgetvalue(res, 0, 0));
        PQclear(res);
    }

    // A connection lost outside a transaction is made again; inside one, the transaction is
    // gone with it.
    void ensureConnected() {
        if (PQstatus(conn_) == CONNECTION_OK)
            return;
        if (depth() == 0) {
            PQreset(conn_);
            if (PQstatus(conn_) == CONNECTION_OK) {
                prepareSession();
                return;
            }
            throw connectionError(
                server_, connectionReason(QString::fromUtf8(PQerrorMessage(conn_)), database_));
        }
        transactionLost();
        throw lostError();
    }

    DbError lostError() const {
        return DbError(8006,
                       QStringLiteral("Se perdió la conexión con el servidor %1; no se grabó "
                                      "ningún cambio.")
                           .arg(server_),
                       DbFailure::Connection);
    }

    DbError statementError(const PGresult* res) {
        const QString state = QString::fromLatin1(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        const QString message =
            QString::fromUtf8(PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY)).trimmed();
        bool numeric = false;
        const int number = state.toInt(&numeric);
        const int code = numeric ? number : -1;
        if (PQstatus(conn_) != CONNECTION_OK || state.startsWith(QLatin1String("08")) ||
            state == QLatin1String("57P01") || state == QLatin1String("57P02") ||
            state == QLatin1String("57P03")) {
            transactionLost();
            return lostError();
        }
        if (state == QLatin1String("55P03") || state == QLatin1String("40P01") ||
            state == QLatin1String("40001"))
            return DbError(code,
                           QStringLiteral("La base de datos está en uso por otro usuario; no se "
                                          "realizó ningún cambio. Intente nuevamente en unos "
                                          "momentos."),
                           DbFailure::InUse);
        if (state == QLatin1String("57014"))
            return DbError(code,
                           QStringLiteral("El servidor %1 canceló la operación porque excedió el "
                                          "tiempo máximo; no se realizó ningún cambio.")
                               .arg(server_),
                           DbFailure::Timeout);
        if (state == QLatin1String("23505"))
            return DbError(code, message, DbFailure::Duplicate);
        return DbError(code, message.isEmpty() ? QString::fromUtf8(PQerrorMessage(conn_)).trimmed()
                                               : message);
    }

    PGconn* conn_;
    QString server_;
    QString database_;
    QString user_;
    int busyTimeoutMs_ = kBusyTimeoutMs;
};

// Frees a result on every way out.
struct ResultHolder {
    PGresult* res;
    ~ResultHolder() { PQclear(res); }
};

Result ServerConnection::run(const QString& sql, const Params& params, bool wantRows, int* changed,
                             bool native) {
    ServerStatement statement;
    if (native)
        statement.sql = sql;
    else
        statement = translateForServer(sql);
    ensureConnected();
    std::vector<BoundValue> values;
    values.reserve(static_cast<size_t>(params.size()));
    for (const QVariant& p : params)
        values.push_back(bound(p));
    std::vector<const char*> texts;
    std::vector<Oid> types;
    for (const BoundValue& v : values) {
        texts.push_back(v.null ? nullptr : v.text.constData());
        types.push_back(v.type);
    }
    const QByteArray text = statement.sql.toUtf8();
    ResultHolder holder{PQexecParams(conn_, text.constData(), static_cast<int>(values.size()),
                                     types.data(), texts.data(), nullptr, nullptr, 0)};
    PGresult* res = holder.res;
    const ExecStatusType status = res ? PQresultStatus(res) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        if (!res || PQstatus(conn_) != CONNECTION_OK) {
            transactionLost();
            throw lostError();
        }
        throw statementError(res);
    }
    if (changed) {
        const char* tuples = PQcmdTuples(res);
        *changed = tuples && *tuples ? QByteArray(tuples).toInt() : 0;
    }
    if (!wantRows || status != PGRES_TUPLES_OK)
        return {};

    const int columnCount = PQnfields(res);
    QStringList columns;
    std::vector<QString> patterns(static_cast<size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        const QString name = QString::fromUtf8(PQfname(res, c));
        columns << statement.columnNames.value(name, schemaNames().value(name, name));
        for (const ServerStatement::Formatted& f : statement.formatted)
            if (f.column == c || (f.column < 0 && f.name == name))
                patterns[static_cast<size_t>(c)] = f.pattern;
    }
    const QChar separator =
        statement.formatted.empty() ? QChar(u'.') : text::workstationDecimalSeparator();
    const int rowCount = PQntuples(res);
    std::vector<QVariantList> rows;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
        QVariantList row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c) {
            QVariant value = cellValue(res, r, c);
            const QString& pattern = patterns[static_cast<size_t>(c)];
            if (!pattern.isEmpty())
                value = value.isNull() ? QVariant()
                                       : QVariant(text::formatValue(value, pattern, separator));
            row << value;
        }
        rows.push_back(std::move(row));
    }
    return Result(std::move(columns), std::move(rows));
}

} // namespace

std::unique_ptr<Connection> connectServer(const QString& address) {
    const QByteArray uri = address.toUtf8();
    // The address's own options win over these defaults, except the encoding.
    const char* keywords[] = {"connect_timeout", "application_name", "dbname", "client_encoding",
                              nullptr};
    const char* values[] = {"10", "tarvela", uri.constData(), "UTF8", nullptr};
    PGconn* conn = PQconnectdbParams(keywords, values, 1);
    if (!conn)
        throw connectionError(serverOf(nullptr, address), QStringLiteral("sin memoria"));
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString server = serverOf(conn, address);
        QString database = addressOption(address, "dbname");
        if (database.isEmpty())
            database = QString::fromUtf8(PQdb(conn));
        const QString reason = connectionReason(QString::fromUtf8(PQerrorMessage(conn)), database);
        PQfinish(conn);
        throw connectionError(server, reason);
    }
    return std::make_unique<ServerConnection>(conn, address);
}

QString addressWithoutPassword(const QString& address) {
    static const QRegularExpression password(
        QStringLiteral("^(postgres(?:ql)?://[^:@/?]*):[^@/?]*@"),
        QRegularExpression::CaseInsensitiveOption);
    QString out = address;
    static const QRegularExpression parameter(QStringLiteral("([?&])password=[^&]*(&|$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    out.replace(password, QStringLiteral("\\1@"));
    out.replace(parameter, QStringLiteral("\\1"));
    if (out.endsWith(QLatin1Char('&')) || out.endsWith(QLatin1Char('?')))
        out.chop(1);
    return out;
}

QString serverDisplayName(const QString& address) {
    QString database = addressOption(address, "dbname");
    return serverOf(nullptr, address) + QLatin1Char('/') + database;
}

} // namespace tarvela::db
