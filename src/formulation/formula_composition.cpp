#include "formulation/formula_composition.h"

#include "db/statements.h"

#include <QStringList>

#include <algorithm>

namespace tarvela::formulation {

namespace {

// "1,5,9": the distinct keys in ascending order.
QString keyList(std::vector<int> keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QStringList parts;
    parts.reserve(static_cast<qsizetype>(keys.size()));
    for (int k : keys)
        parts << db::sqlInt(k);
    return parts.join(QLatin1Char(','));
}

} // namespace

QString compositionStatement(std::vector<int> nutrientKeys, std::vector<int> ingredientKeys) {
    // One statement in three parts: the catalog rows of the ingredients and of the nutrients
    // (which of them the catalog still lists), then the composition rows of every pair. These
    // are read by ingredient along the table's own key (id_producto, id_propiedad), each
    // ingredient's rows together, and the nutrients kept as they pass ("+" keeps the nutrient
    // keys off the index on id_propiedad): one seek per ingredient instead of one per pair, some
    // three times faster on a catalog of 100 nutrients. The first part's empty value is typed,
    // as a server types the parts' columns from the first.
    const QString ingredientList = keyList(std::move(ingredientKeys));
    const QString nutrientList = keyList(std::move(nutrientKeys));
    return QStringLiteral("select id_producto,null as id_propiedad,cast(null as real) as valor "
                          "from productos where id_producto in (") +
           ingredientList +
           QStringLiteral(") union all select null,id_propiedad,null from propiedades where "
                          "id_propiedad in (") +
           nutrientList +
           QStringLiteral(") union all select id_producto,id_propiedad,valor from "
                          "producto_propiedad where +id_propiedad in (") +
           nutrientList + QStringLiteral(") and id_producto in (") + ingredientList +
           QStringLiteral(")");
}

FormulaComposition::FormulaComposition(db::Connection& conn,
                                       const std::vector<NutrientRow>& nutrients,
                                       const std::vector<IngredientRow>& ingredients) {
    if (nutrients.empty() || ingredients.empty())
        return;
    std::vector<int> nutrientKeys;
    nutrientKeys.reserve(nutrients.size());
    for (const NutrientRow& n : nutrients)
        nutrientKeys.push_back(n.id_propiedad);
    std::vector<int> ingredientKeys;
    ingredientKeys.reserve(ingredients.size());
    for (const IngredientRow& row : ingredients)
        ingredientKeys.push_back(row.id_producto);

    const db::Result rs =
        conn.query(compositionStatement(std::move(nutrientKeys), std::move(ingredientKeys)));
    std::vector<int> pairs; // rows of the composition
    for (int r = 0; r < rs.rowCount(); ++r) {
        if (rs.value(r, 1).isNull())
            ingredients_.insert(rs.value(r, 0).toInt());
        else if (rs.value(r, 0).isNull())
            nutrients_.insert(rs.value(r, 1).toInt());
        else
            pairs.push_back(r);
    }
    entries_.reserve(static_cast<qsizetype>(pairs.size()));
    for (int r : pairs)
        setContent(rs.value(r, 1).toInt(), rs.value(r, 0).toInt(),
                   compositionContent(rs.value(r, 2)));
}

FormulaComposition::FormulaComposition(db::Connection& conn, const WorkingModel& model)
    : FormulaComposition(conn, compositionNutrients(model), model.ingredients) {}

std::vector<NutrientRow> compositionNutrients(const WorkingModel& model) {
    std::vector<NutrientRow> nutrients = model.rsPropiedades;
    for (const RatioRow& r : model.relaciones)
        for (int id : {r.id_num, r.id_den}) {
            NutrientRow row;
            row.id_propiedad = id;
            nutrients.push_back(row);
        }
    return nutrients;
}

const CatalogContent* FormulaComposition::find(int idPropiedad, int idProducto) const {
    const auto it = entries_.constFind(key(idPropiedad, idProducto));
    return it != entries_.constEnd() && ingredients_.contains(idProducto) ? &*it : nullptr;
}

double FormulaComposition::content(int idPropiedad, int idProducto) const {
    const auto it = entries_.constFind(key(idPropiedad, idProducto));
    return it != entries_.constEnd() ? it->valor : 0.0;
}

QHash<int, QString> nutrientUnits(const WorkingModel& model, db::Connection& conn) {
    QHash<int, QString> units;
    if (model.rsPropiedades.empty())
        return units;
    QStringList keys;
    for (const NutrientRow& n : model.rsPropiedades)
        keys << db::sqlInt(n.id_propiedad);
    const db::Result rs =
        conn.query(QStringLiteral("select id_propiedad,unidad from propiedades where id_propiedad "
                                  "in (") +
                   keys.join(QLatin1Char(',')) + QLatin1Char(')'));
    for (int r = 0; r < rs.rowCount(); ++r)
        units.insert(rs.value(r, 0).toInt(), rs.value(r, 1).toString().trimmed());
    return units;
}

} // namespace tarvela::formulation
