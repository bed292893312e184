#include "catalogs/catalog_statements.h"

#include "db/change_log.h"
#include "db/statements.h"

namespace tarvela::catalogs {

QString containsCondition(const QString& column, const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    return QStringLiteral(" and ") + column + QStringLiteral(" like ") +
           db::sqlText(QLatin1Char('%') + text + QLatin1Char('%'));
}

bool anyRow(db::Connection& conn, const QString& fromWhere) {
    const db::Result result =
        conn.query(QStringLiteral("select exists (select 1 ") + fromWhere + QLatin1Char(')'));
    return !result.isEmpty() && result.value(0, 0).toInt() != 0;
}

bool hasCompositionRows(db::Connection& conn, const QString& keyColumn, int id) {
    return anyRow(conn, QStringLiteral("from producto_propiedad where ") + keyColumn +
                            QLatin1Char('=') + db::sqlInt(id));
}

void deleteWithComposition(db::Connection& conn, const QString& table, const QString& keyColumn,
                           int id) {
    const QString where = QStringLiteral(" where ") + keyColumn + QLatin1Char('=') + db::sqlInt(id);
    db::Transaction transaction(conn);
    db::recordDeleted(conn, table, keyColumn, id);
    conn.execute(QStringLiteral("delete from producto_propiedad") + where);
    conn.execute(QStringLiteral("delete from ") + table + where);
    transaction.commit();
}

} // namespace tarvela::catalogs
