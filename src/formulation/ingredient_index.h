#pragma once

#include "formulation/working_model.h"

#include <QHash>

#include <vector>

namespace tarvela::formulation {

// Position of each ingredient key in a list of ingredient rows (the first row of a key wins, as a
// search from the first row would find it).
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

} // namespace tarvela::formulation
