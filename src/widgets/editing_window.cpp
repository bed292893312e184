#include "widgets/editing_window.h"

namespace tarvela {

bool mayCloseUnsaved(Desktop& ui, const std::function<bool()>& save) {
    switch (ui.questionWithCancel(QStringLiteral("¿Desea Grabar las Modificaciones?"))) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

EditingWindow::EditingWindow(AppContext& ctx, QWidget* parent) : QDialog(parent), context_(ctx) {}

void EditingWindow::done(int result) {
    if (!discarding_ && hasUnsavedChanges() &&
        !mayCloseUnsaved(context_.ui(), [this] { return saveChanges(); }))
        return;
    discarding_ = false;
    QDialog::done(result);
}

void EditingWindow::closeDiscarding() {
    discarding_ = true;
    reject();
}

} // namespace tarvela
