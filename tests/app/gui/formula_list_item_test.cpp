#include "app/gui/menu.h"

#include "support/gui/app_fixture.h"

#include <QAction>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using FormulaAdministration = test::AppFixture;

TEST_F(FormulaAdministration, OpensTheFormulaListInMaintenanceMode) {
    menu window(ctx);
    bool picks = true;
    launcher.handlers.push_back([&](QDialog& list) {
        picks = !list.findChild<QPushButton*>(QStringLiteral("cmdSeleccionar"))->isHidden();
    });
    window.findChild<QAction*>(QStringLiteral("admformulas"))->trigger();
    ASSERT_EQ(launcher.opened.size(), 1);
    EXPECT_EQ(launcher.opened[0], QStringLiteral("frmformulas"));
    EXPECT_FALSE(picks);
}

} // namespace
} // namespace tarvela
