#pragma once

#include "context/desktop.h"
#include "db/connection.h"
#include "formulation/working_model.h"
#include "solver/simplex.h"

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

// "&Formular Mínimo Costo": checks, tableau, solver, sensitivity records and write-back, as one
// operation shared by the formulation window and the command line.
namespace tarvela::formulation {

// One line of the contributions window: an ingredient's limit, its content of the nutrient
// whose minimum cannot be reached, and its own largest contribution.
struct AporteRow {
    QString producto;
    Opt maximo;
    double valor = 0;
    double aportemaximo = 0;
};

struct AportesReport {
    QString caption;      // "PROBLEMA CON RESTRICCIÓN: Mínimo para ... = ..."
    QString propertyName; // the nutrient concerned
    std::vector<AporteRow> rows;
    double maximoAlcanzable = 0; // largest value a blend of the current ingredients reaches
};

// What the run needs from the window that started it.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual Desktop& desktop() = 0;
    // A check on the batch quantity failed: the focus goes back to its box.
    virtual void focusQuantity() {}
    // The totals boxes were emptied before solving.
    virtual void totalsCleared() {}
    // A nutrient minimum cannot be reached: the contributions window, shown modally.
    virtual void showAportes(const AportesReport& report) = 0;
};

enum class RunEnd {
    StoppedAtCheck, // a check failed; working tables untouched
    Unreachable,    // a nutrient minimum cannot be reached (contributions shown)
    NotStandard,    // "Problema no standar": nothing written back
    WrittenBack,    // the mix is in the working tables
};

struct RunResult {
    RunEnd end = RunEnd::StoppedAtCheck;
    std::optional<simplex::Outcome> outcome; // set once the solver ran
    simplex::SolveReport report;
    double solverSeconds = 0; // time spent in simplex::solve
    // The limits cannot all be met: the ingredient sums, an unreachable nutrient minimum or an
    // infeasible programme stopped the run. A diagnosis can name the conflict.
    bool limitsConflict = false;
};

// Whether the run wrote back a mix that meets its limits. An infeasible run writes back the
// clipped mix, which breaks some of them; the solver's other ends leave a feasible basis.
bool mixMeetsLimits(const RunResult& result);

// Runs the least-cost formulation on the model with the batch quantity typed as cantidadText.
RunResult formulate(WorkingModel& model, const QString& cantidadText, db::Connection& conn,
                    RunHost& host, QChar decimalSeparator);

} // namespace tarvela::formulation
