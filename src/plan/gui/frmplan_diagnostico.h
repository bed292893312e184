#pragma once

#include "context/app_context.h"
#include "plan/plan_run.h"

#include <QDialog>

class QTableWidget;

namespace tarvela {

// "Restricciones en Conflicto" for a plan: the stocks that fall short with the stock each must
// reach and the formulas' limits that ask for them (or a formula's own conflict), then the least
// change that lets the plan be made with the plan's cost within it.
class frmplan_diagnostico : public QDialog {
    Q_OBJECT

public:
    frmplan_diagnostico(AppContext& ctx, const plan::PlanDiagnosis& diagnosis,
                        QWidget* parent = nullptr);

private:
    QTableWidget* flexConflicto_ = nullptr;
    QTableWidget* flexPropuesta_ = nullptr;
};

} // namespace tarvela
