#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproductos.h"

#include "support/gui/cut_captions.h"
#include "window_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewWidget>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using IngredientWindows = CatalogWindows;

constexpr int kCode = 1;
constexpr int kName = 2;

// Picks a nutrient in the nutrient list that a window opens, or closes it without choosing.
std::function<void(QDialog&)> pickNutrientNamed(const QString& name) {
    return [name](QDialog& list) {
        EXPECT_EQ(list.objectName(), "frmpropiedades");
        if (name.isEmpty())
            return;
        auto* g = list.findChild<QTableWidget*>("flexgrid1");
        for (int r = 0; r < g->rowCount(); ++r)
            if (g->item(r, 1)->text() == name)
                g->setCurrentCell(r, 1);
        list.findChild<QPushButton*>("cmdSeleccionar")->click();
    };
}

TEST_F(IngredientWindows, ListFiltersWithTheirMessagesAndTheNutrientPicker) {
    useDecimalSeparator(',');
    frmproductos list(ctx, ListMode::Maintenance);
    open(list);
    EXPECT_EQ(list.windowTitle(), "Ingredientes");
    EXPECT_EQ(grid(list)->rowCount(), 23);
    EXPECT_EQ(column(list, kName).first(), "Afrechillo de trigo");
    EXPECT_EQ(grid(list)->item(0, 4)->text(), "0,1300");
    EXPECT_TRUE(grid(list)->item(0, kCode)->textAlignment() & Qt::AlignRight);
    EXPECT_FALSE(child<QLabel>(list, "imgTipoFormulacion")->pixmap().isNull());
    EXPECT_EQ(cutCaptions(list), "");

    // "." typed into a price box is the workstation's ",".
    QLineEdit* costFrom = box(list, "Text4");
    costFrom->setFocus();
    QTest::keyClicks(costFrom, "0.4");
    EXPECT_EQ(costFrom->text(), "0,4");
    QTest::keyClick(costFrom, Qt::Key_Return);
    EXPECT_EQ(
        column(list, kName),
        QStringList({"Bicarbonato de sodio", "Expeller de soja", "Fosfato dicálcico",
                     "Harina de soja 44%", "Núcleo vitamínico-mineral bovinos", "Urea granulada"}));

    box(list, "Text5")->setText("abc");
    box(list, "Text8")->setText("x");
    press(list, "Command1");
    EXPECT_EQ(desktop.texts(), QStringList({"El Precio de Costo debe ser numérico"}));
    EXPECT_EQ(QApplication::focusWidget(), box(list, "Text5"));
    box(list, "Text5")->clear();
    press(list, "Command1");
    EXPECT_EQ(desktop.texts().last(), "El rango de Nutrientes debe ser numérico");
    EXPECT_EQ(QApplication::focusWidget(), box(list, "Text8"));

    // The nutrient filter: the nutrient list in pick mode, the caller's mode restored after.
    press(list, "Command2");
    launcher.handlers.push_back(pickNutrientNamed("Proteína Bruta"));
    press(list, "cmdNutriente");
    EXPECT_EQ(box(list, "Text6")->text(), "Proteína Bruta");
    EXPECT_EQ(list.filterPropertyId(), 1);
    box(list, "Text3")->setText("soja");
    box(list, "Text7")->setText("40");
    press(list, "Command1");
    EXPECT_EQ(column(list, kName), QStringList({"Expeller de soja", "Harina de soja 44%"}));
    int pages = 0;
    launcher.handlers.push_back([&pages](QDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), "Ingredientes");
        pages = preview.findChild<QPrintPreviewWidget*>()->pageCount();
    });
    press(list, "cmdPrint"); // what the list shows
    EXPECT_EQ(launcher.opened, QStringList({"frmpropiedades", "repIngredientes"}));
    EXPECT_EQ(pages, 1);
    launcher.handlers.push_back(pickNutrientNamed(QString()));
    press(list, "cmdNutriente");
    EXPECT_EQ(list.filterPropertyId(), 0);
    EXPECT_TRUE(box(list, "Text6")->text().isEmpty());

    // The unit filter offers the units the ingredients hold ("Kg") beside its own.
    box(list, "Text3")->clear();
    box(list, "Text1")->setText("110");
    box(list, "Text2")->setText("112");
    auto* unit = child<QComboBox>(list, "Combo1");
    ASSERT_GE(unit->findText("Kg"), 0);
    unit->setCurrentText("Kg");
    press(list, "Command1");
    EXPECT_EQ(column(list, kCode), QStringList({"110", "112", "111"})); // by description
    // No match: the line says so, and the window keeps its size.
    const QSize size = list.size();
    unit->setCurrentText("Mcal");
    press(list, "Command1");
    EXPECT_TRUE(child<QLabel>(list, "txtnohubo")->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(list.size(), size);
    press(list, "Command2");
    EXPECT_EQ(grid(list)->rowCount(), 23);
    EXPECT_TRUE(box(list, "Text3")->text().isEmpty());
    EXPECT_EQ(child<QComboBox>(list, "Combo1")->currentIndex(), -1);
}

