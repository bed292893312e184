#include "formulation/gui/save_formula.h"

#include "formulas/gui/frmnueva_formula.h"
#include "formulation/loading.h"
#include "formulation/save_details.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

bool saveFormula(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent) {
    ctx.currentFormulaId = static_cast<qint16>(model.formulaId);
    ctx.currentFormulaQuantity = model.batchQuantity;

    try {
        // The header row and the detail rows are one unit: a failure anywhere leaves the
        // database as it was before the save.
        db::Transaction transaction(ctx.db());
        int result = QDialog::Rejected;
        {
            frmnueva_formula dialog(ctx, model.vSecaIng, model.vSecaNut, parent);
            result = execModal(ctx, dialog);
        }
        if (result != QDialog::Accepted || ctx.currentFormulaId <= 0)
            return false;

        // The details go to the row just written; the window keeps its own model (and formula
        // id) until everything is stored.
        BusyPointer busy(ctx.ui());
        formulation::WorkingModel saved = model;
        saved.formulaId = ctx.currentFormulaId;
        formulation::saveDetails(saved, ctx.db());
        transaction.commit();
        model = std::move(saved);
    } catch (const db::DbError& error) {
        ctx.currentFormulaId = static_cast<qint16>(model.formulaId);
        showError(ctx, QStringLiteral("No es posible grabar el Registro"), error, parent);
        return false;
    }

    try {
        BusyPointer busy(ctx.ui());
        formulation::actuFormula(model, ctx.db(), ctx.ui(), displaySeparator(ctx));
    } catch (const db::DbError& error) {
        showError(ctx, QStringLiteral("No se pudo establecer la Fórmula"), error, parent);
    }
    return true;
}

} // namespace tarvela
