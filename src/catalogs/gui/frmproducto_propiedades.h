#pragma once

#include "catalogs/ingredient_composition.h"
#include "context/app_context.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// The composition window: the nutrient contents of one ingredient, highest first, edited in
// place. Enter stores the value typed, Escape discards it, leaving the cell
// (or closing the window) asks.
class frmproducto_propiedades : public QDialog {
    Q_OBJECT

public:
    frmproducto_propiedades(AppContext& ctx, int ingredientId, const QString& caption,
                            QWidget* parent = nullptr);

    // Loads the list ("Buscar", "Refrescar", opening); true when it was read.
    bool actu_flexgrid1();
    const QString& lastSelect() const { return lastSelect_; }
    // Whether a value is being edited.
    bool editing() const;

    void searchList();     // "Buscar"
    void refreshList();    // "Refrescar"
    void addNutrient();    // "Nuevo"
    void editSelected();   // "Editar"
    void deleteSelected(); // "Eliminar"

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Opens the editor over the value of a row that names a nutrient.
    void startEdit(int row);
    // Leaves the editor the way the key says; false when the editor stays (a refused value).
    bool finishEdit(catalogs::EditKey key);
    // Leaves an open editor as if the focus had moved elsewhere; false when it stays open.
    bool leaveEditor();
    void selectNutrient(int nutrientId);
    int nutrientOf(int row) const;
    QString nameOf(int row) const;
    int currentNutrientRow() const;

    struct EditedValue {
        int nutrientId = 0;
        QString name;
        double valueBeforeEdit = 0;
    };

    AppContext& ctx_;
    int ingredientId_;
    QString lastSelect_;
    EditedValue edit_;
    bool finishing_ = false;
    bool refused_ = false;

    QLineEdit* searchBox_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLineEdit* valueEditor_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace tarvela
