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

bool hasCompositionRows(db::Connection& conn, const QString& keyColumn, int id) {
    return anyRow(conn, QStringLiteral("from producto_propiedad where ") + keyColumn +
                            QLatin1Char('=') + db::sqlInt(id));
}

QStringList formulaCodesUsing(db::Connection& conn, const QString& detailTable,
                              const QString& keyColumn, int id) {
    const db::Result rows =
        conn.query(QStringLiteral("select distinct f.codigo from formulas f, ") + detailTable +
                   QStringLiteral(" d where f.id_formula=d.id_formula and d.") + keyColumn +
                   QLatin1Char('=') + db::sqlInt(id) + QStringLiteral(" order by f.codigo"));
    QStringList codes;
    for (int r = 0; r < rows.rowCount(); ++r)
        codes << rows.value(r, 0).toString().trimmed();
    codes.removeDuplicates();
    return codes;
}

QString usedInFormulasText(const QStringList& codes) {
    constexpr qsizetype kNamed = 10;
    const qsizetype n = codes.size();
    QString named = codes.mid(0, kNamed).join(QStringLiteral(", "));
    if (n > kNamed)
        named += QStringLiteral(" y ") + QString::number(n - kNamed) + QStringLiteral(" más");
    return QStringLiteral("se usa en ") + QString::number(n) +
           (n == 1 ? QStringLiteral(" fórmula (") : QStringLiteral(" fórmulas (")) + named +
           QLatin1Char(')');
}

QString usedInFormulasQuestion(const QString& item, const QString& name, const QStringList& codes) {
    return QStringLiteral("El ") + item + QStringLiteral(" << ") + name + QStringLiteral(" >> ") +
           usedInFormulasText(codes) + QStringLiteral("\n\n¿Confirma la Eliminación del ") + item +
           QLatin1Char('?');
}

void deleteWithComposition(db::Connection& conn, const QString& table, const QString& keyColumn,
                           int id) {
    const QString where = QStringLiteral(" where ") + keyColumn + QLatin1Char('=') + db::sqlInt(id);
    db::Transaction transaction(conn);
    conn.execute(QStringLiteral("delete from producto_propiedad") + where);
    conn.execute(QStringLiteral("delete from ") + table + where);
    transaction.commit();
}

} // namespace tarvela::catalogs
