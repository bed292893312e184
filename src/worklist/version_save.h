#pragma once

#include "db/connection.h"
#include "worklist/reformulation.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

// "Grabar versiones": each chosen result saved as a new version of its formula dated today,
// as "Grabar Fórmula" saves a new version, header and details in one transaction per formula.
// A formula that cannot be saved is listed and the others go on.
namespace tarvela::worklist {

constexpr size_t kVersionsPerTransaction = 100;

struct SaveFailure {
    int idFormula = 0;
    QString codigo;
    QString motivo; // why, as the user reads it
};

struct VersionsSaved {
    int saved = 0;
    std::vector<SaveFailure> failures;
    bool cancelled = false; // stopped between two formulas; those saved stay saved
};

// Saves the marked optimal rows in their order, each as a new version; a saved row gets
// idFormulaNueva. The versions are written kVersionsPerTransaction to a transaction; a formula
// that cannot be saved is left out alone, as if each had its own. keepGoing, when given, is
// asked after each formula (with the count handled so far and the count to handle); false stops
// before the next, those handled staying saved. Never throws for one formula's failure.
VersionsSaved saveNewVersions(db::Connection& conn, std::vector<Reformulated>& rows, int base,
                              const QDate& today,
                              const std::function<bool(int done, int total)>& keepGoing = {});

// One formula's new version, in one transaction (joining the caller's, if any): the header row
// as "Grabar Fórmula" writes a new version, then the details of the model. Returns the new row's
// id and its version, or 0 and the reason it could not be saved (nothing of it stays).
int saveNewVersion(db::Connection& conn, const formulation::WorkingModel& model, int idFormula,
                   int idCliente, int base, const QDate& today, int& version, QString& motivo);

// The rows saveNewVersions would save: marked, optimal, not saved yet.
bool savable(const Reformulated& row);

// The failures listed at the end of a save: a heading, then one line per formula with its code
// and why; the message joins them.
QStringList failureLines(const std::vector<SaveFailure>& failures);
QString failuresMessage(const std::vector<SaveFailure>& failures);

} // namespace tarvela::worklist
