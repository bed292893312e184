#pragma once

#include "context/app_context.h"
#include "plan/plan_store.h"
#include "widgets/editing_window.h"

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace tarvela {

// A production plan: its name, the formulas to make (latest versions of the base, each once)
// with "Cantidad a elaborar", and a stock grid of every ingredient they use with "Existencia"
// (blank: without limit) and the catalog price. "Grabar" keeps the plan; "Calcular" solves the
// formulas together over the stocks and shows the results, or why the plan cannot be met.
class frmplan : public EditingWindow {
    Q_OBJECT

public:
    // idPlan 0: a new plan.
    frmplan(AppContext& ctx, int idPlan, QWidget* parent = nullptr);

    // The name typed, the formulas, their quantities or the stocks differ from the plan as
    // loaded or last saved.
    bool hasUnsavedChanges() const override;

    void cmdAgregar_Click();
    // Adds the formulas (refused, with a message, when one is in the plan already).
    void addFormulas(const std::vector<int>& idFormulas);
    void cmdQuitar_Click();
    bool cmdGrabar_Click();
    void cmdCalcular_Click();
    // A cell of the quantity or stock column typed into: refused when it is not a number of its
    // range (the cell shows the plan's value again).
    void cellEdited(QTableWidgetItem* item);

    const plan::Plan& plan() const { return plan_; }

protected:
    bool saveChanges() override { return cmdGrabar_Click(); }

private:
    void buildControls();
    void showPlan();

    AppContext& ctx_;
    plan::Plan plan_;
    plan::Plan savedPlan_; // as loaded or last saved
    bool painting_ = false;

    QLineEdit* txtNombre_ = nullptr;
    QLineEdit* txtFecha_ = nullptr;
    QTableWidget* flexFormulas_ = nullptr;
    QTableWidget* flexExistencias_ = nullptr;
    QPushButton* cmdAgregar_ = nullptr;
    QPushButton* cmdQuitar_ = nullptr;
    QPushButton* cmdGrabar_ = nullptr;
    QPushButton* cmdCalcular_ = nullptr;
};

} // namespace tarvela
