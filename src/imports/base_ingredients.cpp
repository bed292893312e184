#include "imports/base_ingredients.h"

#include "catalogs/ingredient_catalog.h"
#include "db/statements.h"

namespace tarvela::imports {

namespace {

std::optional<double> realOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

} // namespace

const BaseIngredient* BaseIngredients::find(const QString& code, bool* ambiguous) const {
    const auto it = byCode.constFind(catalogs::codeKey(code));
    if (ambiguous)
        *ambiguous = it != byCode.constEnd() && *it < 0;
    if (it == byCode.constEnd() || *it < 0)
        return nullptr;
    return &items[static_cast<size_t>(*it)];
}

BaseIngredients loadBaseIngredients(db::Connection& conn, int base) {
    const db::Result rows =
        conn.query(QStringLiteral("select id_producto,codigo,nombre,unidad,costo,materia_seca from "
                                  "productos where idBase=") +
                   db::sqlInt(base) + QStringLiteral(" order by id_producto"));
    BaseIngredients out;
    out.items.reserve(static_cast<size_t>(rows.rowCount()));
    out.byCode.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QVariantList& row = rows.row(r);
        out.items.push_back({row[0].toInt(), row[1].toString(), row[2].toString(),
                             row[3].toString(), realOf(row[4]), realOf(row[5])});
        const QString key = catalogs::codeKey(out.items.back().codigo);
        const auto it = out.byCode.find(key);
        if (it == out.byCode.end())
            out.byCode.insert(key, r);
        else
            *it = -1;
    }
    return out;
}

} // namespace tarvela::imports
