#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;

namespace tarvela {

// A unit list that offers the units given and the item's stored unit (added when the list
// lacks it) and shows the stored unit chosen; no unit chosen when it is empty.
void offerUnits(QComboBox& combo, const QStringList& offered, const QString& stored);
// Shows a unit chosen again (none when it is not in the list).
void chooseUnit(QComboBox& combo, const QString& unit);
// The unit chosen from the list; nothing when none is.
std::optional<QString> chosenUnit(const QComboBox& combo);

} // namespace tarvela
