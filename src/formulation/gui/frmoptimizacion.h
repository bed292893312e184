#pragma once

#include "context/app_context.h"
#include "formulation/working_model.h"

#include <QDialog>

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
class frmoptimizacion : public QDialog {
    Q_OBJECT

public:
    explicit frmoptimizacion(AppContext& ctx, QWidget* parent = nullptr);

    // The working model (vSecaIng, vSecaNut, vCostoHumeda, vMateriaSeca, rsPropiedades,
    // rsAnalisis, ...), read by the windows opened from this one.
    formulation::WorkingModel& model() { return model_; }
    const formulation::WorkingModel& model() const { return model_; }

    // Loads the formula of the model's formula id and repaints everything.
    void actuFormula();
    // Shows a working model held in memory (a result not saved yet) in place of the loaded one.
    void showWorkingModel(const formulation::WorkingModel& model);
    void actuBaseNut();
    void actu_FlexProd();
    void actu_FlexProp();
    // Recomputes costs, totals and nutrient values, and repaints the totals and both grids.
    void actuResultados();

    void cmdFormular_Click();
    void cmdCancel_Click();
    void cmdClose_Click();
    void cmdComposicion_Click();
    void Command1_Click();
    void cmdUpdate_Click();
    // "Imprimir": the output chosen in "Seleccione destino", of the formula as the window holds
    // it.
    void cmdImprimir_Click();
    void Option1_Click(int index);
    void Option2_Click(int index);
    void txt_Cantidad_Validate();
    void cmdActuPrecios_Click();
    void cmdActuMSeca_Click();
    void cmdRecalcular_Click();
    void Command6_Click(); // "Guardar como &Ingrediente"

    // Editing from the grids (rows and columns of the grid widgets).
    void flexProd_Click(int row, int column);
    void flexProd_DblClick(int row, int column);
    void flexProp_Click(int row, int column);
    void flexProp_DblClick(int row, int column);
    void Command3_Click(); // add an ingredient
    void Command2_Click(); // remove the current ingredient
    void Command4_Click(); // add a nutrient
    void Command5_Click(); // remove the current nutrient
    void cmdNutrientes_Click();

    // The third grid, "Relaciones y Grupos" (frmoptimizacion_limits.cpp).
    void actu_FlexRel();
    void flexRel_DblClick(int row, int column);
    void cmdRelacion_Click();     // a ratio: the numerator, then the denominator
    void cmdGrupo_Click();        // a group of ingredients
    void cmdQuitarLimite_Click(); // the current ratio or group

    // Curves of the current grid line (frmoptimizacion_curves.cpp): "Curva de costo" of the
    // current nutrient's or ingredient's limit (its minimum, or its maximum when it has no
    // minimum), "Mapa de precio" of the current ingredient.
    void mnuCurvaNutriente_Click();
    void mnuCurvaIngrediente_Click();
    void mnuMapaPrecio_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    QLineEdit* txtCodFormula_ = nullptr;
    QLineEdit* txtVerFormula_ = nullptr;
    QLineEdit* txtFormula_ = nullptr;
    QLineEdit* txtFecCFormula_ = nullptr;
    QLineEdit* txtFecMFormula_ = nullptr;
    QLineEdit* txtCantidad_ = nullptr;
    QRadioButton* option1_[2] = {nullptr, nullptr};
    QRadioButton* option2_[2] = {nullptr, nullptr};
    QButtonGroup* option1Group_ = nullptr;
    QButtonGroup* option2Group_ = nullptr;

    QGroupBox* ingredientPanel_ = nullptr;
    QTableWidget* flexProd_ = nullptr;
    QTableWidget* flexProp_ = nullptr;
    QTableWidget* flexRel_ = nullptr;
    QTabWidget* SSTab1_ = nullptr;

    // Totals boxes placed under their grid columns, with their labels.
    struct TotalBox {
        QLineEdit* box = nullptr;
        QLabel* label = nullptr;
        int column = 0; // the flexProd column the box sits under
    };
    TotalBox totalBoxes_[6];
    QLineEdit* txtCosH_ = nullptr;
    QLineEdit* txtCosS_ = nullptr;

    // The boxes over the grid cells.
    CellOverlay* txtProd_ = nullptr;
    CellOverlay* txtPrecio_ = nullptr;
    CellOverlay* Text1_ = nullptr;
    CellOverlay* Text8_ = nullptr;
    CellOverlay* txtProp_ = nullptr;
    CellOverlay* Text2_ = nullptr;
    CellOverlay* txtRel_ = nullptr;
};

} // namespace tarvela
