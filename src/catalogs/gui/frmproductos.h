#pragma once

#include "catalogs/gui/catalog_list.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// The ingredient list "Ingredientes": the ingredients of the current base, narrowed by code,
// description, unit, price and the value of one nutrient; opens, creates and deletes them and
// their composition in maintenance mode (listMode "ABM"), and picks one in pick mode
// ("BUSCAR"), leaving it in currentProductId, currentProductName and currentProductPrice
// (currentProductId 0 when closed without choosing).
class frmproductos : public CatalogList {
    Q_OBJECT

public:
    explicit frmproductos(AppContext& ctx, QWidget* parent = nullptr);

    // The last search statement without its ordering (the printout's rows).
    const QString& lastSelect() const { return lastSelect_; }
    int filterPropertyId() const { return filterPropertyId_; }

    // "Imprimir": the rows of the last search, by description, in a print preview.
    void cmdPrint_Click();
    void cmdNutriente_Click();  // "..." beside "Nutriente": the nutrient of the value filter
    void cmdNutrientes_Click(); // the composition of the selected ingredient

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;
    bool pickMode() const override { return pickMode_; }

private:
    void buildCriteria();

    bool pickMode_;
    int filterPropertyId_ = 0;
    QString lastSelect_;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QLineEdit* Text3_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QLineEdit* Text4_ = nullptr;
    QLineEdit* Text5_ = nullptr;
    QLineEdit* Text6_ = nullptr;
    QLineEdit* Text7_ = nullptr;
    QLineEdit* Text8_ = nullptr;
    QPushButton* cmdNutriente_ = nullptr;
    QPushButton* cmdNutrientes_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
};

} // namespace tarvela
