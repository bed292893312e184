#include "catalogs/gui/frmproducto_propiedades.h"

#include "support/gui/cut_captions.h"
#include "window_driver.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

constexpr int kName = 2;
constexpr int kValue = 3;

class CompositionWindow : public CatalogWindows {
protected:
    double stored(int nutrient) {
        return scalar(QStringLiteral("select valor from producto_propiedad where id_producto=5 "
                                     "and id_propiedad=%1")
                          .arg(nutrient))
            .toDouble();
    }

    static QLineEdit* editor(QWidget& window) { return box(window, "txt_aux"); }

    // Opens the editor on a nutrient's value and types over it.
    static void edit(QWidget& window, const QString& nutrient, const char* typed) {
        selectRow(window, kName, nutrient);
        press(window, "cmdEditar");
        ASSERT_TRUE(editor(window)->isVisible());
        QTest::keyClicks(editor(window), typed);
    }
};

TEST_F(CompositionWindow, EnterStoresEscapeDiscardsLeavingAsks) {
    frmproducto_propiedades window(ctx, 5, "Harina de soja 44%");
    open(window);
    EXPECT_EQ(window.windowTitle(), "Harina de soja 44%");
    EXPECT_EQ(grid(window)->rowCount(), 17);
    EXPECT_EQ(column(window, kName).mid(0, 3), QStringList({"TND", "Proteína Bruta", "FDN"}));
    EXPECT_EQ(column(window, kValue).mid(0, 2), QStringList({"84.00000", "49.43820"}));
    EXPECT_EQ(column(window, kValue).last(), "");
    EXPECT_EQ(cutCaptions(window), "");

    selectRow(window, kName, "Calcio");
    press(window, "cmdEditar");
    EXPECT_EQ(editor(window)->text(), "0.3258");
    EXPECT_EQ(editor(window)->selectedText(), "0.3258");
    QTest::keyClicks(editor(window), "90");
    QTest::keyClick(editor(window), Qt::Key_Return);
    EXPECT_FALSE(editor(window)->isVisible());
    EXPECT_EQ(stored(9), 90.0);
    // The stored nutrient moved to the top and stays selected.
    EXPECT_EQ(grid(window)->currentRow(), 0);
    EXPECT_EQ(grid(window)->item(0, kName)->text(), "Calcio");

    edit(window, "Calcio", "5");
    QTest::keyClick(editor(window), Qt::Key_Escape);
    EXPECT_FALSE(editor(window)->isVisible());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(stored(9), 90.0);
    EXPECT_TRUE(desktop.messages.empty());

    // Leaving the cell asks; "," typed is the workstation's ".".
    for (bool yes : {false, true}) {
        edit(window, "Sodio", "1,5");
        EXPECT_EQ(editor(window)->text(), "1.5");
        desktop.answers = {yes};
        box(window, "Text1")->setFocus();
        EXPECT_FALSE(editor(window)->isVisible());
        EXPECT_EQ(desktop.texts().last(), "Desea Grabar el Valor 1.50 para el Nutriente Sodio ?");
        EXPECT_EQ(stored(12), yes ? 1.5 : 0.0225);
    }

    desktop.clear();
    edit(window, "Sodio", "mucho");
    QTest::keyClick(editor(window), Qt::Key_Return);
    EXPECT_EQ(desktop.texts(), QStringList({"El valor debe ser numérico"}));
    EXPECT_TRUE(editor(window)->isVisible());
    QTest::keyClick(editor(window), Qt::Key_Escape);

    // Closing with a value being typed asks first.
    edit(window, "Lisina", "2");
    desktop.answers = {true};
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(desktop.texts().last(), "Desea Grabar el Valor 2.00 para el Nutriente Lisina ?");
    EXPECT_EQ(stored(13), 2.0);
}

TEST_F(CompositionWindow, EliminarNuevoAndTheEmptyList) {
    frmproducto_propiedades window(ctx, 5, "Harina de soja 44%");
    open(window);
    selectRow(window, kName, "Sodio");
    desktop.answers = {true};
    press(window, "cmdDelete");
    EXPECT_EQ(desktop.texts(),
              QStringList({"¿Confirma la eliminación del Nutriente Sodio para el Producto?"}));
    EXPECT_EQ(grid(window)->rowCount(), 16);
    EXPECT_EQ(count("select count(*) from propiedades where id_propiedad=12"), 1);

    const auto pick = [](const QString& name) {
        return [name](QDialog& list) {
            EXPECT_EQ(list.objectName(), "frmpropiedades");
            selectRow(list, 1, name);
            press(list, "cmdSeleccionar");
        };
    };
    launcher.handlers.push_back(pick("Sodio"));
    press(window, "cmdAdd");
    ASSERT_TRUE(editor(window)->isVisible());
    EXPECT_EQ(grid(window)->item(grid(window)->currentRow(), kName)->text(), "Sodio");
    QTest::keyClicks(editor(window), "0.5");
    QTest::keyClick(editor(window), Qt::Key_Return);
    EXPECT_EQ(stored(12), 0.5);

    desktop.clear();
    launcher.handlers.push_back(pick("TND"));
    press(window, "cmdAdd");
    EXPECT_EQ(desktop.texts(), QStringList({"El Nutriente Ya se encuentra Asginada al Producto"}));
    EXPECT_FALSE(editor(window)->isVisible());

    // No nutrient matches: one empty row, on which nothing acts.
    box(window, "Text1")->setText("zzz");
    QTest::keyClick(box(window, "Text1"), Qt::Key_Return);
    EXPECT_EQ(grid(window)->rowCount(), 1);
    press(window, "cmdEditar");
    press(window, "cmdDelete");
    EXPECT_FALSE(editor(window)->isVisible());
    EXPECT_EQ(desktop.messages.size(), 1u);
    press(window, "cmdRefrescar");
    EXPECT_EQ(grid(window)->rowCount(), 1);
    box(window, "Text1")->clear();
    press(window, "cmdRefrescar");
    EXPECT_EQ(grid(window)->rowCount(), 17);
}

} // namespace
} // namespace tarvela::test
