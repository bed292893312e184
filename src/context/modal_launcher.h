#pragma once

class QDialog;

namespace tarvela {

// Shows a window modally and returns its result. Without a launcher in the context a window
// runs its own event loop; a test's launcher shows the window, lets the test press its controls
// and answer its questions, then closes it.
class ModalLauncher {
public:
    virtual ~ModalLauncher() = default;
    virtual int exec(QDialog& dialog) = 0;
};

} // namespace tarvela
