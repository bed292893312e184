#include "app/gui/menu.h"
#include "app/gui/qt_desktop.h"

#include "support/gui/app_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

TEST(QtDesktopKeys, TabMovesTheFocusToTheNextControl) {
    QDialog dialog;
    auto* first = new QLineEdit(&dialog);
    auto* second = new QLineEdit(&dialog);
    auto* third = new QLineEdit(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(third);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    first->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(first->hasFocus());

    QtDesktop desktop;
    desktop.sendKeys(QStringLiteral("{TAB}"));
    EXPECT_TRUE(second->hasFocus());
    desktop.sendKeys(QStringLiteral("{tab}"));
    EXPECT_TRUE(third->hasFocus());
    desktop.sendKeys(QStringLiteral("{nonsense}")); // ignored
    EXPECT_TRUE(third->hasFocus());
}

class QtDesktopMenu : public test::AppFixture {};

TEST_F(QtDesktopMenu, AltFDropsTheFormulasMenuDown) {
    menu window(ctx);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QtDesktop real;
    real.sendKeys(QStringLiteral("%f"));
    auto* formulas = window.findChild<QMenu*>(QStringLiteral("formulas"));
    EXPECT_EQ(window.menuBar()->activeAction(), formulas->menuAction());
    EXPECT_TRUE(formulas->isVisible());
    formulas->close();
}

TEST(QtDesktopDocuments, MissingFileIsAFailureOtherThanNoProgram) {
    QTemporaryDir dir;
    QtDesktop desktop;
    const int result = desktop.openDocument(dir.filePath(QStringLiteral("guiarapidatarvela.pdf")));
    EXPECT_LE(result, 32);
    EXPECT_NE(result, 31);
}

TEST(QtDesktopBusy, CallsNest) {
    QtDesktop desktop;
    {
        BusyPointer outer(desktop);
        BusyPointer inner(desktop);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace tarvela
