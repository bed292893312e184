#include "plan/plan_run.h"

#include "context/recording_desktop.h"
#include "formulation/loading.h"
#include "formulation/mix_share.h"
#include "formulation/run.h"
#include "formulation/write_back.h"
#include "plan/plan_diagnosis.h"
#include "plan/plan_programme.h"
#include "text/format.h"

#include <QHash>

#include <chrono>
#include <cmath>

namespace tarvela::plan {

namespace {

using formulation::WorkingModel;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// A share as the mix keeps it: what the engine leaves within round-off of 0 (or below it) is 0.
double mixShare(double share) {
    return share > 0 ? formulation::withoutRoundOff(share) : 0.0;
}

// A run's composition kept from its checks, for the same formula's single run.
class KeptComposition : public formulation::CompositionSource {
public:
    explicit KeptComposition(const formulation::FormulaComposition& composition)
        : composition_(composition) {}
    formulation::FormulaComposition
    composition(const std::vector<formulation::NutrientRow>&,
                const std::vector<formulation::IngredientRow>&) const override {
        return composition_;
    }

private:
    const formulation::FormulaComposition& composition_;
};

QString nameOf(const PlanFormula& f) {
    return f.codigo.isEmpty() ? QString::number(f.idFormula) : f.codigo;
}

QString formulaSays(const PlanFormula& f, const QString& text) {
    return QStringLiteral("Fórmula ") + nameOf(f) + QStringLiteral(": ") + text;
}

// The shares of the mix a run wrote back, on the ingredients' basis, by key.
QHash<int, double> sharesOf(const WorkingModel& model) {
    QHash<int, double> shares;
    for (const formulation::IngredientRow& row : model.ingredients)
        shares.insert(row.id_producto,
                      (model.vSecaIng ? row.porcentaje_seca : row.porcentaje_humeda).value_or(0.0));
    return shares;
}

double unitCost(const simplex::LpProblem& problem, const std::vector<double>& shares) {
    double cost = 0;
    for (std::size_t j = 0; j < shares.size(); ++j)
        cost += problem.ingredients[j].price * shares[j];
    return cost;
}

// The formula's own conflict and relaxation, each limit tagged with the formula.
PlanDiagnosis formulaDiagnosis(const FormulaOutcome& f, db::Connection& conn) {
    const formulation::FormulaDiagnosis own = formulation::diagnoseFormula(f.model, conn);
    PlanDiagnosis out;
    auto tagged = [&f](const formulation::DiagnosedLimit& limit) {
        PlanLimit p;
        p.idFormula = f.formula.idFormula;
        p.formula = nameOf(f.formula);
        p.limit = limit;
        return p;
    };
    if (!own.conflicts.empty())
        for (const formulation::DiagnosedLimit& limit : own.conflicts.front())
            out.conflict.push_back(tagged(limit));
    for (const formulation::DiagnosedLimit& limit : own.relaxation)
        out.relaxation.push_back(tagged(limit));
    out.costo = own.costoUnitario;
    return out;
}

} // namespace

std::optional<double> PlanOutcome::costoEscasez() const {
    if (!costoTotal || !costoSeparado)
        return std::nullopt;
    return *costoTotal - *costoSeparado;
}

PlanOutcome runPlan(db::Connection& conn, const Plan& plan, QChar sep, simplex::Engine engine) {
    PlanOutcome out;
    const QString problem = planProblem(plan);
    if (!problem.isEmpty()) {
        out.mensajes << problem;
        return out;
    }
    if (plan.formulas.empty()) {
        out.mensajes << QStringLiteral("El plan no tiene fórmulas");
        return out;
    }

    // Each formula as its single run states it, and formulated alone.
    std::vector<PlannedProblem> planned;
    for (const PlanFormula& f : plan.formulas) {
        FormulaOutcome& outcome = out.formulas.emplace_back();
        outcome.formula = f;
        if (f.gone) {
            out.mensajes << QStringLiteral("La fórmula %1 del plan ya no existe").arg(f.idFormula);
            continue;
        }
        WorkingModel& model = outcome.model;
        model.formulaId = f.idFormula;
        RecordingDesktop said;
        if (!formulation::loadFormula(model, conn, said, sep)) {
            out.mensajes << QStringLiteral("La fórmula %1 del plan ya no existe").arg(f.idFormula);
            continue;
        }
        formulation::PreparedRun prepared = formulation::prepareRun(
            model, model.txtCantidad, formulation::DatabaseComposition(conn), sep);
        outcome.composition = prepared.composition;
        if (!prepared.problem) {
            outcome.mensajes = prepared.result.messages;
            for (const formulation::RunMessage& m : prepared.result.messages)
                out.mensajes << formulaSays(f, m.text);
            if (prepared.result.limitsConflict && !out.diagnosis) {
                out.end = PlanEnd::CannotBeMet;
                out.diagnosis = formulaDiagnosis(outcome, conn);
            }
            continue;
        }
        WorkingModel alone = model;
        const formulation::RunResult single = formulation::formulate(
            alone, model.txtCantidad, KeptComposition(outcome.composition), sep);
        outcome.mensajes = single.messages;
        if (formulation::mixMeetsLimits(single)) {
            const QHash<int, double> shares = sharesOf(alone);
            std::vector<double> x;
            for (const simplex::LpIngredient& ing : prepared.problem->ingredients)
                x.push_back(shares.value(ing.id));
            outcome.costoUnitarioSolo = unitCost(*prepared.problem, x);
        } else {
            for (const formulation::RunMessage& m : single.messages)
                out.mensajes << formulaSays(f, m.text);
            if (single.limitsConflict && !out.diagnosis) {
                out.end = PlanEnd::CannotBeMet;
                out.diagnosis = formulaDiagnosis(outcome, conn);
            }
        }
        for (const simplex::LpIngredient& ing : prepared.problem->ingredients) {
            IngredientLine line;
            line.idProducto = ing.id;
            line.nombre = QString::fromStdString(ing.name);
            outcome.ingredientes.push_back(std::move(line));
        }
        if (outcome.costoUnitarioSolo) {
            const QHash<int, double> shares = sharesOf(alone);
            for (IngredientLine& line : outcome.ingredientes) {
                line.porcentajeSolo = shares.value(line.idProducto) * 100.0;
                line.cantidadSola = shares.value(line.idProducto) * f.cantidad;
            }
        }
        planned.push_back({*prepared.problem, f.cantidad});
    }
    if (!out.mensajes.isEmpty())
        return out; // StoppedAtCheck, or CannotBeMet with a formula's own diagnosis
    out.costoSeparado = 0.0;
    for (const FormulaOutcome& f : out.formulas)
        *out.costoSeparado += *f.costoUnitarioSolo * f.formula.cantidad;

    // The stock rows of the ingredients with a stock; the others are without limit.
    std::vector<StockLimit> stocks;
    std::vector<int> stockOf; // position in plan.existencias
    for (std::size_t s = 0; s < plan.existencias.size(); ++s) {
        const PlanStock& stock = plan.existencias[s];
        StockOutcome& row = out.existencias.emplace_back();
        row.idProducto = stock.idProducto;
        row.nombre = stock.nombre;
        row.existencia = stock.existencia;
        row.costo = stock.costo;
        if (stock.existencia) {
            stocks.push_back({stock.idProducto, *stock.existencia});
            stockOf.push_back(static_cast<int>(s));
        }
    }
    const PlanProgramme programme = buildPlanProgramme(planned, stocks);
    const auto started = std::chrono::steady_clock::now();
    const simplex::EngineSolution solution = simplex::solve(programme.lp, engine);
    out.solveSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    out.engineOutcome = solution.outcome;

    if (solution.outcome == simplex::EngineOutcome::Infeasible) {
        out.end = PlanEnd::CannotBeMet;
        out.mensajes << QStringLiteral("No es posible elaborar el plan con las existencias");
        const StockShortfall shortfall = stockShortfall(programme, stocks, engine);
        PlanDiagnosis diagnosis;
        if (shortfall.found) {
            for (std::size_t s = 0; s < stocks.size(); ++s) {
                if (shortfall.needed[s] <= stocks[s].existencia)
                    continue;
                PlanLimit limit;
                limit.existencia = true;
                limit.limit.kind = simplex::LimitKind::Ingredient;
                limit.limit.side = simplex::LimitSide::Maximum;
                limit.limit.id = stocks[s].idProducto;
                limit.limit.nombre = plan.existencias[at(stockOf[s])].nombre;
                limit.limit.valor = stocks[s].existencia;
                limit.limit.nuevoValor = shortfall.needed[s];
                diagnosis.conflict.push_back(limit);
                diagnosis.relaxation.push_back(limit);
            }
            for (const auto& [f, r] : shortfall.limits) {
                const simplex::Limit& row = programme.rows[at(f)][at(r)];
                // A lower-limit row without a minimum only keeps the quantity from going below 0.
                if (row.kind == simplex::LimitKind::Ingredient &&
                    row.side == simplex::LimitSide::Minimum && row.value == 0)
                    continue;
                const FormulaOutcome& formula = out.formulas[at(f)];
                PlanLimit limit;
                limit.idFormula = formula.formula.idFormula;
                limit.formula = nameOf(formula.formula);
                WorkingModel stated = formula.model; // sorted by key by the checks
                limit.limit = formulation::describeLimit(row, std::nullopt, stated,
                                                         formulation::nutrientUnits(stated, conn));
                if (row.kind == simplex::LimitKind::Total) {
                    // The batch, both of its rows: once, as the quantity to make.
                    limit.limit.valor = formula.formula.cantidad;
                    const bool listed =
                        std::any_of(diagnosis.conflict.begin(), diagnosis.conflict.end(),
                                    [&](const PlanLimit& l) {
                                        return l.idFormula == limit.idFormula &&
                                               l.limit.kind == simplex::LimitKind::Total;
                                    });
                    if (listed)
                        continue;
                }
                diagnosis.conflict.push_back(limit);
            }
            diagnosis.costo = shortfall.cost;
        }
        out.diagnosis = std::move(diagnosis);
        return out;
    }
    if (!solution.optimal()) {
        out.end = PlanEnd::EngineFailed;
        out.mensajes << QStringLiteral("No fue posible resolver el plan (%1)")
                            .arg(QString::fromUtf8(
                                simplex::engineName(engine).data(),
                                static_cast<qsizetype>(simplex::engineName(engine).size())));
        return out;
    }

    // The planned mixes, written back into each formula for its own batch.
    out.end = PlanEnd::Found;
    out.costoTotal = solution.cost;
    for (std::size_t f = 0; f < planned.size(); ++f) {
        FormulaOutcome& formula = out.formulas[f];
        const simplex::LpProblem& lp = planned[f].problem;
        std::vector<int> keys;
        std::vector<double> x;
        for (std::size_t j = 0; j < lp.ingredients.size(); ++j) {
            const double share = solution.x[at(programme.firstColumn[f]) + j];
            keys.push_back(lp.ingredients[j].id);
            x.push_back(mixShare(share));
        }
        formula.costoUnitario = unitCost(lp, x);
        for (std::size_t j = 0; j < x.size(); ++j) {
            formula.ingredientes[j].porcentaje = x[j] * 100.0;
            formula.ingredientes[j].cantidad = x[j] * formula.formula.cantidad;
        }
        std::vector<formulation::RunMessage> ignored;
        formulation::writeShares(formula.model, keys, x, ignored);
        formulation::actuResultados(formula.model, formula.composition, sep);
    }
    for (std::size_t s = 0; s < stocks.size(); ++s) {
        StockOutcome& row = out.existencias[at(stockOf[s])];
        const int lpRow = programme.stockRows[s];
        if (lpRow < 0)
            continue;
        row.valorMarginal = std::max(0.0, -solution.duals[at(lpRow)]);
        row.limitante = row.valorMarginal > 1e-9;
    }
    // What the plan takes of every ingredient, stocked or not.
    QHash<int, double> used;
    for (std::size_t f = 0; f < planned.size(); ++f)
        for (std::size_t j = 0; j < planned[f].problem.ingredients.size(); ++j)
            used[planned[f].problem.ingredients[j].id] +=
                mixShare(solution.x[at(programme.firstColumn[f]) + j]) *
                asFedPerShare(planned[f], static_cast<int>(j));
    for (StockOutcome& row : out.existencias) {
        row.usado = used.value(row.idProducto);
        if (row.existencia)
            row.sobrante = std::max(0.0, *row.existencia - row.usado);
    }
    return out;
}

QString planLimitCaption(const PlanLimit& limit, QChar sep) {
    if (limit.existencia)
        return QStringLiteral("Existencia de ") + limit.limit.nombre + QLatin1Char(' ') +
               text::formatNumber(limit.limit.valor, QStringLiteral("0.00"), sep);
    return QStringLiteral("Fórmula ") + limit.formula + QStringLiteral(": ") +
           formulation::limitCaption(limit.limit, sep);
}

QString planLimitNewValue(const PlanLimit& limit, QChar sep) {
    if (!limit.limit.nuevoValor)
        return {};
    if (limit.existencia)
        return text::formatNumber(*limit.limit.nuevoValor, QStringLiteral("0.00"), sep);
    return formulation::limitValueText(limit.limit, *limit.limit.nuevoValor, sep);
}

} // namespace tarvela::plan
