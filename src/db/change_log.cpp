#include "db/change_log.h"

#include "db/statements.h"

#include <QDateTime>

namespace tarvela::db {

namespace {

const QString kStampColumn = QStringLiteral("modificado");
const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (!aText && !bText)
        return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

// The columns a record shows: the key and the stamp are known already.
bool shown(const QString& column, const QString& keyColumn) {
    return column.compare(keyColumn, Qt::CaseInsensitive) != 0 &&
           column.compare(kStampColumn, Qt::CaseInsensitive) != 0;
}

QString selectOne(Connection& conn, const QString& table, const QString& keyColumn) {
    // On the server the row is held against other writers until the transaction ends; the
    // file's write transaction holds the whole file already.
    return QStringLiteral("select * from ") + table + QStringLiteral(" where ") + keyColumn +
           QStringLiteral("=?") +
           (conn.engine() == Engine::Server && conn.inTransaction() ? QStringLiteral(" for update")
                                                                    : QString());
}

} // namespace

QString newChangeStamp(const QString& previous) {
    QDateTime now = QDateTime::currentDateTime();
    QString stamp = now.toString(kStampFormat);
    while (stamp <= previous && previous.size() == stamp.size()) {
        now = now.addMSecs(1);
        stamp = now.toString(kStampFormat);
    }
    return stamp;
}

QString changeStamp(Connection& conn, const QString& table, const QString& keyColumn, int key) {
    const Result row =
        conn.query(QStringLiteral("select ") + kStampColumn + QStringLiteral(" from ") + table +
                       QStringLiteral(" where ") + keyColumn + QStringLiteral("=?"),
                   {key});
    return row.isEmpty() ? QString() : row.value(0, 0).toString();
}

QString recordedValue(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("(vacío)");
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlReal(value.toDouble());
    case QMetaType::QString:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    default:
        return value.toString();
    }
}

QString changedFields(const QStringList& columns, const QVariantList& before,
                      const QVariantList& after) {
    QStringList parts;
    for (qsizetype c = 0; c < columns.size() && c < before.size() && c < after.size(); ++c)
        if (!sameValue(before[c], after[c]))
            parts << columns[c] + QStringLiteral(": ") + recordedValue(before[c]) +
                         QStringLiteral(" → ") + recordedValue(after[c]);
    return parts.join(QStringLiteral("; "));
}

QString fieldValues(const QStringList& columns, const QVariantList& values) {
    QStringList parts;
    for (qsizetype c = 0; c < columns.size() && c < values.size(); ++c)
        parts << columns[c] + QStringLiteral(": ") + recordedValue(values[c]);
    return parts.join(QStringLiteral("; "));
}

void recordChange(Connection& conn, const QString& table, const QString& key, const QString& action,
                  const QString& detail) {
    conn.execute(QStringLiteral("insert into auditoria (fecha,usuario,tabla,clave,accion,detalle) "
                                "values (?,?,?,?,?,?)"),
                 {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                  conn.userName(), table, key, action,
                  detail.isEmpty() ? QVariant() : QVariant(detail)});
}

std::vector<ChangeRecord> changeHistory(Connection& conn, const QString& table,
                                        const QString& key) {
    const Result rows = conn.query(QStringLiteral("select fecha,usuario,accion,detalle from "
                                                  "auditoria where tabla=? and clave=? order by "
                                                  "id desc"),
                                   {table, key});
    std::vector<ChangeRecord> out;
    out.reserve(static_cast<size_t>(rows.rowCount()));
    for (int r = 0; r < rows.rowCount(); ++r)
        out.push_back({rows.value(r, 0).toString(), rows.value(r, 1).toString(),
                       rows.value(r, 2).toString(), rows.value(r, 3).toString()});
    return out;
}

