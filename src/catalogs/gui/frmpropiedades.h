#pragma once

#include "catalogs/gui/catalog_list.h"

class QLineEdit;
class QPushButton;

namespace tarvela {

// The nutrient list "Nutrientes": nutrients by description; opens, creates and deletes them in
// maintenance mode (listMode "ABM") and picks one in pick mode ("BUSCAR"), leaving it in
// currentPropertyId and currentPropertyName (0 when closed without choosing).
class frmpropiedades : public CatalogList {
    Q_OBJECT

public:
    explicit frmpropiedades(AppContext& ctx, QWidget* parent = nullptr);

    // The last search statement without its ordering (the printout's rows).
    const QString& lastSelect() const { return lastSelect_; }

    // "Imprimir": the rows of the last search, by description, in a print preview.
    void cmdPrint_Click();

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;
    bool pickMode() const override { return pickMode_; }

private:
    bool pickMode_;
    QString lastSelect_;
    QLineEdit* Text1_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
};

} // namespace tarvela
