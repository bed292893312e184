#pragma once

#include "catalogs/gui/catalog_editor.h"
#include "catalogs/ingredient_catalog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// The ingredient window "Ingredientes": creates an ingredient of the current base
// (currentProductId 0), with a composition row of value 0 for every nutrient, or edits
// currentProductId. A new ingredient once saved stays in the window for editing, so that
// "Nutrientes" opens its composition at once.
class frmproducto : public CatalogEditor {
    Q_OBJECT

public:
    explicit frmproducto(AppContext& ctx, QWidget* parent = nullptr);

    bool isNew() const { return isNew_; }
    const catalogs::IngredientBoxes& savedValues() const { return savedValues_; }

    void CmdPropiedades_Click(); // "Nutrientes"

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
    QLineEdit* txtUltimo_ = nullptr;
    QPushButton* CmdPropiedades_ = nullptr;

private:
    void buildControls();
    void load();
    void showMode();
    void Text3_LostFocus();

    int productId_;
    bool isNew_ = true;
    bool checkingPrice_ = false;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QLineEdit* Text3_ = nullptr;
    QLineEdit* Text4_ = nullptr;
};

} // namespace tarvela
