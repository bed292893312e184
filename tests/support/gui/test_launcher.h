#pragma once

#include "context/modal_launcher.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

namespace tarvela::test {

// Opens modal windows without blocking: the window is shown, the next queued handler presses
// its controls, and a window still open afterwards is closed (rejected). A window opened with
// no handler queued is closed at once.
class TestLauncher : public ModalLauncher {
public:
    int exec(QDialog& dialog) override;

    std::deque<std::function<void(QDialog&)>> handlers;
    // objectName of every window opened, in order.
    QStringList opened;
};

} // namespace tarvela::test
