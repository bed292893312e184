#pragma once

class QDialog;

namespace tarvela {

struct AppContext;

// Shows a window modally through the context's launcher, or with its own event loop when the
// context has none.
int execModal(AppContext& ctx, QDialog& dialog);

} // namespace tarvela
