#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QHash>

#include <vector>

// Look-ups of the catalog composition for the rows of the ingredient working table. Each
// statement's rows are walked once and matched to the ingredients through a hash of their keys,
// instead of searching the result from its first row for every ingredient.
namespace tarvela::formulation {

// Position of each ingredient key in a list of ingredient rows (the first row of a key wins).
class IngredientIndex {
public:
    explicit IngredientIndex(const std::vector<IngredientRow>& rows);
    explicit IngredientIndex(const std::vector<int>& keys);
    // -1 when the key is not in the list.
    int position(int idProducto) const { return positions_.value(idProducto, -1); }
    int size() const { return size_; }

private:
    QHash<int, int> positions_;
    int size_ = 0;
};

// For each ingredient of an index, the first row of a result whose key column holds the
// ingredient's key, or -1 when the result has none.
std::vector<int> firstRowsByIngredient(const db::Result& result, const QString& keyColumn,
                                       const IngredientIndex& index);

// A nutrient's content in an ingredient (dry-matter basis) and the ingredient's catalog dry matter.
struct CatalogContent {
    double valor = 0;
    double materiaSeca = 0;
};

// "select pp.*,p.materia_seca from producto_propiedad pp, productos p where ... id_propiedad=":
// the composition rows of one nutrient, matched to the ingredients of an index.
class CompositionByNutrient {
public:
    CompositionByNutrient(db::Connection& conn, int idPropiedad, const IngredientIndex& index);
    // The content for the ingredient at position k, or nullptr when the catalog has no row.
    const CatalogContent* at(size_t k) const { return found_[k] ? &contents_[k] : nullptr; }

private:
    std::vector<CatalogContent> contents_;
    std::vector<char> found_;
};

// "select * from producto_propiedad where id_propiedad=": one nutrient's contents for the
// ingredients of an index, 0 where the catalog has no row.
std::vector<double> nutrientContents(db::Connection& conn, int idPropiedad,
                                     const IngredientIndex& index);

} // namespace tarvela::formulation
