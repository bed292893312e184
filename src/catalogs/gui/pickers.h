#pragma once

#include "context/app_context.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

// The catalog lists in pick mode, as other windows open them: modally, placed beside the window
// that asks; the item chosen, or nothing when the list was closed without choosing.
namespace tarvela {

struct PickedNutrient {
    int id = 0;
    QString name;
};
struct PickedIngredient {
    int id = 0;
    QString name;
    double price = 0; // as the list shows it
};

// The nutrient list, under its own caption ("Nutrientes") unless given another ("Nutriente del
// numerador").
std::optional<PickedNutrient> pickNutrient(AppContext& ctx, QWidget* owner,
                                           const QString& caption = {});
// The ingredient list of the current base.
std::optional<PickedIngredient> pickIngredient(AppContext& ctx, QWidget* owner);
// The same for a list being filled: the rows selected together, in the list's order; empty when
// the list was closed without choosing.
std::vector<PickedIngredient> pickIngredients(AppContext& ctx, QWidget* owner);
// The customer list; the customer chosen, also left in currentCustomer, or 0 when the list was
// closed without choosing (currentCustomer is then 0 too).
int pickCustomer(AppContext& ctx, QWidget* owner);

} // namespace tarvela
