#pragma once

#include "catalogs/gui/catalog_list.h"

#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// The formula list "Fórmulas": the formulas of the current base, one line per version, narrowed
// by the filters; opens a formula in the formulation window for editing, starts a new one, and
// deletes one version. The first line is selected after every search.
class frmformulas : public CatalogList {
    Q_OBJECT

public:
    // Opens the formulation window on a formula (0 = a new formula) and returns when it closes.
    // The list's owner hands it in: the formulation window lives in a room above.
    using FormulationOpener = std::function<void(int formulaId, QWidget* parent)>;

    frmformulas(AppContext& ctx, FormulationOpener openFormulation, QWidget* parent = nullptr);
    ~frmformulas() override;

    const QString& lastSearchSql() const { return lastSearchSql_; }

    void chooseNutrient();   // "..." beside "Nutriente"
    void chooseIngredient(); // "..." beside "Ingrediente"
    // "Imprimir": the last search printed (frmformulas_output.cpp).
    void print();
    // Marking formulas for the comparison and comparing them (frmformulas_output.cpp).
    void showMarks();
    void toggleMark(int row, int column);
    void compare();

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    // "Limpiar" leaves the list empty; the next "Buscar" fills it.
    void listAfterClearing() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCriteria();
    void buildOutputButtons();
    void loadCustomers();
    void chooseCustomer();
    bool validateDateBox(QLineEdit* box);
    void setMarked(int row, bool marked);

    FormulationOpener openFormulation_;
    int selectedNutrientId_ = 0;
    int selectedIngredientId_ = 0;
    QString lastSearchSql_;
    bool validating_ = false;

    QComboBox* customerCombo_ = nullptr;
    QLineEdit* codeFromBox_ = nullptr;
    QLineEdit* codeToBox_ = nullptr;
    QLineEdit* productBox_ = nullptr;
    QLineEdit* createdFromBox_ = nullptr;
    QLineEdit* createdToBox_ = nullptr;
    QLineEdit* modifiedFromBox_ = nullptr;
    QLineEdit* modifiedToBox_ = nullptr;
    QLineEdit* nutrientBox_ = nullptr;
    QLineEdit* valueFromBox_ = nullptr;
    QLineEdit* valueToBox_ = nullptr;
    QLineEdit* ingredientBox_ = nullptr;
    QPushButton* nutrientButton_ = nullptr;
    QPushButton* ingredientButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QCheckBox* compareCheck_ = nullptr;
    QPushButton* compareButton_ = nullptr;
};

} // namespace tarvela
