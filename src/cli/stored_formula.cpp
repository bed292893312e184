#include "cli/stored_formula.h"

#include "cli/terminal_output.h"
#include "formulation/loading.h"

namespace tarvela::cli {

bool loadStoredFormula(formulation::WorkingModel& model, db::Connection& conn, int formulaId,
                       RecordingDesktop& desktop, QChar decimalSeparator) {
    model.formulaId = formulaId;
    formulation::actuFormula(model, conn, desktop, decimalSeparator);
    if (model.formulaId != 0)
        return true;
    for (const RecordedMessage& m : desktop.messages)
        printError(m.text);
    return false;
}

} // namespace tarvela::cli
