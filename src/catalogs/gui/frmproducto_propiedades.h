#pragma once

#include "catalogs/ingredient_composition.h"
#include "context/app_context.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// The composition window: the nutrient contents of one ingredient (currentProductId), highest
// first, edited in place. Enter stores the value typed, Escape discards it, leaving the cell
// (or closing the window) asks.
class frmproducto_propiedades : public QDialog {
    Q_OBJECT

public:
    frmproducto_propiedades(AppContext& ctx, const QString& caption, QWidget* parent = nullptr);

    // Loads the list ("Buscar", "Refrescar", opening); true when it was read.
    bool actu_flexgrid1();
    const QString& lastSelect() const { return lastSelect_; }
    // Whether a value is being edited.
    bool editing() const;

    void cmdBuscar_Click();
    void cmdRefrescar_Click();
    void cmdAdd_Click();
    void cmdEditar_Click();
    void cmdDelete_Click();
    void cmdClose_Click();

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

    QLineEdit* Text1_ = nullptr;
    QTableWidget* flexgrid1_ = nullptr;
    QLineEdit* txt_aux_ = nullptr;
    QPushButton* cmdBuscar_ = nullptr;
    QPushButton* cmdRefrescar_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdEditar_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

} // namespace tarvela
