#pragma once

#include "db/connection.h"
#include "formulation/formula_composition.h"

#include <QHash>

#include <vector>

// The catalog a worklist reads once: which of its formulas' ingredients and nutrients the catalog
// still lists, and the content of every one of those nutrients in every one of those
// ingredients, kept as a table. Each run takes from it the composition of its own formula alone,
// as the database would give it, small enough to stay near the processor while the run looks its
// rows up many times. Shared read-only by all runs.
namespace tarvela::worklist {

class CatalogComposition : public formulation::CompositionSource {
public:
    CatalogComposition() = default;
    // Reads the catalog rows of the given keys (given in any order, repeats allowed). Throws
    // db::DbError.
    CatalogComposition(db::Connection& conn, std::vector<int> nutrientKeys,
                       std::vector<int> ingredientKeys);
    // Reads, in one pass, every nutrient of the catalog and every ingredient of the base with
    // their composition, before the formulas that use them are known. Throws db::DbError.
    CatalogComposition(db::Connection& conn, int base);

    // Whether the reading covered every one of these keys: a composition of them is then the
    // one the database would give.
    bool covers(const std::vector<formulation::NutrientRow>& nutrients,
                const std::vector<formulation::IngredientRow>& ingredients) const;

    // The composition of the given nutrients in the given ingredients: those the reading did not
    // cover are absent, as the catalog had no row of them. Safe to call from several threads.
    formulation::FormulaComposition
    composition(const std::vector<formulation::NutrientRow>& nutrients,
                const std::vector<formulation::IngredientRow>& ingredients) const override;

private:
    // Fills the table from rows (id_producto, id_propiedad, valor) as compositionStatement gives
    // them.
    void fill(const db::Result& rs);

    // The place of a key in the table, or -1 for a key not read.
    static int placeOf(const QHash<int, int>& places, int key) { return places.value(key, -1); }

    QHash<int, int> nutrientPlace_;
    QHash<int, int> ingredientPlace_;
    std::vector<int> nutrientKey_;     // by place
    std::vector<int> ingredientKey_;   // by place
    std::vector<char> nutrientListed_; // by place: the catalog lists it
    std::vector<char> ingredientListed_;
    // By ingredient place, then nutrient place: the content, and whether the catalog has a row.
    std::vector<double> content_;
    std::vector<char> hasRow_;
};

} // namespace tarvela::worklist
