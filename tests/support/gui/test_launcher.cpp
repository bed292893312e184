#include "support/gui/test_launcher.h"

#include <QCoreApplication>

namespace tarvela::test {

int TestLauncher::exec(QDialog& dialog) {
    opened << dialog.objectName();
    dialog.setResult(0);
    dialog.show();
    QCoreApplication::processEvents();
    if (!handlers.empty()) {
        auto handler = std::move(handlers.front());
        handlers.pop_front();
        if (dialog.isVisible())
            handler(dialog);
    }
    QCoreApplication::processEvents();
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

} // namespace tarvela::test
