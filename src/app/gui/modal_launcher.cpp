#include "app/gui/modal_launcher.h"

#include <QDialog>

namespace tarvela {

int ModalLauncher::exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace tarvela
