#include "formulation/catalog_lookup.h"

#include "db/statements.h"

namespace tarvela::formulation {

namespace {

double number(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace

IngredientIndex::IngredientIndex(const std::vector<IngredientRow>& rows)
    : size_(static_cast<int>(rows.size())) {
    positions_.reserve(size_);
    // The first row of a key wins, as a search from the first row would find it.
    for (int k = size_ - 1; k >= 0; --k)
        positions_.insert(rows[static_cast<size_t>(k)].id_producto, k);
}

IngredientIndex::IngredientIndex(const std::vector<int>& keys)
    : size_(static_cast<int>(keys.size())) {
    positions_.reserve(size_);
    for (int k = size_ - 1; k >= 0; --k)
        positions_.insert(keys[static_cast<size_t>(k)], k);
}

std::vector<int> firstRowsByIngredient(const db::Result& result, const QString& keyColumn,
                                       const IngredientIndex& index) {
    std::vector<int> rows(static_cast<size_t>(index.size()), -1);
    const int column = result.columnIndex(keyColumn);
    if (column < 0)
        return rows;
    for (int r = 0; r < result.rowCount(); ++r) {
        const int k = index.position(result.value(r, column).toInt());
        if (k >= 0 && rows[static_cast<size_t>(k)] < 0)
            rows[static_cast<size_t>(k)] = r;
    }
    return rows;
}

CompositionByNutrient::CompositionByNutrient(db::Connection& conn, int idPropiedad,
                                             const IngredientIndex& index)
    : contents_(static_cast<size_t>(index.size())), found_(static_cast<size_t>(index.size()), 0) {
    const db::Result rs =
        conn.query(QStringLiteral("select pp.*,p.materia_seca from producto_propiedad pp, "
                                  "productos p where pp.id_producto=p.id_producto and "
                                  "id_propiedad=") +
                   db::sqlInt(idPropiedad));
    const std::vector<int> rows = firstRowsByIngredient(rs, QStringLiteral("id_producto"), index);
    const int cValor = rs.columnIndex(QStringLiteral("valor"));
    const int cMs = rs.columnIndex(QStringLiteral("materia_seca"));
    for (size_t k = 0; k < rows.size(); ++k) {
        if (rows[k] < 0)
            continue;
        found_[k] = 1;
        contents_[k].valor = number(rs.value(rows[k], cValor));
        contents_[k].materiaSeca = number(rs.value(rows[k], cMs));
    }
}

std::vector<double> nutrientContents(db::Connection& conn, int idPropiedad,
                                     const IngredientIndex& index) {
    std::vector<double> contents(static_cast<size_t>(index.size()), 0.0);
    const db::Result rs =
        conn.query(QStringLiteral("select * from producto_propiedad where id_propiedad=") +
                   db::sqlInt(idPropiedad));
    const std::vector<int> rows = firstRowsByIngredient(rs, QStringLiteral("id_producto"), index);
    const int cValor = rs.columnIndex(QStringLiteral("valor"));
    for (size_t k = 0; k < rows.size(); ++k)
        if (rows[k] >= 0)
            contents[k] = number(rs.value(rows[k], cValor));
    return contents;
}

} // namespace tarvela::formulation
