#pragma once

#include "catalogs/gui/catalog_editor.h"
#include "catalogs/nutrient_catalog.h"

class QComboBox;
class QLineEdit;

namespace tarvela {

// The nutrient window "Nutrientes": creates a nutrient (nutrientId 0), with a composition row of
// value 0 for every ingredient, or edits the description and unit of the nutrient nutrientId.
class frmpropiedad : public CatalogEditor {
    Q_OBJECT

public:
    frmpropiedad(AppContext& ctx, int nutrientId, QWidget* parent = nullptr);

    bool isNew() const { return isNew_; }
    const catalogs::NutrientRecord& savedValues() const { return savedValues_; }

protected:
    bool changed() const override;
    bool save() override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    catalogs::NutrientRecord boxes() const;

    int nutrientId_;
    bool isNew_ = true;
    catalogs::NutrientRecord savedValues_;
    QLineEdit* descriptionBox_ = nullptr;
    QComboBox* unitCombo_ = nullptr;
};

} // namespace tarvela
