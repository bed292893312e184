#include "app/gui/menu.h"

#include "support/gui/app_fixture.h"

#include <QAction>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using FormulaAdministration = test::AppFixture;

TEST_F(FormulaAdministration, OpensTheFormulaListInMaintenanceMode) {
    menu window(ctx);
    ctx.listMode = QStringLiteral("BUSCAR");
    QString modeWhileOpen;
    launcher.handlers.push_back([&](QDialog&) { modeWhileOpen = ctx.listMode; });
    window.findChild<QAction*>(QStringLiteral("admformulas"))->trigger();
    ASSERT_EQ(launcher.opened.size(), 1);
    EXPECT_EQ(launcher.opened[0], QStringLiteral("frmformulas"));
    EXPECT_EQ(modeWhileOpen, QStringLiteral("ABM"));
}

} // namespace
} // namespace tarvela
