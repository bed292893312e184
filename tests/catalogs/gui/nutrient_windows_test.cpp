#include "catalogs/gui/frmpropiedad.h"
#include "catalogs/gui/frmpropiedades.h"

#include "support/gui/cut_captions.h"
#include "window_driver.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewWidget>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using NutrientWindows = CatalogWindows;

constexpr int kName = 1;

TEST_F(NutrientWindows, ListSearchesAndCreatesANutrientForEveryIngredient) {
    frmpropiedades list(ctx, ListMode::Maintenance);
    open(list);
    EXPECT_EQ(list.windowTitle(), "Nutrientes");
    EXPECT_EQ(grid(list)->rowCount(), 17);
    EXPECT_EQ(grid(list)->horizontalHeaderItem(1)->text(), "Descripción");
    EXPECT_EQ(grid(list)->horizontalHeaderItem(2)->text(), "Unidad");
    EXPECT_TRUE(grid(list)->isColumnHidden(0));
    EXPECT_TRUE(child<QPushButton>(list, "cmdSeleccionar")->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), box(list, "Text1"));
    EXPECT_EQ(cutCaptions(list), "");

    box(list, "Text1")->setText("energ");
    QTest::keyClick(box(list, "Text1"), Qt::Key_Return);
    EXPECT_EQ(column(list, kName),
              QStringList({"Energía Metabolizable", "Energía Neta Lactancia"}));
    EXPECT_EQ(list.lastSelect(), "select p.id_propiedad,p.nombre,p.unidad from propiedades p "
                                 "where true and nombre like '%energ%'");

    // "Imprimir" previews what the list shows.
    int pages = 0;
    launcher.handlers.push_back([&pages](QDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), "Nutrientes");
        pages = preview.findChild<QPrintPreviewWidget*>()->pageCount();
    });
    press(list, "cmdPrint");
    EXPECT_EQ(launcher.opened, QStringList({"repNutrientes"}));
    EXPECT_EQ(pages, 1);
    launcher.opened.clear();

    // Nothing found: the buttons that act on a row do nothing.
    box(list, "Text1")->setText("d'x");
    press(list, "Command1");
    EXPECT_EQ(grid(list)->rowCount(), 0);
    EXPECT_FALSE(child<QLabel>(list, "txtnohubo")->isHidden());
    press(list, "cmdEditar");
    press(list, "cmdDelete");
    press(list, "cmdPrint");
    EXPECT_TRUE(launcher.opened.isEmpty());
    EXPECT_TRUE(desktop.messages.empty());

    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Nutrientes");
        EXPECT_TRUE(static_cast<frmpropiedad&>(window).isNew());
        EXPECT_EQ(cutCaptions(window), "");
        box(window, "Text1")->setText("Calcio d'origen");
        child<QComboBox>(window, "Combo1")->setCurrentText("mg");
        press(window, "cmdUpdate");
    });
    press(list, "cmdAdd");
    EXPECT_EQ(launcher.opened, QStringList({"frmpropiedad"}));
    // The window closed after its save, without asking again.
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(count("select count(*) from propiedades where nombre='Calcio d''origen' and "
                    "unidad='mg'"),
              1);
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_propiedad=18 and valor=0"),
              64);
    press(list, "Command2");
    EXPECT_TRUE(box(list, "Text1")->text().isEmpty());
    EXPECT_EQ(grid(list)->rowCount(), 18);
}

TEST_F(NutrientWindows, AStoredUnitTheListLacksCanBeSavedAgain) {
    frmpropiedades list(ctx, ListMode::Maintenance);
    open(list);
    selectRow(list, kName, "Energía Metabolizable");
    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(box(window, "Text1")->text(), "Energía Metabolizable");
        auto* unit = child<QComboBox>(window, "Combo1");
        EXPECT_EQ(unit->currentText(), "Mcal/kg");
        EXPECT_EQ(unit->count(), 4);
        box(window, "Text1")->setText("Energía Metabolizable (EM)");
        press(window, "cmdUpdate");
        EXPECT_FALSE(window.isVisible());
    });
    QTest::keyClick(grid(list), Qt::Key_Return);
    EXPECT_EQ(scalar("select nombre || '/' || unidad from propiedades where id_propiedad=2"),
              "Energía Metabolizable (EM)/Mcal/kg");
    EXPECT_EQ(list.rememberedRow(), 2);
    EXPECT_EQ(grid(list)->currentRow(), 1);
}

