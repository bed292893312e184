#pragma once

#include "context/app_context.h"
#include "plan/plan_store.h"

#include <QDialog>

#include <vector>

class QTableWidget;

namespace tarvela {

// "Agregar Fórmulas": the latest version of each formula of the current base; the marked ones
// (several may be chosen) enter the plan with "Aceptar". Throws db::DbError while reading.
class frmplan_formulas : public QDialog {
    Q_OBJECT

public:
    frmplan_formulas(AppContext& ctx, QWidget* parent = nullptr);

    // The formulas chosen, in the list's order.
    std::vector<int> chosen() const;
    // Selects the formula's row (for tests and the keyboard alike).
    void choose(int idFormula);

private:
    std::vector<plan::PlanFormula> formulas_;
    QTableWidget* flexFormulas_ = nullptr;
};

} // namespace tarvela
