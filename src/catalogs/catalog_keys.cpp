#include "catalogs/catalog_keys.h"

#include "db/keys.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace tarvela::catalogs {

namespace {

struct KeySources {
    // The catalog's table and key column first, then the tables and columns that refer to it.
    std::vector<std::pair<const char*, const char*>> columns;
    bool sixteenBit;
};

KeySources keySourcesOf(Catalog catalog) {
    switch (catalog) {
    case Catalog::Nutrients:
        return {{{"propiedades", "id_propiedad"},
                 {"producto_propiedad", "id_propiedad"},
                 {"formula_propiedad", "id_propiedad"},
                 {"formula_relacion", "id_propiedad_num"},
                 {"formula_relacion", "id_propiedad_den"}},
                true};
    case Catalog::Ingredients:
        return {{{"productos", "id_producto"},
                 {"producto_propiedad", "id_producto"},
                 {"formula_producto", "id_producto"},
                 {"grupo_producto", "id_producto"}},
                true};
    case Catalog::Groups:
        return {
            {{"grupos", "id_grupo"}, {"grupo_producto", "id_grupo"}, {"formula_grupo", "id_grupo"}},
            true};
    case Catalog::Customers:
        break;
    }
    return {{{"clientes", "idCliente"}, {"formulas", "idCliente"}, {"parametros", "idCliente"}},
            false};
}

} // namespace

int nextCatalogKey(db::Connection& conn, Catalog catalog) {
    const KeySources sources = keySourcesOf(catalog);
    // Two workstations adding to a catalog at once take turns: the second computes its key after
    // the first one's row is in.
    conn.lockForWriting(QString::fromLatin1(sources.columns.front().first));
    QStringList maxima;
    for (const auto& [table, column] : sources.columns)
        maxima << QStringLiteral("select max(") + QString::fromLatin1(column) +
                      QStringLiteral(") as k from ") + QString::fromLatin1(table);
    return db::nextKey(conn,
                       QStringLiteral("select max(k) from (") +
                           maxima.join(QStringLiteral(" union all ")) + QLatin1Char(')'),
                       sources.sixteenBit);
}

} // namespace tarvela::catalogs
