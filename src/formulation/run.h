#pragma once

#include "context/desktop.h"
#include "db/connection.h"
#include "formulation/formula_composition.h"
#include "formulation/run_message.h"
#include "formulation/working_model.h"
#include "solver/problem.h"
#include "solver/simplex.h"

#include <QChar>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// "&Formular Mínimo Costo": checks, tableau, solver, sensitivity records and write-back, as one
// operation shared by the formulation window and the command line.
namespace tarvela::formulation {

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
    // What the run has to say, in order; empty after a silent optimum.
    std::vector<RunMessage> messages;
    // The totals were emptied before solving (and recomputed by a write-back).
    bool totalsCleared = false;
};

// Whether the run wrote back a mix that meets its limits. An infeasible run writes back the
// clipped mix, which breaks some of them; the solver's other ends leave a feasible basis.
bool mixMeetsLimits(const RunResult& result);

// Runs the least-cost formulation on the model with the batch quantity typed as cantidadText,
// reading the catalog composition of the formula from the database.
RunResult formulate(WorkingModel& model, const QString& cantidadText, db::Connection& conn,
                    QChar decimalSeparator);
// The same with the composition taken from a source. The run itself touches neither the database
// nor the desktop and shares nothing with other runs: over a source that holds a catalog read
// beforehand, runs on different models may go at once on several threads.
RunResult formulate(WorkingModel& model, const QString& cantidadText,
                    const CompositionSource& catalog, QChar decimalSeparator);

// A run's checks and the programme they let through, without solving it: the first stages of
// formulate, for those that solve the programme another way (with other formulas, as a
// production plan does).
struct PreparedRun {
    // Set when every check passed: the programme as the run states it for the batch Q.
    std::optional<simplex::LpProblem> problem;
    FormulaComposition composition;
    double Q = 0;
    // When a check stopped the run: its end, messages and whether the limits conflict.
    RunResult result;
};
PreparedRun prepareRun(WorkingModel& model, const QString& cantidadText,
                       const CompositionSource& catalog, QChar decimalSeparator);

// Shows a run's messages in order: message boxes on the desktop, the contributions window
// through showContributions; after each, focus receives where the focus goes.
void showRunMessages(const std::vector<RunMessage>& messages, Desktop& desktop,
                     const std::function<void(const AportesReport&)>& showContributions,
                     const std::function<void(RunFocus)>& focus = {});

} // namespace tarvela::formulation
