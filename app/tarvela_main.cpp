// The program: start-up and the main window, run from the installation folder.
#include "app/gui/menu.h"
#include "app/gui/qt_desktop.h"
#include "app/gui/spanish_translations.h"
#include "app/startup.h"
#include "context/app_context.h"
#include "widgets/enter_presses_buttons.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvela"));
    tarvela::installSpanishTranslations(app);
    tarvela::pressFocusedButtonsWithEnter(app);

    tarvela::QtDesktop desktop;
    tarvela::AppContext ctx;
    ctx.desktop = &desktop;
    // The installation folder is the working folder: the database is found there.
    ctx.installDir = QApplication::applicationDirPath();
    QDir::setCurrent(ctx.installDir);

    if (!tarvela::startUp(ctx))
        return 1;
    tarvela::menu window(ctx);
    window.loadSession();
    if (!ctx.startupOk)
        return 1;
    window.show();
    return QApplication::exec();
}
