// "Guardar como &Ingrediente" from a demo formula: the ingredient window proposes the mix's price
// and dry matter and stores the mix's nutrient values as its composition.
#include "support/gui/formulation_window_fixture.h"

#include "text/format.h"

#include <QComboBox>
#include <QLineEdit>

namespace tarvela::test {
namespace {

QLineEdit& field(QDialog& dialog, const char* name) {
    return *dialog.findChild<QLineEdit*>(QString::fromUtf8(name));
}

TEST_F(FormulationWindowTest, SavedAsIngredientWithTheMixsValuesOnDryMatter) {
    ctx.currentBase = 2;
    auto window = open(3); // nutrients as fed
    const auto& model = window->model();
    const double price = model.vCostoHumeda;
    const double dryMatter = model.vMateriaSeca;

    QStringList proposed;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmComoProducto"));
        proposed << field(dialog, "Text3").text() << field(dialog, "Text4").text();
        auto* units = dialog.findChild<QComboBox*>("Combo1");
        QStringList offered;
        for (int i = 0; i < units->count(); ++i)
            offered << units->itemText(i);
        EXPECT_EQ(offered, QStringList({"%", "mg", "Kg", "Mcal", "PPM", "UI"}));
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
        // A code of the other base is taken too.
        field(dialog, "Text1").setText(QStringLiteral("101"));
        field(dialog, "Text2").setText(QStringLiteral("Premezcla cerdos"));
        dialog.findChild<QComboBox*>("Combo1")->setCurrentText(QStringLiteral("Kg"));
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
        EXPECT_TRUE(dialog.isVisible());
        field(dialog, "Text1").setText(QStringLiteral("PRE-1"));
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    press(*window, "Command6");
    EXPECT_EQ(proposed, QStringList({text::formatNumber(price, "0.0000", '.'),
                                     text::formatNumber(dryMatter, "0.00", '.')}));
    EXPECT_EQ(desktop.texts(),
              QStringList({"Debe ingresar el Código", "El Código del Producto Ya fue Ingresado"}));

    const db::Result row = ctx.db().query(
        "select id_producto,idBase,materia_seca from productos where trim(codigo)='PRE-1'");
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.value(0, 1).toInt(), 2);
    const double stored = row.value(0, 2).toDouble();
    const int id = row.value(0, 0).toInt();
    const db::Result composition = ctx.db().query(
        QStringLiteral("select id_propiedad,valor from producto_propiedad where id_producto=%1")
            .arg(id));
    ASSERT_EQ(composition.rowCount(), static_cast<int>(model.rsPropiedades.size()));
    for (int r = 0; r < composition.rowCount(); ++r) {
        const auto* nutrient = window->model().findNutrient(composition.value(r, 0).toInt());
        ASSERT_NE(nutrient, nullptr);
        EXPECT_NEAR(composition.value(r, 1).toDouble(), *nutrient->valor * 100 / stored, 1e-9);
    }
}

} // namespace
} // namespace tarvela::test
