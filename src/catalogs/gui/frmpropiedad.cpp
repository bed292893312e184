#include "catalogs/gui/frmpropiedad.h"

#include "catalogs/gui/unit_combo.h"
#include "catalogs/units.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvela {

frmpropiedad::frmpropiedad(AppContext& ctx, int nutrientId, QWidget* parent)
    : CatalogEditor(ctx, QStringLiteral("frmpropiedad"), QStringLiteral("Nutrientes"), parent),
      nutrientId_(nutrientId) {
    descriptionBox_ = new QLineEdit(this);
    descriptionBox_->setObjectName(QStringLiteral("Text1"));
    descriptionBox_->setMinimumWidth(280);
    moveOnWithEnter(descriptionBox_);
    unitCombo_ = new QComboBox(this);
    unitCombo_->setObjectName(QStringLiteral("Combo1"));
    fields()->addWidget(new QLabel(QStringLiteral("Descripción"), this), 0, 0);
    fields()->addWidget(descriptionBox_, 0, 1);
    fields()->addWidget(new QLabel(QStringLiteral("Unidad"), this), 1, 0);
    fields()->addWidget(unitCombo_, 1, 1, Qt::AlignLeft);

    isNew_ = nutrientId_ < 1;
    if (!isNew_) {
        try {
            if (const auto nutrient = catalogs::loadNutrient(ctx_.db(), nutrientId_))
                savedValues_ = *nutrient;
            else
                ctx_.ui().message(QStringLiteral("No se encuentra el Nutriente"),
                                  MsgIcon::Critical);
        } catch (const db::DbError& error) {
            showError(ctx_, QStringLiteral("No se encuentra el Nutriente"), error, this);
        }
    }
    offerUnits(*unitCombo_, catalogs::kNutrientUnits, savedValues_.unidad);
    descriptionBox_->setText(savedValues_.nombre);
}

catalogs::NutrientRecord frmpropiedad::boxes() const {
    return {descriptionBox_->text(), chosenUnit(*unitCombo_).value_or(QString())};
}

bool frmpropiedad::changed() const {
    return catalogs::nutrientChanged(savedValues_, descriptionBox_->text(),
                                     chosenUnit(*unitCombo_));
}

bool frmpropiedad::save() {
    const catalogs::NutrientRecord nutrient = boxes();
    const auto check = catalogs::checkNutrient(nutrient);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        if (check.field == catalogs::NutrientField::Unit)
            unitCombo_->setFocus();
        else
            descriptionBox_->setFocus();
        return false;
    }
    const bool stored = store([&] {
        if (!isNew_)
            return catalogs::updateNutrient(ctx_.db(), nutrientId_, nutrient) ? Store::Done
                                                                              : Store::Missing;
        BusyPointer busy(ctx_.ui());
        nutrientId_ = catalogs::createNutrient(ctx_.db(), nutrient);
        isNew_ = false;
        return Store::Done;
    });
    if (!stored)
        return false;
    savedValues_ = nutrient;
    return true;
}

void frmpropiedad::restore() {
    descriptionBox_->setText(savedValues_.nombre);
    chooseUnit(*unitCombo_, savedValues_.unidad);
}

void frmpropiedad::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    descriptionBox_->setFocus();
}

} // namespace tarvela
