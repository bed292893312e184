#pragma once

#include "context/app_context.h"
#include "plan/plan_run.h"
#include "plan/plan_store.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// "Resultados del Plan": per formula its unit cost in the plan and alone, the mix of the chosen
// formula beside its single run, the totals ("Costo del plan", the formulas alone, "Costo de la
// escasez") and per ingredient its stock, use, what is left and "Valor de 1 kg más", "Limitante"
// when the stock binds. "Grabar versiones" saves every formula's planned mix as a new version
// (one transaction for the whole plan), "Exportar" hands over the workbook, "Imprimir" previews
// the summary.
class frmplan_resultados : public QDialog {
    Q_OBJECT

public:
    frmplan_resultados(AppContext& ctx, const plan::Plan& plan, const plan::PlanOutcome& outcome,
                       QWidget* parent = nullptr);

    void showMix(int formula);
    void cmdGrabarVersiones_Click();
    void cmdExportar_Click();
    void cmdImprimir_Click();

private:
    AppContext& ctx_;
    const plan::Plan& plan_;
    const plan::PlanOutcome& outcome_;
    bool saved_ = false;

    QTableWidget* flexFormulas_ = nullptr;
    QTableWidget* flexMezcla_ = nullptr;
    QTableWidget* flexExistencias_ = nullptr;
    QLineEdit* txtCostoPlan_ = nullptr;
    QLineEdit* txtCostoSolas_ = nullptr;
    QLineEdit* txtCostoEscasez_ = nullptr;
    QPushButton* cmdGrabarVersiones_ = nullptr;
};

} // namespace tarvela
