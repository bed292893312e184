#pragma once

namespace tarvela::test {

// Core tests that paint texts (printouts) need the fonts of a QGuiApplication: makes one, on the
// offscreen platform unless another is asked for, the first time it is called.
void ensureGuiApplication();

} // namespace tarvela::test
