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

frmpropiedad::frmpropiedad(AppContext& ctx, QWidget* parent)
    : CatalogEditor(ctx, QStringLiteral("frmpropiedad"), QStringLiteral("Nutrientes"), parent),
      nutrientId_(ctx.currentPropertyId) {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setMinimumWidth(280);
    moveOnWithEnter(Text1_);
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    fields()->addWidget(new QLabel(QStringLiteral("Descripción"), this), 0, 0);
    fields()->addWidget(Text1_, 0, 1);
    fields()->addWidget(new QLabel(QStringLiteral("Unidad"), this), 1, 0);
    fields()->addWidget(Combo1_, 1, 1, Qt::AlignLeft);

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
    offerUnits(*Combo1_, catalogs::kNutrientUnits, savedValues_.unidad);
    Text1_->setText(savedValues_.nombre);
}

catalogs::NutrientRecord frmpropiedad::boxes() const {
    return {Text1_->text(), chosenUnit(*Combo1_).value_or(QString())};
}

bool frmpropiedad::changed() const {
    return catalogs::nutrientChanged(savedValues_, Text1_->text(), chosenUnit(*Combo1_));
}

bool frmpropiedad::save() {
    const catalogs::NutrientRecord nutrient = boxes();
    const auto check = catalogs::checkNutrient(nutrient);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        if (check.field == catalogs::NutrientField::Unit)
            Combo1_->setFocus();
        else
            Text1_->setFocus();
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
    Text1_->setText(savedValues_.nombre);
    chooseUnit(*Combo1_, savedValues_.unidad);
}

void frmpropiedad::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    Text1_->setFocus();
}

} // namespace tarvela
