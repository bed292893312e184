#include "catalogs/gui/unit_combo.h"

#include "catalogs/units.h"

#include <QComboBox>

namespace tarvela {

void offerUnits(QComboBox& combo, const QStringList& offered, const QString& stored) {
    combo.clear();
    combo.addItems(catalogs::unitChoices(offered, stored));
    chooseUnit(combo, stored);
}

void chooseUnit(QComboBox& combo, const QString& unit) {
    combo.setCurrentIndex(unit.isEmpty() ? -1 : combo.findText(unit, Qt::MatchExactly));
}

std::optional<QString> chosenUnit(const QComboBox& combo) {
    if (combo.currentIndex() < 0)
        return std::nullopt;
    return combo.currentText();
}

} // namespace tarvela
