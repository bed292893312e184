#include "catalogs/catalog_statements.h"

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

} // namespace tarvela::catalogs
