#include "db/database_copy.h"

#include "db/database_file.h"
#include "db/schema.h"

namespace tarvela::db {

namespace {

// The engines bind at most 999 values in one statement (the file's).
constexpr int kValuesPerStatement = 900;

int copyTable(Connection& from, Connection& to, const QString& table) {
    const QStringList targetColumns = to.columnNames(table);
    QStringList columns;
    for (const QString& column : from.columnNames(table))
        if (targetColumns.contains(column, Qt::CaseInsensitive))
            columns << column;
    if (columns.isEmpty())
        return 0;
    const QString list = columns.join(QLatin1Char(','));
    const Result rows =
        from.query(QStringLiteral("select ") + list + QStringLiteral(" from ") + table);
    to.execute(QStringLiteral("delete from ") + table); // the first rows the schema writes
    const int width = static_cast<int>(columns.size());
    const int perStatement = std::max(1, kValuesPerStatement / width);
    QStringList marks;
    for (int c = 0; c < width; ++c)
        marks << QStringLiteral("?");
    const QString oneRow = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    for (int first = 0; first < rows.rowCount(); first += perStatement) {
        const int last = std::min(rows.rowCount(), first + perStatement);
        QStringList tuples;
        Params values;
        for (int r = first; r < last; ++r) {
            tuples << oneRow;
            values << rows.row(r);
        }
        to.execute(QStringLiteral("insert into ") + table + QStringLiteral(" (") + list +
                       QStringLiteral(") values ") + tuples.join(QLatin1Char(',')),
                   values);
    }
    const int stored =
        to.query(QStringLiteral("select count(*) from ") + table).value(0, 0).toInt();
    if (stored != rows.rowCount())
        throw DbError(0, QStringLiteral("La tabla %1 quedó con %2 registros de %3; no se copió "
                                        "nada.")
                             .arg(table)
                             .arg(stored)
                             .arg(rows.rowCount()));
    return rows.rowCount();
}

// The server numbers new rows of an identity column (auditoria.id) past the copied ones.
void advanceIdentities(Connection& to) {
    if (to.engine() != Engine::Server)
        return;
    const Result identities = to.query(QStringLiteral(
        "select table_name, column_name from information_schema.columns where table_schema = "
        "current_schema() and is_identity = 'YES'"));
    for (int r = 0; r < identities.rowCount(); ++r) {
        const QString table = identities.value(r, 0).toString();
        const QString column = identities.value(r, 1).toString();
        to.executeNative(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                                        "coalesce((SELECT max(%2) FROM %1), 0) + 1, false)")
                             .arg(table, column));
    }
}

} // namespace

std::vector<CopiedTable> copyDatabase(Connection& from, Connection& to) {
    upgradeSchema(from);
    if (hasProgramTables(to))
        throw DbError(0, QStringLiteral("La base de datos de destino %1 ya tiene las tablas de "
                                        "Tarvela; no se reemplaza.")
                             .arg(to.displayName()));
    std::vector<CopiedTable> copied;
    Transaction transaction(to);
    createSchema(to);
    const QStringList present = from.tableNames();
    for (const QString& table : schemaTables())
        if (present.contains(table.toLower()))
            copied.push_back({table, copyTable(from, to, table)});
    advanceIdentities(to);
    transaction.commit();
    // The server plans its statements on statistics of the tables, which a bulk copy makes
    // stale: they are taken at once rather than when the server gets round to it.
    if (to.engine() == Engine::Server)
        to.executeNative(QStringLiteral("ANALYZE"));
    return copied;
}

std::vector<CopiedTable> copyDatabaseTo(Connection& from, const QString& target) {
    if (Connection::isServerAddress(target)) {
        auto to = Connection::openServer(target);
        return copyDatabase(from, *to);
    }
    std::vector<CopiedTable> copied;
    createDatabaseFile(target, databasePassword(),
                       [&](Connection& to) { copied = copyDatabase(from, to); });
    return copied;
}

} // namespace tarvela::db
