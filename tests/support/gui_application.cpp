#include "support/gui_application.h"

#include <QGuiApplication>

namespace tarvela::test {

void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvela-tests";
    static char* argv[] = {name, nullptr};
    // Destroyed at exit, after the tests, releasing the fonts it loaded.
    static QGuiApplication application(argc, argv);
}

} // namespace tarvela::test