TEST_F(IngredientWindows, NewIngredientStaysOpenForItsComposition) {
    useDecimalSeparator(',');
    frmproductos list(ctx, ListMode::Maintenance);
    open(list);
    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(box(window, "txtUltimo")->text(), "123");
        EXPECT_FALSE(child<QPushButton>(window, "CmdPropiedades")->isEnabled());
        EXPECT_EQ(cutCaptions(window), "");
        box(window, "Text1")->setText("105");
        box(window, "Text2")->setText("Harina d'avena");
        child<QComboBox>(window, "Combo1")->setCurrentText("Kg");
        QLineEdit* price = box(window, "Text3");
        price->setFocus();
        QTest::keyClicks(price, "0.25");
        box(window, "Text4")->setFocus(); // leaving the price box reformats it
        EXPECT_EQ(price->text(), "0,2500");
        QTest::keyClicks(box(window, "Text4"), "88");
        press(window, "cmdUpdate");
        EXPECT_EQ(desktop.texts(), QStringList({"El Código del Producto Ya fue Ingresado"}));
        EXPECT_EQ(QApplication::focusWidget(), box(window, "Text1"));

        box(window, "Text1")->setText("124");
        press(window, "cmdUpdate");
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(box(window, "Text1")->isReadOnly());
        EXPECT_TRUE(box(window, "txtUltimo")->text().isEmpty());
        EXPECT_EQ(box(window, "Text4")->text(), "88,00");
        EXPECT_EQ(static_cast<frmproducto&>(window).productId(), 65);
        launcher.handlers.push_back([&](QDialog& composition) {
            EXPECT_EQ(composition.windowTitle(), "Harina d'avena");
            EXPECT_EQ(grid(composition)->rowCount(), 17);
        });
        press(window, "CmdPropiedades");
        window.close(); // nothing changed since the save: no question
        EXPECT_FALSE(window.isVisible());
    });
    press(list, "cmdAdd");
    EXPECT_EQ(launcher.opened, QStringList({"frmproducto", "frmproducto_propiedades"}));
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_producto=65 and valor=0"),
              17);
    EXPECT_EQ(scalar("select costo from productos where id_producto=65").toDouble(), 0.25);
    EXPECT_TRUE(column(list, kName).contains("Harina d'avena"));
}

TEST_F(IngredientWindows, PriceBoxRefusesTextAndTheCloseQuestionCanDiscard) {
    frmproducto window(ctx, 5);
    open(window);
    EXPECT_EQ(box(window, "Text1")->text(), "105");
    EXPECT_TRUE(box(window, "txtUltimo")->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), box(window, "Text2"));
    QLineEdit* price = box(window, "Text3");
    price->setFocus();
    price->setText("caro");
    box(window, "Text4")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desktop.texts(), QStringList({"Debe ingresar el Costo por Unidad de Producto"}));
    EXPECT_EQ(QApplication::focusWidget(), price);

    price->setText("-5");
    box(window, "Text4")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desktop.texts().last(), "El Costo por Unidad de Producto no puede ser negativo");
    EXPECT_EQ(QApplication::focusWidget(), price);

    price->setText("0.45");
    box(window, "Text2")->setFocus();
    EXPECT_EQ(price->text(), "0.4500");
    // The dry matter is reformatted when left, also for "Grabar", the next in the tab order.
    QLineEdit* dryMatter = box(window, "Text4");
    dryMatter->setFocus();
    dryMatter->setText("88");
    child<QPushButton>(window, "cmdUpdate")->setFocus();
    EXPECT_EQ(dryMatter->text(), "88.00");
    desktop.choices = {Answer::No};
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(desktop.texts().last(), "¿Desea Grabar las Modificaciones?");
    EXPECT_EQ(scalar("select costo from productos where id_producto=5").toDouble(), 0.42);
}

// The formulas that use the ingredient are named before it goes; their rows stay.
TEST_F(IngredientWindows, DeletingNamesTheFormulasThatUseItAndLeavesTheirRows) {
    frmproductos list(ctx, ListMode::Maintenance);
    open(list);
    const int formulaRows = count("select count(*) from formula_producto where id_producto=1");
    ASSERT_GT(formulaRows, 0);
    selectRow(list, kName, "Maíz grano partido");
    desktop.answers = {true, false};
    press(list, "cmdDelete");
    EXPECT_EQ(grid(list)->rowCount(), 23);
    desktop.clear();
    desktop.answers = {true, true, true};
    press(list, "cmdDelete");
    EXPECT_EQ(desktop.texts(),
              QStringList({"Desea eliminar el Ingrediente Maíz grano partido ?",
                           "El Ingrediente << Maíz grano partido >> se usa en 2 fórmulas (1001, "
                           "1002)\n\n¿Confirma la Eliminación del Ingrediente?",
                           "El Ingrediente << Maíz grano partido >> posee nutrientes asignados\n\n"
                           "¿Confirma la Eliminación del Ingrediente?"}));
    EXPECT_EQ(grid(list)->rowCount(), 22);
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_producto=1"), 0);
    EXPECT_EQ(count("select count(*) from formula_producto where id_producto=1"), formulaRows);
    // "Limpiar" lists again from the first row, selected and in view.
    press(list, "Command2");
    EXPECT_EQ(grid(list)->currentRow(), 0);
    EXPECT_TRUE(grid(list)->item(0, kName)->isSelected());
}

TEST_F(IngredientWindows, PickModeHandsIdNameAndPriceBackOrNothing) {
    useDecimalSeparator(',');
    {
        frmproductos list(ctx, ListMode::Pick);
        open(list);
        selectRow(list, kName, "Melaza de caña");
        press(list, "cmdSeleccionar");
        EXPECT_FALSE(list.isVisible());
        ASSERT_TRUE(list.picked().has_value());
        EXPECT_EQ(list.picked()->id, 17);
        EXPECT_EQ(list.picked()->name, "Melaza de caña");
        EXPECT_EQ(list.picked()->price, 0.22);
    }
    // "Editar" in a pick list, then closing without choosing, hands nothing back.
    frmproductos list(ctx, ListMode::Pick);
    open(list);
    selectRow(list, kName, "Sal común");
    press(list, "cmdEditar");
    EXPECT_EQ(launcher.opened, QStringList({"frmproducto"}));
    press(list, "cmdClose");
    EXPECT_FALSE(list.picked().has_value());
}

} // namespace
} // namespace tarvela::test
