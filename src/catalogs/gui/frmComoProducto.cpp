#include "catalogs/gui/frmComoProducto.h"

#include "catalogs/units.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvela {

frmComoProducto::frmComoProducto(AppContext& ctx, double costoHumeda, double materiaSeca,
                                 catalogs::MixComposition mix, QWidget* parent)
    : frmproducto(ctx, 0, QStringLiteral("frmComoProducto"), parent), mix_(std::move(mix)) {
    if (auto* last = findChild<QLabel*>(QStringLiteral("lblUltimo")))
        last->setText(QStringLiteral("Último ingresado"));
    lastCodeBox_->clear();
    compositionButton_->hide();
    // "Refrescar" puts the proposed values back, as "Cancelar" does.
    connect(addButton(QStringLiteral("cmdrequery"), QStringLiteral("Refrescar")),
            &QPushButton::clicked, this, [this] { restoreSaved(); });
    savedValues_ = catalogs::premixProposal(costoHumeda, materiaSeca, displaySeparator(ctx_));
    offerUnitList(catalogs::kPremixUnits);
    showBoxes(savedValues_);
}

bool frmComoProducto::save() {
    const catalogs::IngredientBoxes ingredient = boxes();
    const auto check = catalogs::checkIngredient(ingredient);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        focusField(check.field);
        return false;
    }
    return store([&] {
        BusyPointer busy(ctx_.ui());
        const catalogs::IngredientCreation created =
            catalogs::createPremixIngredient(ctx_.db(), ctx_.currentBase, ingredient, mix_);
        busy.release();
        if (created.duplicateCode) {
            ctx_.ui().message(QStringLiteral("El Código del Producto Ya fue Ingresado"),
                              MsgIcon::Critical);
            focusField(catalogs::IngredientField::Code);
            return Store::Refused;
        }
        savedValues_ = ingredient;
        return Store::Done;
    });
}

} // namespace tarvela
