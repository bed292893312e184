#pragma once

#include <QString>
#include <QStringList>

// The units the catalog windows offer.
namespace tarvela::catalogs {

// The nutrient window's unit list.
inline const QStringList kNutrientUnits = {QStringLiteral("%"), QStringLiteral("mg"),
                                           QStringLiteral("PPM")};
// The ingredient window's unit list.
inline const QStringList kIngredientUnits = {
    QStringLiteral("%"),    QStringLiteral("mg"),  QStringLiteral("Kg"), QStringLiteral("Ton"),
    QStringLiteral("Mcal"), QStringLiteral("PPM"), QStringLiteral("UI")};
// The unit list of a formulated mix kept as an ingredient.
inline const QStringList kPremixUnits = {QStringLiteral("%"),   QStringLiteral("mg"),
                                         QStringLiteral("Kg"),  QStringLiteral("Mcal"),
                                         QStringLiteral("PPM"), QStringLiteral("UI")};
// The ingredient list's unit filter: an empty entry (no filter) and the units.
inline const QStringList kIngredientFilterUnits = {QString(),
                                                   QStringLiteral("%"),
                                                   QStringLiteral("mg"),
                                                   QStringLiteral("Mcal"),
                                                   QStringLiteral("PPM"),
                                                   QStringLiteral("UI")};

// The unit filter's entries: its list, then the units the ingredients hold that it lacks (such
// as "Kg"), in their order.
inline QStringList unitFilterChoices(const QStringList& stored) {
    QStringList units = kIngredientFilterUnits;
    for (const QString& unit : stored)
        if (!unit.isEmpty() && !units.contains(unit))
            units << unit;
    return units;
}

// The units a window offers for an item: its list, and the item's stored unit after them when
// the list lacks it (a unit stored by other means, such as "Mcal/kg"), so that the item can be
// saved again with its own unit.
inline QStringList unitChoices(const QStringList& offered, const QString& stored) {
    QStringList units = offered;
    if (!stored.isEmpty() && !units.contains(stored))
        units << stored;
    return units;
}

} // namespace tarvela::catalogs
