#include "worklist/worklist_reading.h"

#include "formulation/formula_composition.h"
#include "worklist/parallel_runs.h"
#include "worklist/stored_formulas.h"

#include <algorithm>
#include <exception>

namespace tarvela::worklist {

WorklistReading::WorklistReading(db::Connection& conn, Worklist& list, int base, std::size_t block)
    : block_(std::max<std::size_t>(block, 1)), conn_(conn), list_(list), base_(base) {}

void WorklistReading::readCatalog() {
    list_.catalog = CatalogComposition(conn_, base_);
}

bool WorklistReading::readBlock() {
    const size_t from = next_;
    const size_t to = std::min(list_.rows.size(), from + block_);
    if (from >= to)
        return false;
    std::vector<int> ids;
    ids.reserve(to - from);
    for (size_t i = from; i < to; ++i)
        ids.push_back(list_.rows[i].formula.idFormula);
    std::vector<StoredFormula> stored = readStoredFormulas(conn_, ids, list_.decimalSeparator);

    std::vector<int> nutrientKeys;
    std::vector<int> ingredientKeys;
    std::vector<size_t> uncovered;
    for (size_t i = from; i < to; ++i) {
        Reformulated& row = list_.rows[i];
        takeStored(row, std::move(stored[i - from]));
        const std::vector<formulation::NutrientRow> nutrients =
            formulation::compositionNutrients(row.model);
        if (list_.catalog.covers(nutrients, row.model.ingredients))
            continue;
        uncovered.push_back(i);
        for (const formulation::NutrientRow& n : nutrients)
            nutrientKeys.push_back(n.id_propiedad);
        for (const formulation::IngredientRow& ingredient : row.model.ingredients)
            ingredientKeys.push_back(ingredient.id_producto);
    }
    // Ingredients of another base, or items gone from the catalog: read by their keys, as the
    // whole worklist's were before the runs.
    if (!uncovered.empty()) {
        const CatalogComposition& own = list_.ownCatalogs.emplace_back(
            conn_, std::move(nutrientKeys), std::move(ingredientKeys));
        for (size_t i : uncovered)
            list_.rows[i].composition = &own;
    }
    next_ = to;
    return true;
}

void readAndRunAll(db::Connection& conn, Worklist& list, int base, int threads) {
    WorklistReading reading(conn, list, base);
    reading.readCatalog();
    ParallelRuns runs(list.rows, list.catalog, list.decimalSeparator, 0);
    runs.start(threads);
    try {
        while (reading.readBlock())
            runs.makeAvailable(reading.rowsRead());
    } catch (...) {
        runs.cancel();
        runs.wait();
        throw;
    }
    runs.wait();
}

} // namespace tarvela::worklist
