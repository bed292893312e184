#pragma once

#include "context/app_context.h"
#include "support/gui/test_launcher.h"
#include "support/scripted_desktop.h"
#include "support/test_database.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

class QWidget;

namespace tarvela::test {

// A context for window tests: the demo database in a temporary folder (also the installation
// folder), a scripted desktop and a test launcher. Needs a QApplication (see gui_main.cpp).
class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // Sets the workstation's decimal separator for the rest of the test ("." or ",").
    void useDecimalSeparator(QChar separator);
    // Opens the formulation window, as the main window hands it to the formula list.
    std::function<void(int formulaId, QWidget* parent)> opener();

    TestDatabase database{TestDatabase::Contents::Demo};
    ScriptedDesktop desktop;
    TestLauncher launcher;
    AppContext ctx;

private:
    QLocale savedLocale_;
};

} // namespace tarvela::test
