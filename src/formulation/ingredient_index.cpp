#include "formulation/ingredient_index.h"

namespace tarvela::formulation {

IngredientIndex::IngredientIndex(const std::vector<IngredientRow>& rows)
    : size_(static_cast<int>(rows.size())) {
    positions_.reserve(size_);
    for (int k = size_ - 1; k >= 0; --k)
        positions_.insert(rows[static_cast<size_t>(k)].id_producto, k);
}

IngredientIndex::IngredientIndex(const std::vector<int>& keys)
    : size_(static_cast<int>(keys.size())) {
    positions_.reserve(size_);
    for (int k = size_ - 1; k >= 0; --k)
        positions_.insert(keys[static_cast<size_t>(k)], k);
}

} // namespace tarvela::formulation