QString changedElsewhereMessage(Connection& conn, const QString& table, const QString& key) {
    const Result last = conn.query(QStringLiteral("select fecha,usuario from auditoria where "
                                                  "tabla=? and clave=? order by id desc limit 1"),
                                   {table, key});
    QString user = QStringLiteral("otro usuario");
    QString when = QStringLiteral("fecha desconocida");
    if (!last.isEmpty()) {
        user = last.value(0, 1).toString();
        const QDateTime at = QDateTime::fromString(last.value(0, 0).toString(),
                                                   QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        when = at.isValid() ? at.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                            : last.value(0, 0).toString();
    }
    return QStringLiteral("El registro fue modificado por %1 el %2; vuelva a abrirlo para ver los "
                          "cambios.")
        .arg(user, when);
}

Result currentRow(Connection& conn, const QString& table, const QString& keyColumn, int key,
                  const QString& stampRead) {
    const Result row = conn.query(selectOne(conn, table, keyColumn), {key});
    if (row.isEmpty() || row.value(0, kStampColumn).toString() != stampRead)
        throw DbError(0, changedElsewhereMessage(conn, table, QString::number(key)),
                      DbFailure::Changed);
    return row;
}

void updateRecorded(Connection& conn, const QString& table, const QString& keyColumn, int key,
                    const QString& stampRead, const QStringList& columns, const Params& values) {
    Transaction transaction(conn);
    const Result before = currentRow(conn, table, keyColumn, key, stampRead);
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral("=?");
    const QString stamp = newChangeStamp(stampRead);
    Params bound = values;
    bound << stamp << key << stampRead;
    const int changed = conn.execute(QStringLiteral("update ") + table + QStringLiteral(" set ") +
                                         assignments.join(QLatin1Char(',')) + QLatin1Char(',') +
                                         kStampColumn + QStringLiteral("=? where ") + keyColumn +
                                         QStringLiteral("=? and coalesce(") + kStampColumn +
                                         QStringLiteral(",'')=?"),
                                     bound);
    if (changed != 1)
        throw DbError(0, changedElsewhereMessage(conn, table, QString::number(key)),
                      DbFailure::Changed);
    QVariantList old;
    for (const QString& column : columns)
        old << before.value(0, column);
    const QString detail = changedFields(columns, old, values);
    recordChange(conn, table, QString::number(key), kActionChanged, detail);
    transaction.commit();
}

void recordUpdated(Connection& conn, const QString& table, const QString& keyColumn, int key,
                   const Result& before, const QString& more) {
    conn.execute(QStringLiteral("update ") + table + QStringLiteral(" set ") + kStampColumn +
                     QStringLiteral("=? where ") + keyColumn + QStringLiteral("=?"),
                 {newChangeStamp(before.value(0, kStampColumn).toString()), key});
    const Result after = conn.query(selectOne(conn, table, keyColumn), {key});
    QStringList columns;
    QVariantList old;
    QVariantList now;
    for (int c = 0; c < before.columnCount() && !after.isEmpty(); ++c) {
        const QString& column = before.columns()[c];
        if (!shown(column, keyColumn) || after.columnIndex(column) < 0)
            continue;
        columns << column;
        old << before.value(0, c);
        now << after.value(0, column);
    }
    QStringList detail;
    for (const QString& part : {changedFields(columns, old, now), more})
        if (!part.isEmpty())
            detail << part;
    recordChange(conn, table, QString::number(key), kActionChanged,
                 detail.join(QStringLiteral("; ")));
}

void recordCreated(Connection& conn, const QString& table, const QString& keyColumn, int key) {
    conn.execute(QStringLiteral("update ") + table + QStringLiteral(" set ") + kStampColumn +
                     QStringLiteral("=? where ") + keyColumn + QStringLiteral("=?"),
                 {newChangeStamp(), key});
    const Result row = conn.query(selectOne(conn, table, keyColumn), {key});
    QStringList columns;
    QVariantList values;
    for (int c = 0; c < row.columnCount() && !row.isEmpty(); ++c) {
        if (!shown(row.columns()[c], keyColumn))
            continue;
        columns << row.columns()[c];
        values << row.value(0, c);
    }
    recordChange(conn, table, QString::number(key), kActionCreated, fieldValues(columns, values));
}

void recordDeleted(Connection& conn, const QString& table, const QString& keyColumn, int key) {
    const Result row = conn.query(selectOne(conn, table, keyColumn), {key});
    if (row.isEmpty())
        return;
    QStringList columns;
    QVariantList values;
    for (int c = 0; c < row.columnCount(); ++c) {
        if (!shown(row.columns()[c], keyColumn))
            continue;
        columns << row.columns()[c];
        values << row.value(0, c);
    }
    recordChange(conn, table, QString::number(key), kActionDeleted, fieldValues(columns, values));
}

} // namespace tarvela::db
