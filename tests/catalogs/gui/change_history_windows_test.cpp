// Two workstations on one ingredient through its window: the later save is refused with who
// changed it and when, nothing of it is written, and "Historial de cambios" lists the changes.
#include "catalogs/gui/frmproducto.h"
#include "catalogs/ingredient_catalog.h"

#include "window_driver.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using ChangeHistoryWindows = CatalogWindows;

TEST_F(ChangeHistoryWindows, ASaveOverAnotherWorkstationsChangeIsRefusedAndListed) {
    frmproducto window(ctx, 5);
    open(window);
    box(window, "Text3")->setText("0.5000");

    // Meanwhile another workstation renames the ingredient.
    auto other = database.openAnother();
    auto theirs = *catalogs::loadIngredient(*other, 5, QLatin1Char('.'));
    const QString before = theirs.nombre;
    theirs.nombre = "Afrechillo de trigo";
    catalogs::updateIngredient(*other, 5, theirs, catalogs::ingredientStamp(*other, 5));

    QString shown;
    launcher.handlers.push_back([&shown](QDialog& error) {
        shown = error.findChild<QPlainTextEdit*>("txtMensaje")->toPlainText();
    });
    press(window, "cmdUpdate");
    EXPECT_EQ(launcher.opened, QStringList({"errores"}));
    EXPECT_TRUE(
        shown.startsWith("No es posible grabar el Registro\n\nEl registro fue modificado por " +
                         other->userName() + " el "))
        << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("; vuelva a abrirlo para ver los cambios."));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(scalar("select costo from productos where id_producto=5").toDouble(), 0.42);
    EXPECT_EQ(scalar("select nombre from productos where id_producto=5").toString(),
              "Afrechillo de trigo");

    // Opened again it shows their change, and saves over it.
    desktop.choices = {Answer::No};
    window.close();
    launcher.opened.clear();
    frmproducto again(ctx, 5);
    open(again);
    EXPECT_EQ(box(again, "Text2")->text(), "Afrechillo de trigo");
    box(again, "Text3")->setText("0.5000");
    press(again, "cmdUpdate");
    EXPECT_TRUE(launcher.opened.isEmpty()) << launcher.opened.join(',').toStdString();
    EXPECT_EQ(scalar("select costo from productos where id_producto=5").toDouble(), 0.5);

    // The history: newest first, who and what changed.
    QStringList rows;
    QString caption;
    launcher.handlers.push_back([&](QDialog& history) {
        caption = history.windowTitle();
        auto* grid = history.findChild<QTableWidget*>("flexHistorial");
        for (int r = 0; r < grid->rowCount(); ++r)
            rows << grid->item(r, 1)->text() + " | " + grid->item(r, 2)->text() + " | " +
                        grid->item(r, 3)->text();
    });
    press(again, "cmdHistorial");
    EXPECT_EQ(launcher.opened, QStringList({"frmHistorial"}));
    EXPECT_EQ(caption, "Historial de cambios - Afrechillo de trigo");
    const QString user = ctx.db().userName();
    EXPECT_EQ(rows.join('\n').toStdString(),
              (QStringList{user + " | modificación | costo: 0.42 → 0.5",
                           other->userName() + " | modificación | nombre: \"" + before +
                               "\" → \"Afrechillo de trigo\""})
                  .join('\n')
                  .toStdString());
}

} // namespace
} // namespace tarvela::test
