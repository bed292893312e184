#pragma once

#include "context/app_context.h"
#include "grid/grid_paint.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPixmap;
class QPushButton;
class QTableWidget;

namespace tarvela {

// How a list window is opened: to keep its items (create, edit, delete), or to pick one and hand
// it to the window that opened it, or (for a list being filled) to pick several rows at once.
enum class ListMode { Maintenance, Pick, PickSeveral };

// What the list windows (nutrients, ingredients, customers, formulas) share: the criteria frame
// with "Buscar" and "Limpiar", the grid with "No hubo coincidencias", the buttons "Nuevo",
// "Editar", "Eliminar", "Seleccionar" (pick mode only) and close, the row reselected after every
// search (rememberedRow), and the pick-mode hand-off: a list closed without "Seleccionar" has
// picked nothing. A double click or Enter on the grid edits in maintenance mode and picks in
// pick mode. Rows that name no item are never acted on.
class CatalogList : public QDialog {
    Q_OBJECT

public:
    // Runs the search with the criteria as they stand ("Buscar"); false when a criterion was
    // refused or the rows could not be read.
    bool search();
    // The grid row (1 = the first line under the headings) selected again after a search.
    int rememberedRow() const { return rememberedRow_; }

    void clearSearch();    // "Limpiar"
    void addNew();         // "Nuevo"
    void editSelected();   // "Editar"
    void deleteSelected(); // "Eliminar"
    void pickSelected();   // "Seleccionar"

protected:
    CatalogList(AppContext& ctx, const QString& name, const QString& caption, ListMode mode,
                QWidget* parent);

    // Building, from the window's constructor: the frame and layout the window puts its criteria
    // in, boxes whose Enter searches, further controls in the button row, the base picture, and
    // the end of building, which runs the first search. nameColumn is the grid column whose
    // trimmed text names an item in the questions, and the one the cursor is put on.
    QGroupBox* criteriaFrame() const { return criteriaFrame_; }
    QGridLayout* criteria() const { return criteria_; }
    void searchOnEnter(QWidget* box);
    QPushButton* addButton(const QString& name, const QString& caption);
    void addToButtonRow(QWidget* control);
    void showPicture(const QPixmap& picture);
    // After every search the first row is selected, not the one remembered.
    void alwaysSelectFirstRow() { remembersRow_ = false; }
    void finish(QWidget* firstBox, int nameColumn);

    // The window's own part.
    // The rows for the criteria; nothing when a criterion was refused (after telling the user).
    // Throws db::DbError.
    virtual std::optional<grid::GridPaint> findRows() = 0;
    virtual void clearCriteria() = 0;
    // What "Limpiar" does after the criteria are cleared: by default the whole list again.
    virtual void listAfterClearing();
    // Opens the item's window (0 = a new item).
    virtual void openItem(int key) = 0;
    // Asks and deletes; true when the list may have changed.
    virtual bool deleteItem(int key, const QString& name) = 0;
    // Hands the row's item to the caller (pick mode).
    virtual void pickItem(int /*row*/) {}
    // The list closes without "Seleccionar".
    virtual void leaveWithoutChoosing() {}
    virtual bool pickMode() const { return mode_ != ListMode::Maintenance; }

    // The selected grid row when it names an item; -1 otherwise.
    int selectedRow() const;
    // The rows picked: every selected row that names an item, top to bottom, when several may
    // be picked; the selected row otherwise.
    std::vector<int> pickedRows() const;
    // Whether the grid shows at least one item (the "No hubo coincidencias" line names none).
    bool showsItems() const;
    int keyOf(int row) const;
    QString cellText(int row, int column) const;
    // Empties the list without searching ("No hubo coincidencias" hidden).
    void showNoRows();

    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& ctx_;
    QTableWidget* grid_ = nullptr;

private:
    void buildControls();
    void showRows(const grid::GridPaint& paint);
    void actOnRow();

    ListMode mode_;
    int rememberedRow_ = 1;
    bool remembersRow_ = true;
    int nameColumn_ = 1;
    bool chosen_ = false;
    QWidget* firstBox_ = nullptr;
    QGroupBox* criteriaFrame_ = nullptr;
    QGridLayout* criteria_ = nullptr;
    QLabel* basePicture_ = nullptr;
    QLabel* noMatchesLabel_ = nullptr;
    QWidget* buttonRow_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* pickButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace tarvela
