#pragma once

#include "context/app_context.h"

#include <QDialog>

#include <functional>

// The close question of every window that edits stored data (plans, groups, the catalog items,
// the formulation window, an import with its preview pending).
namespace tarvela {

// What closing a window that holds unsaved changes comes to: "¿Desea Grabar las
// Modificaciones?" with Sí (save, and close only when the save succeeded), No (close, the
// changes dropped) and Cancelar (stay). True when the window may close.
bool mayCloseUnsaved(Desktop& ui, const std::function<bool()>& save);

// A window that edits stored data. Closed by any means (Esc, the close box, its close button, a
// "Salir" entry, or the window accepting itself) while it holds unsaved changes, it asks
// first.
class EditingWindow : public QDialog {
    Q_OBJECT

public:
    // Whether the window holds changes that a save would store.
    virtual bool hasUnsavedChanges() const = 0;

    void done(int result) override;

protected:
    EditingWindow(AppContext& ctx, QWidget* parent);

    // Stores the changes, as the window's own save button does; true when stored (a refusal was
    // told to the user).
    virtual bool saveChanges() = 0;

    // Closes without the question: for a button whose meaning is to drop the changes.
    void closeDiscarding();

private:
    AppContext& context_;
    bool discarding_ = false;
};

} // namespace tarvela
