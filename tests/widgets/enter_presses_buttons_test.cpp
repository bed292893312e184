#include "widgets/window_controls.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

// Enter on a focused button presses it, as Space does; Enter in a box presses no button.
TEST(EnterOnAButton, PressesTheFocusedButtonOnly) {
    QDialog window;
    auto* box = new QLineEdit(&window);
    QPushButton* save =
        windowButton(&window, QStringLiteral("cmdUpdate"), QStringLiteral("Grabar"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(box);
    layout->addWidget(save);
    int pressed = 0;
    QObject::connect(save, &QPushButton::clicked, [&] { ++pressed; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(pressed, 0);
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    QTest::keyClick(save, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed, 2);
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace tarvela
