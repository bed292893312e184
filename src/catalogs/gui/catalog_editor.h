#pragma once

#include "context/app_context.h"
#include "widgets/editing_window.h"

#include <QString>

#include <functional>

class QGridLayout;
class QPushButton;

namespace tarvela {

// What the catalog item windows (nutrient, ingredient, customer) share: the boxes' layout, the
// buttons "Grabar" and "Cancelar" and the close button, and the close question of every editing
// window while its boxes differ from the saved values: Sí saves, and a save that fails keeps the
// window open with what the user typed. After a save the saved values are the boxes, so closing
// asks nothing.
class CatalogEditor : public EditingWindow {
    Q_OBJECT

public:
    bool hasUnsavedChanges() const override { return changed(); }
    void saveBoxes();    // "Grabar": stores the boxes (and closes, for most windows)
    void restoreSaved(); // "Cancelar": the boxes show the saved values again

protected:
    CatalogEditor(AppContext& ctx, const QString& name, const QString& caption, QWidget* parent);

    // Building, from the window's constructor: the layout the window puts its boxes in, further
    // buttons beside "Grabar" and "Cancelar", and the end of building.
    QGridLayout* fields() const { return fields_; }
    QPushButton* addButton(const QString& name, const QString& caption);
    // "Historial de cambios" (cmdHistorial): the recorded changes of the item shown, by the
    // record's table and the item's key when clicked (below 1 while it is new), under the
    // caption the window gives it then.
    void addHistoryButton(const QString& table, std::function<int()> key,
                          std::function<QString()> caption);

    // The window's own part.
    virtual bool changed() const = 0;
    // Checks and stores the boxes; true when stored, the saved values then being the boxes.
    virtual bool save() = 0;
    virtual void restore() = 0;
    // Whether a successful "Grabar" closes the window.
    virtual bool closesAfterSave() const { return true; }

    // Whether the focus is going to one of the window's own buttons (which check or discard
    // the boxes themselves).
    bool focusGoesToButton() const;

    // What the statements of a save did.
    enum class Store {
        Done,    // the item was stored
        Missing, // the item to update is gone: "Se ha producido un error"
        Refused, // the window told the user why not
    };
    // Runs the statements of a save. A key that cannot be given, or a statement that fails, is
    // told to the user (the error window with "No es posible grabar el Registro"); nothing of
    // the save is then kept. True when the item was stored.
    bool store(const std::function<Store()>& statements);

    bool saveChanges() override { return save(); }

    AppContext& ctx_;
    QPushButton* saveButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;

private:
    QGridLayout* fields_ = nullptr;
    QWidget* buttonRow_ = nullptr;
};

} // namespace tarvela
