#pragma once

class QApplication;

namespace tarvela {

// Enter (or Return) on a push button that has the focus presses it, in every window, as Space
// does. Enter elsewhere keeps the meaning each window gives it.
void pressFocusedButtonsWithEnter(QApplication& app);

} // namespace tarvela
