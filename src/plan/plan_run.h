#pragma once

#include "db/connection.h"
#include "formulation/formula_composition.h"
#include "formulation/formula_diagnosis.h"
#include "formulation/run_message.h"
#include "formulation/working_model.h"
#include "plan/plan_store.h"
#include "solver/sparse_programme.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// "Calcular": the plan's formulas formulated together over the stocks, each beside the same
// formula formulated alone, with what each stocked ingredient is worth to the plan. Shared by
// the window, the command line and the benchmark.
namespace tarvela::plan {

struct IngredientLine {
    int idProducto = 0;
    QString nombre;
    // On the formula's ingredient basis, for the quantity to make: in the plan, and alone.
    double cantidad = 0;
    double porcentaje = 0; // percent of the mix
    double cantidadSola = 0;
    double porcentajeSolo = 0;
};

struct FormulaOutcome {
    PlanFormula formula;
    // The formula as loaded (its stored prices and dry matter); once the plan is found, with its
    // planned mix written back for its own batch, unsaved, as the formulation window holds a run.
    formulation::WorkingModel model;
    formulation::FormulaComposition composition;
    // Cost of one unit of the formula's ingredient basis, in the plan and formulated alone.
    std::optional<double> costoUnitario;
    std::optional<double> costoUnitarioSolo;
    std::vector<IngredientLine> ingredientes; // every ingredient of the formula, by key
    // What the single run had to say, in order.
    std::vector<formulation::RunMessage> mensajes;
};

struct StockOutcome {
    int idProducto = 0;
    QString nombre;
    std::optional<double> existencia; // none: without limit
    std::optional<double> costo;      // the catalog's price as fed
    double usado = 0;                 // as fed, by the whole plan
    std::optional<double> sobrante;   // existencia − usado
    // Money the plan would save with one more unit of stock ("Valor de 1 kg más"), ≥ 0.
    double valorMarginal = 0;
    bool limitante = false; // the stock binds
};

// One limit of a plan that cannot be met: a limit of one of its formulas, or a stock.
struct PlanLimit {
    bool existencia = false;
    int idFormula = 0; // the formula whose limit it is; 0 for a stock
    QString formula;   // its code
    // The formula's limit; for a stock, kind Ingredient, side Maximum, the ingredient's key,
    // name and stock, and the stock a relaxation gives it.
    formulation::DiagnosedLimit limit;
};

struct PlanDiagnosis {
    // The limits that stand in one another's way: the stocks that fall short and the limits of
    // the formulas that ask for more of them (or, when a formula cannot be made even alone, that
    // formula's own conflict).
    std::vector<PlanLimit> conflict;
    // The least change that lets the plan be made: the stocks with what they must reach, or the
    // formula's own least relaxation.
    std::vector<PlanLimit> relaxation;
    // The plan's cost within the relaxation (stocks), or the formula's unit cost (a formula's
    // relaxation); none when no relaxation was found.
    std::optional<double> costo;
};

enum class PlanEnd {
    Found,          // the cheapest mixes that meet every formula's limits and every stock
    CannotBeMet,    // the limits and stocks cannot all be met: the diagnosis says why
    StoppedAtCheck, // the plan or one of its formulas was refused before solving
    EngineFailed,   // the engine gave no answer
};

struct PlanOutcome {
    PlanEnd end = PlanEnd::StoppedAtCheck;
    std::vector<FormulaOutcome> formulas;  // in the plan's order
    std::vector<StockOutcome> existencias; // in the stock grid's order
    std::optional<double> costoTotal;      // the plan's cost
    std::optional<double> costoSeparado;   // the formulas formulated alone, together
    QStringList mensajes;                  // why the plan stopped, as the user reads it
    std::optional<PlanDiagnosis> diagnosis;
    simplex::EngineOutcome engineOutcome = simplex::EngineOutcome::Failed;
    double solveSeconds = 0;

    // "Costo de la escasez": what the stocks add to the formulas formulated alone.
    std::optional<double> costoEscasez() const;
};

// Loads the plan's formulas (their stored prices and dry matter), runs each alone with the
// system's own simplex, then solves them together with the engine. Throws db::DbError.
PlanOutcome runPlan(db::Connection& conn, const Plan& plan, QChar decimalSeparator,
                    simplex::Engine engine = simplex::Engine::Clp);

// The limit in the window's terms: "Existencia de Harina de pescado 12000.00", "Fórmula 101:
// Mínimo para Proteína Bruta 18.00 %".
QString planLimitCaption(const PlanLimit& limit, QChar sep);
// Its new value as the diagnosis shows it; empty without one.
QString planLimitNewValue(const PlanLimit& limit, QChar sep);

} // namespace tarvela::plan
