#include "app/gui/menu.h"

#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmpropiedad.h"

#include "support/gui/app_fixture.h"

#include <QAction>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using CatalogItems = test::AppFixture;

// Each catalog item opens its window: the lists in maintenance mode, the item windows empty.
TEST_F(CatalogItems, OpenTheCatalogWindows) {
    menu window(ctx);
    // The window opened, and whether it picks (a list) or creates (an item window).
    const struct {
        const char* item;
        const char* state;
    } items[] = {
        {"mnuNueIng", "frmproducto new"},      {"mnuConIng", "frmproductos maintenance"},
        {"mnuNUeNut", "frmpropiedad new"},     {"mnuConNut", "frmpropiedades maintenance"},
        {"mnuNuevoCliente", "frmCliente new"}, {"mnuClienteConsultas", "frmClientes maintenance"},
    };
    for (const auto& entry : items) {
        QString state;
        launcher.handlers.push_back([&](QDialog& opened) {
            QString mode;
            if (auto* pick = opened.findChild<QWidget*>(QStringLiteral("cmdSeleccionar")))
                mode = pick->isHidden() ? QStringLiteral("maintenance") : QStringLiteral("pick");
            else if (auto* ingredient = qobject_cast<frmproducto*>(&opened))
                mode = ingredient->isNew() ? QStringLiteral("new") : QStringLiteral("existing");
            else if (auto* nutrient = qobject_cast<frmpropiedad*>(&opened))
                mode = nutrient->isNew() ? QStringLiteral("new") : QStringLiteral("existing");
            else
                mode = QStringLiteral("new");
            state = opened.objectName() + QLatin1Char(' ') + mode;
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
