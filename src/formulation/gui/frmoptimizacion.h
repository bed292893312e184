#pragma once

#include "context/app_context.h"
#include "formulation/working_model.h"

#include "widgets/editing_window.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace tarvela {

namespace db {
class DbError;
}
namespace formulation {
struct EditResult;
}
class CellOverlay;

// The formulation window: one stored formula loaded into the working model, solved at least
// cost, analysed and saved. The grids are display copies repainted from the working model.
class frmoptimizacion : public EditingWindow {
    Q_OBJECT

public:
    // The window on the formula formulaId; 0 starts a new formula.
    frmoptimizacion(AppContext& ctx, int formulaId, QWidget* parent = nullptr);

    // The working model (vSecaIng, vSecaNut, vCostoHumeda, vMateriaSeca, rsPropiedades,
    // rsAnalisis, ...), read by the windows opened from this one.
    formulation::WorkingModel& model() { return model_; }
    const formulation::WorkingModel& model() const { return model_; }

    // Whether the window holds changes that are not saved.
    bool hasUnsavedChanges() const override;
    // Shows a working model held in memory (a result not saved yet) in place of the loaded one;
    // it counts as unsaved work.
    void showWorkingModel(const formulation::WorkingModel& model);

    // Loads the formula of the model's formula id and repaints everything.
    void loadFormula();
    void showNutrientBasis();
    void repaintIngredients();
    void repaintNutrients();
    // Recomputes costs, totals and nutrient values, and repaints the totals and both grids.
    void recomputeResults();

    void formulate();       // "&Formular Mínimo Costo"
    void discardChanges();  // "Cancelar": the stored formula again
    void showComposition(); // "&Composición"
    void showAnalysis();    // "&Análisis de Resultados"
    // "Grabar"; true when the formula was stored.
    bool save();
    // "Imprimir": the output chosen in "Seleccione destino", of the formula as the window holds
    // it.
    void print();
    // The basis options: index 0 is dry matter.
    void chooseIngredientBasis(int index);
    void chooseNutrientBasis(int index);
    // Leaving the batch-quantity box.
    void takeBatchQuantity();
    void refreshPrices();    // "Actualizar &Precios"
    void refreshDryMatter(); // "Actualizar &M.Seca"
    void recalculate();      // "&Recalcular Valores"
    void saveAsIngredient(); // "Guardar como &Ingrediente"

    // Editing from the grids (rows and columns of the grid widgets): a click shows a share or
    // a value in full, a double click or Enter opens the box over the cell.
    void ingredientCellClicked(int row, int column);
    void ingredientCellActivated(int row, int column);
    void nutrientCellClicked(int row, int column);
    void nutrientCellActivated(int row, int column);
    void addIngredient();
    void removeIngredient(); // the current row
    void addNutrient();
    void removeNutrient(); // the current row
    void showIngredientComposition();

    // The third grid, "Relaciones y Grupos" (frmoptimizacion_limits.cpp).
    void repaintLimits();
    void limitCellActivated(int row, int column);
    void addRatio();    // "Relación": the numerator, then the denominator
    void addGroup();    // "Grupo": a group of ingredients
    void removeLimit(); // "Quitar": the current ratio or group

    // Curves of the current grid line (frmoptimizacion_curves.cpp): "Curva de costo" of the
    // current nutrient's or ingredient's limit (its minimum, or its maximum when it has no
    // minimum), "Mapa de precio" of the current ingredient.
    void showNutrientCurve();
    void showIngredientCurve();
    void showPriceMap();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Every way of closing asks first when the window holds unsaved changes: Sí saves as
    // "Grabar" does.
    bool saveChanges() override { return save(); }

private:
    // Construction and layout.
    void buildWindow();
    void buildHeader(QWidget* content);
    void buildIngredientPanel(QWidget* content);
    void buildNutrientPanel(QWidget* content);
    void buildLimitsTab();
    // Returns the right edge of the buttons.
    int buildButtons(QWidget* content);
    void buildMenu();
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry, bool enabled = true);
    QLineEdit* addBox(QWidget* parent, const QString& name, const QString& caption,
                      const QRect& geometry, QLabel** label = nullptr);
    QAction* addEntry(class QMenu* menu, const QString& name, const QString& caption, bool enabled);

    // The model as loaded or last saved becomes the one compared for unsaved changes.
    void rememberSaved();

    // Showing the model.
    void setCaption();
    void showHeader();
    void showOptions();
    void showTotals();
    void placeTotalsBoxes();
    void repaintAll();
    void reportDbError(const QString& message, const db::DbError& error);

    // Editing.
    void buildOverlays();
    bool edited(const formulation::EditResult& result);
    void openIngredient(int key);
    void showAdded(QTableWidget& grid, int key, int column);

    AppContext& ctx_;
    formulation::WorkingModel model_;
    formulation::WorkingModel savedModel_;
    QLineEdit* codeBox_ = nullptr;
    QLineEdit* versionBox_ = nullptr;
    QLineEdit* productBox_ = nullptr;
    QLineEdit* createdBox_ = nullptr;
    QLineEdit* modifiedBox_ = nullptr;
    QLineEdit* batchQuantityBox_ = nullptr;
    QRadioButton* ingredientBasisOptions_[2] = {nullptr, nullptr};
    QRadioButton* nutrientBasisOptions_[2] = {nullptr, nullptr};
    QButtonGroup* ingredientBasisGroup_ = nullptr;
    QButtonGroup* nutrientBasisGroup_ = nullptr;

    QGroupBox* ingredientPanel_ = nullptr;
    QTableWidget* ingredientGrid_ = nullptr;
    QTableWidget* nutrientGrid_ = nullptr;
    QTableWidget* limitGrid_ = nullptr; // ratios and groups
    QTabWidget* nutrientTabs_ = nullptr;

    // Totals boxes placed under their grid columns, with their labels.
    struct TotalBox {
        QLineEdit* box = nullptr;
        QLabel* label = nullptr;
        int column = 0; // the flexProd column the box sits under
    };
    TotalBox totalBoxes_[6];
    QLineEdit* unitCostAsFedBox_ = nullptr;
    QLineEdit* unitCostDryBox_ = nullptr;

    // The boxes over the grid cells.
    CellOverlay* ingredientLimitBox_ = nullptr;
    CellOverlay* priceBox_ = nullptr;
    CellOverlay* quantityBox_ = nullptr;
    CellOverlay* shareView_ = nullptr;
    CellOverlay* nutrientLimitBox_ = nullptr;
    CellOverlay* nutrientValueView_ = nullptr;
    CellOverlay* limitBox_ = nullptr;
};

} // namespace tarvela
