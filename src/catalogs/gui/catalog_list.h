#pragma once

#include "context/app_context.h"
#include "grid/grid_paint.h"

#include <QDialog>
#include <QString>

#include <optional>

class QGridLayout;
class QLabel;
class QPixmap;
class QPushButton;
class QTableWidget;

namespace tarvela {

// What the catalog lists (nutrients, ingredients, customers) share: the criteria frame with
// "Buscar" and "Limpiar", the grid with "No hubo coincidencias", the buttons "Nuevo", "Editar",
// "Eliminar", "Seleccionar" (pick mode only) and close, the row reselected after every search
// (rememberedRow), and the pick-mode hand-off: a list closed without "Seleccionar" leaves the
// window's "nothing chosen" values. A double click or Enter on the grid edits in maintenance
// mode and picks in pick mode. Rows that name no item are never acted on.
class CatalogList : public QDialog {
    Q_OBJECT

public:
    // Runs the search with the criteria as they stand; false when a criterion was refused.
    bool search();
    // The grid row (1 = the first line under the headings) selected again after a search.
    int rememberedRow() const { return rememberedRow_; }

    void Command1_Click(); // "Buscar"
    void Command2_Click(); // "Limpiar"
    void cmdAdd_Click();   // "Nuevo"
    void cmdEditar_Click();
    void cmdDelete_Click();
    void cmdSeleccionar_Click();
    void cmdClose_Click();

protected:
    CatalogList(AppContext& ctx, const QString& name, const QString& caption, QWidget* parent);

    // Building, from the window's constructor: the layout the window puts its criteria in, boxes
    // whose Enter searches, further buttons in the button row, the base picture, and the end of
    // building, which runs the first search. nameColumn is the grid column whose trimmed text
    // names an item in the questions.
    QGridLayout* criteria() const { return criteria_; }
    void searchOnEnter(QWidget* box);
    QPushButton* addButton(const QString& name, const QString& caption);
    void showPicture(const QPixmap& picture);
    void finish(QWidget* firstBox, int nameColumn);

    // The window's own part.
    // The rows for the criteria; nothing when a criterion was refused (after telling the user).
    // Throws db::DbError.
    virtual std::optional<grid::GridPaint> findRows() = 0;
    virtual void clearCriteria() = 0;
    // Opens the item's window (0 = a new item).
    virtual void openItem(int key) = 0;
    // Asks and deletes; true when the list may have changed.
    virtual bool deleteItem(int key, const QString& name) = 0;
    // Hands the row's item to the caller.
    virtual void pickItem(int row) = 0;
    // The list closes without "Seleccionar".
    virtual void leaveWithoutChoosing() = 0;
    virtual bool pickMode() const = 0;

    // The selected grid row when it names an item; -1 otherwise.
    int selectedRow() const;
    // Whether the grid shows at least one item (the "No hubo coincidencias" line names none).
    bool showsItems() const;
    int keyOf(int row) const;
    QString cellText(int row, int column) const;

    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& ctx_;
    QTableWidget* flexgrid1_ = nullptr;

private:
    void buildControls();
    void showRows(const grid::GridPaint& paint);
    void actOnRow();

    int rememberedRow_ = 1;
    int nameColumn_ = 1;
    bool chosen_ = false;
    QWidget* firstBox_ = nullptr;
    QGridLayout* criteria_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* txtnohubo_ = nullptr;
    QWidget* buttonRow_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdEditar_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdSeleccionar_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

} // namespace tarvela
