#pragma once

#include "catalogs/gui/catalog_list.h"
#include "catalogs/gui/pickers.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// The ingredient list "Ingredientes": the ingredients of the current base, narrowed by code,
// description, unit, price and the value of one nutrient; opens, creates and deletes them and
// their composition in maintenance mode, and picks one in pick mode (picked(), nothing when
// closed without choosing).
class frmproductos : public CatalogList {
    Q_OBJECT

public:
    frmproductos(AppContext& ctx, ListMode mode, QWidget* parent = nullptr);

    const std::optional<PickedIngredient>& picked() const { return picked_; }
    // Every ingredient picked, in the list's order (several in ListMode::PickSeveral).
    const std::vector<PickedIngredient>& pickedAll() const { return pickedAll_; }
    // The last search statement without its ordering (the printout's rows).
    const QString& lastSelect() const { return lastSelect_; }
    int filterPropertyId() const { return filterPropertyId_; }

    // "Imprimir": the rows of the last search, by description, in a print preview.
    void print();
    void chooseNutrientFilter(); // "..." beside "Nutriente": the nutrient of the value filter
    void showComposition();      // "Nutrientes": the composition of the selected ingredient

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;

private:
    void buildCriteria();

    std::optional<PickedIngredient> picked_;
    std::vector<PickedIngredient> pickedAll_;
    int filterPropertyId_ = 0;
    QString lastSelect_;
    QLineEdit* codeFromBox_ = nullptr;
    QLineEdit* codeToBox_ = nullptr;
    QLineEdit* descriptionBox_ = nullptr;
    QComboBox* unitCombo_ = nullptr;
    QLineEdit* priceFromBox_ = nullptr;
    QLineEdit* priceToBox_ = nullptr;
    QLineEdit* nutrientBox_ = nullptr;
    QLineEdit* valueFromBox_ = nullptr;
    QLineEdit* valueToBox_ = nullptr;
    QPushButton* nutrientFilterButton_ = nullptr;
    QPushButton* compositionButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

} // namespace tarvela
