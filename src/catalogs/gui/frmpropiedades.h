#pragma once

#include "catalogs/gui/catalog_list.h"
#include "catalogs/gui/pickers.h"

class QLineEdit;
class QPushButton;

namespace tarvela {

// The nutrient list "Nutrientes": nutrients by description; opens, creates and deletes them in
// maintenance mode and picks one in pick mode (picked(), nothing when closed without choosing).
class frmpropiedades : public CatalogList {
    Q_OBJECT

public:
    frmpropiedades(AppContext& ctx, ListMode mode, QWidget* parent = nullptr);

    const std::optional<PickedNutrient>& picked() const { return picked_; }
    // The last search statement without its ordering (the printout's rows).
    const QString& lastSelect() const { return lastSelect_; }

    // "Imprimir": the rows of the last search, by description, in a print preview.
    void print();

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;

private:
    std::optional<PickedNutrient> picked_;
    QString lastSelect_;
    QLineEdit* descriptionBox_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

} // namespace tarvela
