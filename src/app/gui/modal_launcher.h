#pragma once

class QDialog;

namespace tarvela {

struct AppContext;

// Shows a window modally and returns its result. The program's launcher runs the window's own
// event loop; a test's launcher shows the window, lets the test press its controls and answer
// its questions, then closes it.
class ModalLauncher {
public:
    virtual ~ModalLauncher() = default;
    virtual int exec(QDialog& dialog);
};

// Shows a window modally through the context's launcher, or with its own event loop when the
// context has none.
int execModal(AppContext& ctx, QDialog& dialog);

} // namespace tarvela
