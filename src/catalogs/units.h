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
// The ingredient list's unit filter: an empty entry (no filter) and the units.
inline const QStringList kIngredientFilterUnits = {QString(),
                                                   QStringLiteral("%"),
                                                   QStringLiteral("mg"),
                                                   QStringLiteral("Mcal"),
                                                   QStringLiteral("PPM"),
                                                   QStringLiteral("UI")};

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
