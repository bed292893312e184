#include "formulation/gui/save_formula.h"

#include "db/keys.h"
#include "formulas/gui/frmnueva_formula.h"
#include "formulation/loading.h"
#include "formulation/save_details.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

bool saveFormula(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent) {
    // The header is collected first; nothing is written, and the database stays free for other
    // workstations, while the dialog waits for the user.
    std::optional<formulas::HeaderToWrite> header;
    {
        frmnueva_formula dialog(ctx, model.formulaId, model.batchQuantity, model.vSecaIng,
                                model.vSecaNut, parent);
        if (execModal(ctx, dialog) != QDialog::Accepted)
            return false;
        header = dialog.header();
    }
    if (!header)
        return false;

    bool codeTaken = false;
    try {
        // The header row and the detail rows are one unit: a failure anywhere leaves the
        // database as it was before the save.
        BusyPointer busy(ctx.ui());
        db::Transaction transaction(ctx.db());
        const formulas::HeaderWritten written = formulas::writeHeader(ctx.db(), *header);
        codeTaken = written.outcome == formulas::HeaderWriteOutcome::CodeTaken;
        if (!codeTaken) {
            // The details go to the row just written; the window keeps its own model (and
            // formula id) until everything is stored.
            formulation::WorkingModel saved = model;
            saved.formulaId = written.formulaId;
            formulation::saveDetails(saved, ctx.db());
            transaction.commit();
            model = std::move(saved);
        }
    } catch (const db::KeyError& error) {
        ctx.ui().message(error.message(), MsgIcon::Critical);
        return false;
    } catch (const db::DbError& error) {
        showError(ctx, QStringLiteral("No es posible grabar el Registro"), error, parent);
        return false;
    }
    if (codeTaken) {
        // Told once the transaction has ended: nothing waits on the user with the file locked.
        ctx.ui().message(formulas::codeTakenMessage(header->newCode), MsgIcon::Critical);
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
