#include "app/gui/menu.h"

#include "support/gui/app_fixture.h"

#include <QAction>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using CatalogItems = test::AppFixture;

// Each catalog item opens its window: the lists in maintenance mode, the item windows empty.
TEST_F(CatalogItems, OpenTheCatalogWindows) {
    menu window(ctx);
    // The window opened, listMode, currentProductId and currentPropertyId while it is open.
    const struct {
        const char* item;
        const char* state;
    } items[] = {
        {"mnuNueIng", "frmproducto BUSCAR 0 5"},
        {"mnuConIng", "frmproductos ABM 5 5"},
        {"mnuNUeNut", "frmpropiedad BUSCAR 5 0"},
        {"mnuConNut", "frmpropiedades ABM 5 5"},
        {"mnuNuevoCliente", "frmCliente BUSCAR 5 5"},
        {"mnuClienteConsultas", "frmClientes BUSCAR 5 5"},
    };
    for (const auto& entry : items) {
        ctx.listMode = QStringLiteral("BUSCAR");
        ctx.currentProductId = 5;
        ctx.currentPropertyId = 5;
        QString state;
        launcher.handlers.push_back([&](QDialog& opened) {
            state = QStringLiteral("%1 %2 %3 %4")
                        .arg(opened.objectName(), ctx.listMode)
                        .arg(ctx.currentProductId)
                        .arg(ctx.currentPropertyId);
            // The customer list too opens in maintenance mode.
            if (auto* pick = opened.findChild<QWidget*>(QStringLiteral("cmdSeleccionar"))) {
                EXPECT_TRUE(pick->isHidden()) << entry.item;
            }
        });
        window.findChild<QAction*>(QString::fromLatin1(entry.item))->trigger();
        EXPECT_EQ(state, QString::fromLatin1(entry.state));
    }
    EXPECT_EQ(launcher.opened, QStringList({"frmproducto", "frmproductos", "frmpropiedad",
                                            "frmpropiedades", "frmCliente", "frmClientes"}));
    EXPECT_EQ(desktop.busyDepth, 0);
    EXPECT_TRUE(desktop.messages.empty());
}

} // namespace
} // namespace tarvela
