#include "formulation/missing_catalog_items.h"

#include "db/statements.h"

namespace tarvela::formulation {

namespace {

std::vector<int> missingKeys(db::Connection& conn, const QString& detailTable,
                             const QString& catalogTable, const QString& key, int formulaId) {
    const db::Result rows =
        conn.query(QStringLiteral("select d.") + key + QStringLiteral(" from ") + detailTable +
                   QStringLiteral(" d where d.id_formula=") + db::sqlInt(formulaId) +
                   QStringLiteral(" and not exists (select 1 from ") + catalogTable +
                   QStringLiteral(" c where c.") + key + QStringLiteral("=d.") + key +
                   QStringLiteral(") order by d.") + key);
    std::vector<int> keys;
    for (int r = 0; r < rows.rowCount(); ++r)
        keys.push_back(rows.value(r, 0).toInt());
    return keys;
}

} // namespace

MissingCatalogItems missingCatalogItems(db::Connection& conn, int formulaId) {
    return {missingKeys(conn, QStringLiteral("formula_producto"), QStringLiteral("productos"),
                        QStringLiteral("id_producto"), formulaId),
            missingKeys(conn, QStringLiteral("formula_propiedad"), QStringLiteral("propiedades"),
                        QStringLiteral("id_propiedad"), formulaId)};
}

QStringList missingCatalogLines(const MissingCatalogItems& missing) {
    // The catalog row is gone with its code and name: the key is what is left to name it by.
    const QString tail = QStringLiteral(" de la fórmula ya no existe en el catálogo; se quitará "
                                        "al grabar.");
    QStringList lines;
    for (int id : missing.ingredients)
        lines << QStringLiteral("El ingrediente ") + QString::number(id) + tail;
    for (int id : missing.nutrients)
        lines << QStringLiteral("El nutriente ") + QString::number(id) + tail;
    return lines;
}

void reportMissingCatalogItems(db::Connection& conn, int formulaId, Desktop& desktop) {
    const MissingCatalogItems missing = missingCatalogItems(conn, formulaId);
    if (!missing.empty())
        desktop.message(missingCatalogLines(missing).join(QLatin1Char('\n')), MsgIcon::Warning);
}

} // namespace tarvela::formulation
