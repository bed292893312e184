#pragma once

#include <string>

class QWidget;

namespace tarvela::test {

// The captions and values a window shows cut off, one "objectName: text" a line (empty text
// when everything fits): every label, button, check box and option narrower than its text,
// every read-only box narrower than its value, and every grid heading narrower than its text
// (controls hidden themselves are left out; pages of tabs not in front count). Measured with
// the window's own fonts, so a test sees what the user would read.
std::string cutCaptions(const QWidget& window);

} // namespace tarvela::test