TEST_F(NutrientWindows, AFailedSaveKeepsTheWindowOpenWithWhatWasTyped) {
    frmpropiedad window(ctx, 0);
    open(window);
    box(window, "Text1")->setText("Zinc");
    // Closing asks; Yes saves, which the missing unit refuses: the window stays.
    desktop.choices = {Answer::Yes};
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(desktop.texts(),
              QStringList({"¿Desea Grabar las Modificaciones?", "Debe ingresar la Unidad"}));
    EXPECT_EQ(QApplication::focusWidget(), child<QComboBox>(window, "Combo1"));

    child<QComboBox>(window, "Combo1")->setCurrentText("PPM");
    failInsertsInto("producto_propiedad");
    press(window, "cmdUpdate");
    EXPECT_EQ(launcher.opened, QStringList({"errores"}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(box(window, "Text1")->text(), "Zinc");
    EXPECT_EQ(count("select count(*) from propiedades where nombre='Zinc'"), 0);

    database.stopFailing("INSERT", "producto_propiedad");
    desktop.clear();
    desktop.choices = {Answer::Yes};
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(desktop.texts(), QStringList({"¿Desea Grabar las Modificaciones?"}));
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_propiedad=18"), 64);
}

TEST_F(NutrientWindows, CancelarRestoresAndAnUnchangedWindowClosesSilently) {
    frmpropiedad window(ctx, 9);
    open(window);
    EXPECT_EQ(box(window, "Text1")->text(), "Calcio");
    box(window, "Text1")->setText("Calcio total");
    child<QComboBox>(window, "Combo1")->setCurrentText("mg");
    press(window, "cmdRefresh");
    EXPECT_EQ(box(window, "Text1")->text(), "Calcio");
    EXPECT_EQ(child<QComboBox>(window, "Combo1")->currentText(), "%");
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(NutrientWindows, DeletingNamesTheFormulasThatUseItAndLeavesTheirRows) {
    frmpropiedades list(ctx, ListMode::Maintenance);
    open(list);
    const int formulaRows = count("select count(*) from formula_propiedad where id_propiedad=1");
    ASSERT_GT(formulaRows, 0);
    const QString first = "Desea eliminar el Nutriente Proteína Bruta ?";
    const QString inFormulas = "El Nutriente << Proteína Bruta >> se usa en 7 fórmulas (1001, "
                               "1002, 2001, 2002, 3001, 3002, 3003)\n\n"
                               "¿Confirma la Eliminación del Nutriente?";
    const QString second = "El Nutriente << Proteína Bruta >> posee Ingredientes asignados\n\n"
                           "¿Confirma la Eliminación del Nutriente?";
    for (const auto& answers : {std::deque<bool>{false}, std::deque<bool>{true, false},
                                std::deque<bool>{true, true, false}}) {
        selectRow(list, kName, "Proteína Bruta");
        desktop.answers = answers;
        press(list, "cmdDelete");
        EXPECT_EQ(grid(list)->rowCount(), 17);
    }
    desktop.clear();
    selectRow(list, kName, "Proteína Bruta");
    desktop.answers = {true, true, true};
    press(list, "cmdDelete");
    EXPECT_EQ(desktop.texts(), QStringList({first, inFormulas, second}));
    EXPECT_EQ(grid(list)->rowCount(), 16);
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_propiedad=1"), 0);
    EXPECT_EQ(count("select count(*) from formula_propiedad where id_propiedad=1"), formulaRows);
}

TEST_F(NutrientWindows, PickModeHandsTheNutrientBackOrNothing) {
    {
        frmpropiedades list(ctx, ListMode::Pick);
        open(list);
        EXPECT_FALSE(child<QPushButton>(list, "cmdSeleccionar")->isHidden());
        selectRow(list, kName, "Lisina");
        QTest::keyClick(grid(list), Qt::Key_Return);
        EXPECT_FALSE(list.isVisible());
        ASSERT_TRUE(list.picked().has_value());
        EXPECT_EQ(list.picked()->id, 13);
        EXPECT_EQ(list.picked()->name, "Lisina");
    }
    frmpropiedades list(ctx, ListMode::Pick);
    open(list);
    selectRow(list, kName, "Sodio");
    press(list, "cmdClose");
    EXPECT_FALSE(list.isVisible());
    EXPECT_FALSE(list.picked().has_value());
}

} // namespace
} // namespace tarvela::test
