#include "cli/stored_formula.h"

#include "cli/terminal_output.h"
#include "db/schema.h"
#include "formulation/loading.h"

namespace tarvela::cli {

std::unique_ptr<db::Connection> openDatabase(const QString& file) {
    std::unique_ptr<db::Connection> conn = db::Connection::open(file, db::databasePassword());
    db::upgradeSchema(*conn);
    return conn;
}

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
