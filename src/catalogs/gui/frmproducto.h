#pragma once

#include "catalogs/gui/catalog_editor.h"
#include "catalogs/ingredient_catalog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// The ingredient window "Ingredientes": creates an ingredient of the current base (productId 0),
// with a composition row of value 0 for every nutrient, or edits the ingredient productId. A new
// ingredient once saved stays in the window for editing, so that "Nutrientes" opens its
// composition at once. Below the boxes, the history of the price and dry matter changes that
// files made.
class frmproducto : public CatalogEditor {
    Q_OBJECT

public:
    frmproducto(AppContext& ctx, int productId, QWidget* parent = nullptr);

    bool isNew() const { return isNew_; }
    // The ingredient edited: the one given, or the one created (0 while none is).
    int productId() const { return isNew_ ? 0 : productId_; }
    const catalogs::IngredientBoxes& savedValues() const { return savedValues_; }

    void showComposition(); // "Nutrientes"

protected:
    // The window for the ingredient productId (below 1: a new one), named name.
    frmproducto(AppContext& ctx, int productId, const QString& name, QWidget* parent);

    bool changed() const override;
    bool save() override;
    void restore() override;
    bool closesAfterSave() const override { return false; }
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Offers another unit list (the stored unit kept chosen).
    void offerUnitList(const QStringList& units);
    void showBoxes(const catalogs::IngredientBoxes& values);
    catalogs::IngredientBoxes boxes() const;
    void focusField(catalogs::IngredientField field);

    catalogs::IngredientBoxes savedValues_;
    QLineEdit* lastCodeBox_ = nullptr;
    QPushButton* compositionButton_ = nullptr;

private:
    void buildControls();
    void load();
    void showMode();
    void checkPriceBox();

    int productId_;
    bool isNew_ = true;
    bool checkingPrice_ = false;
    QLineEdit* codeBox_ = nullptr;
    QLineEdit* descriptionBox_ = nullptr;
    QComboBox* unitCombo_ = nullptr;
    QLineEdit* priceBox_ = nullptr;
    QLineEdit* dryMatterBox_ = nullptr;
    QTableWidget* historyGrid_ = nullptr;
};

} // namespace tarvela
