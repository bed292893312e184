#pragma once

#include "context/app_context.h"

#include <QString>

#include <optional>

class QWidget;

// The catalog lists in pick mode, as other windows open them: modally, placed beside the window
// that asks, with "nothing chosen" set beforehand and the caller's list mode restored after.
namespace tarvela {

struct PickedNutrient {
    int id = 0;
    QString name;
};
struct PickedIngredient {
    int id = 0;
    QString name;
    double price = 0;
};

// The nutrient list; currentPropertyId (and currentPropertyName) tell the choice, 0 for none.
std::optional<PickedNutrient> pickNutrient(AppContext& ctx, QWidget* owner);
// The ingredient list of the current base; currentProductId, currentProductName and
// currentProductPrice tell the choice, currentProductId 0 for none.
std::optional<PickedIngredient> pickIngredient(AppContext& ctx, QWidget* owner);
// The customer list; the customer chosen, also left in currentCustomer, or 0 when the list was
// closed without choosing (currentCustomer is then 0 too).
int pickCustomer(AppContext& ctx, QWidget* owner);

} // namespace tarvela
