#include "worklist/catalog_composition.h"

#include <algorithm>

namespace tarvela::worklist {

namespace {

// Each distinct key given its place, in ascending order of key.
std::vector<int> placeKeys(std::vector<int> keys, QHash<int, int>& places) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    places.reserve(static_cast<qsizetype>(keys.size()));
    for (size_t k = 0; k < keys.size(); ++k)
        places.insert(keys[k], static_cast<int>(k));
    return keys;
}

} // namespace

CatalogComposition::CatalogComposition(db::Connection& conn, std::vector<int> nutrientKeys,
                                       std::vector<int> ingredientKeys) {
    nutrientKey_ = placeKeys(std::move(nutrientKeys), nutrientPlace_);
    ingredientKey_ = placeKeys(std::move(ingredientKeys), ingredientPlace_);
    if (nutrientKey_.empty() || ingredientKey_.empty()) {
        fill(db::Result());
        return;
    }
    fill(conn.query(formulation::compositionStatement(nutrientKey_, ingredientKey_)));
}

CatalogComposition::CatalogComposition(db::Connection& conn, int base) {
    // The same three parts as the statement for given keys: the ingredients of the base, every
    // nutrient, and the composition rows of the base's ingredients.
    const db::Result rs = conn.query(
        QStringLiteral("select id_producto,null as id_propiedad,cast(null as real) as valor "
                       "from productos where idBase=? union all select null,id_propiedad,null "
                       "from propiedades union all select pp.id_producto,pp.id_propiedad,"
                       "pp.valor from producto_propiedad pp,productos p where "
                       "p.id_producto=pp.id_producto and p.idBase=?"),
        {base, base});
    // Every key the rows name has its place: a nutrient gone from the catalog whose contents
    // remain is read as the statement for given keys reads it.
    std::vector<int> nutrients;
    std::vector<int> ingredients;
    for (int r = 0; r < rs.rowCount(); ++r) {
        if (!rs.value(r, 0).isNull())
            ingredients.push_back(rs.value(r, 0).toInt());
        if (!rs.value(r, 1).isNull())
            nutrients.push_back(rs.value(r, 1).toInt());
    }
    nutrientKey_ = placeKeys(std::move(nutrients), nutrientPlace_);
    ingredientKey_ = placeKeys(std::move(ingredients), ingredientPlace_);
    fill(rs);
}

void CatalogComposition::fill(const db::Result& rs) {
    nutrientListed_.assign(nutrientKey_.size(), 0);
    ingredientListed_.assign(ingredientKey_.size(), 0);
    const size_t cells = nutrientKey_.size() * ingredientKey_.size();
    content_.assign(cells, 0.0);
    hasRow_.assign(cells, 0);
    if (cells == 0)
        return;
    for (int r = 0; r < rs.rowCount(); ++r) {
        const QVariant& ingredient = rs.value(r, 0);
        const QVariant& nutrient = rs.value(r, 1);
        if (nutrient.isNull()) {
            ingredientListed_[static_cast<size_t>(placeOf(ingredientPlace_, ingredient.toInt()))] =
                1;
        } else if (ingredient.isNull()) {
            nutrientListed_[static_cast<size_t>(placeOf(nutrientPlace_, nutrient.toInt()))] = 1;
        } else {
            const size_t cell = static_cast<size_t>(placeOf(ingredientPlace_, ingredient.toInt())) *
                                    nutrientKey_.size() +
                                static_cast<size_t>(placeOf(nutrientPlace_, nutrient.toInt()));
            content_[cell] = formulation::compositionContent(rs.value(r, 2));
            hasRow_[cell] = 1;
        }
    }
}

bool CatalogComposition::covers(const std::vector<formulation::NutrientRow>& nutrients,
                                const std::vector<formulation::IngredientRow>& ingredients) const {
    for (const formulation::NutrientRow& n : nutrients)
        if (placeOf(nutrientPlace_, n.id_propiedad) < 0)
            return false;
    for (const formulation::IngredientRow& row : ingredients)
        if (placeOf(ingredientPlace_, row.id_producto) < 0)
            return false;
    return true;
}

formulation::FormulaComposition
CatalogComposition::composition(const std::vector<formulation::NutrientRow>& nutrients,
                                const std::vector<formulation::IngredientRow>& ingredients) const {
    formulation::FormulaComposition formula;
    std::vector<int> nutrientAt; // place of each nutrient given, -1 when not read
    nutrientAt.reserve(nutrients.size());
    for (const formulation::NutrientRow& n : nutrients) {
        const int place = placeOf(nutrientPlace_, n.id_propiedad);
        nutrientAt.push_back(place);
        if (place >= 0 && nutrientListed_[static_cast<size_t>(place)])
            formula.listNutrient(n.id_propiedad);
    }
    formula.reserveContents(static_cast<qsizetype>(nutrients.size() * ingredients.size()));
    for (const formulation::IngredientRow& row : ingredients) {
        const int place = placeOf(ingredientPlace_, row.id_producto);
        if (place < 0)
            continue;
        if (ingredientListed_[static_cast<size_t>(place)])
            formula.listIngredient(row.id_producto);
        const size_t first = static_cast<size_t>(place) * nutrientKey_.size();
        for (size_t k = 0; k < nutrients.size(); ++k) {
            if (nutrientAt[k] < 0)
                continue;
            const size_t cell = first + static_cast<size_t>(nutrientAt[k]);
            if (hasRow_[cell])
                formula.setContent(nutrients[k].id_propiedad, row.id_producto, content_[cell]);
        }
    }
    return formula;
}

} // namespace tarvela::worklist
