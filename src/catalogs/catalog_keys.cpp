#include "catalogs/catalog_keys.h"

#include "db/keys.h"

#include <QStringList>

namespace tarvela::catalogs {

namespace {

struct KeyColumn {
    const char* column;
    QStringList tables; // the catalog's table first, then the tables that refer to it
    bool sixteenBit;
};

KeyColumn keyColumnOf(Catalog catalog) {
    switch (catalog) {
    case Catalog::Nutrients:
        return {"id_propiedad",
                {QStringLiteral("propiedades"), QStringLiteral("producto_propiedad"),
                 QStringLiteral("formula_propiedad")},
                true};
    case Catalog::Ingredients:
        return {"id_producto",
                {QStringLiteral("productos"), QStringLiteral("producto_propiedad"),
                 QStringLiteral("formula_producto")},
                true};
    case Catalog::Customers:
        break;
    }
    return {"idCliente",
            {QStringLiteral("clientes"), QStringLiteral("formulas"), QStringLiteral("parametros")},
            false};
}

} // namespace

int nextCatalogKey(db::Connection& conn, Catalog catalog) {
    const KeyColumn key = keyColumnOf(catalog);
    // Two workstations adding to a catalog at once take turns: the second computes its key after
    // the first one's row is in.
    conn.lockForWriting(key.tables.front());
    const QString column = QString::fromLatin1(key.column);
    QStringList maxima;
    for (const QString& table : key.tables)
        maxima << QStringLiteral("select max(") + column + QStringLiteral(") as k from ") + table;
    return db::nextKey(conn,
                       QStringLiteral("select max(k) from (") +
                           maxima.join(QStringLiteral(" union all ")) + QLatin1Char(')'),
                       key.sixteenBit);
}

} // namespace tarvela::catalogs
