#include "catalogs/gui/frmCliente.h"
#include "catalogs/gui/frmClientes.h"

#include "support/gui/cut_captions.h"
#include "window_driver.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using CustomerWindows = CatalogWindows;

constexpr int kName = 1;
constexpr int kTown = 3;

TEST_F(CustomerWindows, CreateFindEditAndDelete) {
    frmClientes list(ctx, ListMode::Maintenance);
    open(list);
    EXPECT_EQ(list.windowTitle(), "Clientes");
    EXPECT_EQ(grid(list)->rowCount(), 0);
    EXPECT_FALSE(child<QLabel>(list, "txtnohubo")->isHidden());
    EXPECT_TRUE(child<QPushButton>(list, "cmdSeleccionar")->isHidden());
    EXPECT_EQ(cutCaptions(list), "");

    const QStringList typed[] = {{"Tambo La Paz", "Ruta 5 km 3", "Villa María", "0353 15", ""},
                                 {"Feedlot O'Brien", "", "San Marcos Sud", "", "ob@x.ar"}};
    for (const QStringList& texts : typed) {
        launcher.handlers.push_back([&](QDialog& window) {
            EXPECT_EQ(window.windowTitle(), "Cliente");
            EXPECT_EQ(cutCaptions(window), "");
            // Enter moves from box to box.
            for (int i = 0; i < 5; ++i) {
                QLineEdit* field = box(window, QStringLiteral("Text%1").arg(i + 1).toLatin1());
                EXPECT_EQ(QApplication::focusWidget(), field);
                field->setText(texts[i]);
                if (i < 4)
                    QTest::keyClick(field, Qt::Key_Return);
            }
            press(window, "cmdUpdate");
        });
        press(list, "cmdAdd");
    }
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(column(list, kName), QStringList({"Feedlot O'Brien", "Tambo La Paz"}));
    EXPECT_EQ(scalar("select mail from clientes where idCliente=2"), "ob@x.ar");

    box(list, "Text2")->setText("mar");
    QTest::keyClick(box(list, "Text2"), Qt::Key_Return);
    EXPECT_EQ(column(list, kTown), QStringList({"San Marcos Sud", "Villa María"}));
    box(list, "Text1")->setText("o'b");
    press(list, "Command1");
    EXPECT_EQ(column(list, kName), QStringList({"Feedlot O'Brien"}));
    press(list, "Command2");

    selectRow(list, kName, "Tambo La Paz");
    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(box(window, "Text3")->text(), "Villa María");
        box(window, "Text3")->setText("Villa Nueva");
        press(window, "cmdRefresh");
        EXPECT_EQ(box(window, "Text3")->text(), "Villa María");
        box(window, "Text1")->clear();
        press(window, "cmdUpdate");
        EXPECT_EQ(desktop.texts(), QStringList({"Debe ingresar el nombre"}));
        box(window, "Text1")->setText("Tambo La Paz S.A.");
        desktop.choices = {Answer::Yes};
        window.close();
    });
    QTest::keyClick(grid(list), Qt::Key_Return);
    EXPECT_EQ(column(list, kName), QStringList({"Feedlot O'Brien", "Tambo La Paz S.A."}));
    EXPECT_EQ(list.rememberedRow(), 2);

    // A customer of a formula is kept; deleting the current customer clears it.
    ctx.db().execute("update formulas set idCliente=1 where id_formula=4");
    desktop.clear();
    desktop.answers = {true};
    press(list, "cmdDelete");
    EXPECT_EQ(desktop.texts(),
              QStringList({"Desea eliminar el Cliente Tambo La Paz S.A. ?",
                           "El Cliente << Tambo La Paz S.A. >> posee Formulas Cargadas "}));
    EXPECT_EQ(desktop.messages[1].icon, MsgIcon::None);
    EXPECT_EQ(grid(list)->rowCount(), 2);

    ctx.currentCustomer = 2;
    ctx.db().execute("update parametros set idCliente=2");
    selectRow(list, kName, "Feedlot O'Brien");
    desktop.answers = {true};
    press(list, "cmdDelete");
    EXPECT_EQ(column(list, kName), QStringList({"Tambo La Paz S.A."}));
    EXPECT_EQ(ctx.currentCustomer, 0);
    EXPECT_EQ(count("select idCliente from parametros"), 0);
}

TEST_F(CustomerWindows, PickModeHandsBackTheCustomerChosenOrNone) {
    ctx.db().execute("insert into clientes (idCliente,nombre) values (3,'Alfa'),(4,'Beta')");
    ctx.currentCustomer = 3;
    {
        frmClientes list(ctx, ListMode::Pick);
        open(list);
        EXPECT_FALSE(child<QPushButton>(list, "cmdSeleccionar")->isHidden());
        selectRow(list, kName, "Beta");
        emit grid(list)->cellDoubleClicked(1, kName);
        EXPECT_FALSE(list.isVisible());
        EXPECT_EQ(list.picked(), 4);
    }
    frmClientes list(ctx, ListMode::Pick);
    open(list);
    press(list, "cmdClose");
    EXPECT_EQ(list.picked(), std::nullopt);
}

} // namespace
} // namespace tarvela::test
