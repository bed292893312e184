// main() for the window tests: a QApplication on the offscreen platform around GoogleTest.
#include "widgets/enter_presses_buttons.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program's start-up does.
    tarvela::pressFocusedButtonsWithEnter(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
