#pragma once

#include "context/app_context.h"
#include "formulation/formula_diagnosis.h"

#include <QDialog>

class QTableWidget;

namespace tarvela {

// "Restricciones en Conflicto": the limits of the formula that cannot be met together, with the
// value each must take on its own, and the least combined change of the limits with the cost of
// the mix it allows. "Aplicar" accepts the window: the caller writes the proposed limits into
// the working tables.
class frmDiagnostico : public QDialog {
    Q_OBJECT

public:
    frmDiagnostico(AppContext& ctx, const formulation::FormulaDiagnosis& diagnosis,
                   QWidget* parent = nullptr);

private:
    AppContext& ctx_;
    QTableWidget* flexConflicto_ = nullptr;
    QTableWidget* flexPropuesta_ = nullptr;
};

// After a run whose limits cannot all be met: asks whether to see why, shows the diagnosis and,
// when the user applies its proposal, writes the proposed limits into the model. Returns whether
// the model's limits changed.
bool offerDiagnosis(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent);
// The same without the question: diagnoses the model's limits and shows the window.
bool showDiagnosis(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent);

} // namespace tarvela
