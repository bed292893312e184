#include "formulation/unsaved_changes.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>

namespace tarvela::formulation {

namespace {

auto stored(const IngredientRow& r) {
    return std::tie(r.id_producto, r.minimo, r.maximo, r.porcentaje_seca, r.porcentaje_humeda,
                    r.cantidad_seca, r.cantidad_humeda, r.materia_seca, r.costo_humeda);
}

auto stored(const NutrientRow& r) {
    return std::tie(r.id_propiedad, r.minimo, r.maximo, r.valor);
}

auto stored(const RatioRow& r) {
    return std::tie(r.id_num, r.id_den, r.minimo, r.maximo, r.valor);
}

auto stored(const GroupRow& r) {
    return std::tie(r.id_grupo, r.minimo, r.maximo, r.valor);
}

std::pair<int, int> ratioKey(const RatioRow& r) {
    return {r.id_num, r.id_den};
}

// The rows by key, as a save writes them.
template <typename Row, typename Key>
std::vector<const Row*> byKey(const std::vector<Row>& rows, Key key) {
    std::vector<const Row*> sorted;
    sorted.reserve(rows.size());
    for (const Row& row : rows)
        sorted.push_back(&row);
    std::sort(sorted.begin(), sorted.end(), [key](const Row* a, const Row* b) {
        return std::invoke(key, *a) < std::invoke(key, *b);
    });
    return sorted;
}

template <typename Row, typename Key>
bool sameRows(const std::vector<Row>& a, const std::vector<Row>& b, Key key) {
    if (a.size() != b.size())
        return false;
    const std::vector<const Row*> left = byKey(a, key);
    const std::vector<const Row*> right = byKey(b, key);
    for (size_t i = 0; i < left.size(); ++i)
        if (stored(*left[i]) != stored(*right[i]))
            return false;
    return true;
}

} // namespace

bool differsFromSaved(const WorkingModel& current, const WorkingModel& saved) {
    return current.batchQuantity != saved.batchQuantity || current.vSecaIng != saved.vSecaIng ||
           current.vSecaNut != saved.vSecaNut ||
           !sameRows(current.ingredients, saved.ingredients, &IngredientRow::id_producto) ||
           !sameRows(current.rsPropiedades, saved.rsPropiedades, &NutrientRow::id_propiedad) ||
           !sameRows(current.relaciones, saved.relaciones, ratioKey) ||
           !sameRows(current.grupos, saved.grupos, &GroupRow::id_grupo);
}

} // namespace tarvela::formulation
