#include "formulation/run.h"

#include "formulation/batch_quantity.h"
#include "formulation/formula_composition.h"
#include "formulation/loading.h"
#include "formulation/reachability.h"
#include "formulation/sensitivity.h"
#include "formulation/stated_problem.h"
#include "formulation/write_back.h"
#include "solver/problem.h"

#include "text/format.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace tarvela::formulation {

namespace {

const QString kCancelled = QStringLiteral("Se ha cancelado la Formulación");

QString fmt(double value, const char* pattern, QChar sep) {
    return text::formatNumber(value, QString::fromLatin1(pattern), sep);
}

using Messages = std::vector<RunMessage>;

void say(Messages& out, const QString& text, MsgIcon icon = MsgIcon::None,
         const QString& title = {}, RunFocus focus = RunFocus::None) {
    RunMessage m;
    m.text = text;
    m.icon = icon;
    m.title = title;
    m.focus = focus;
    out.push_back(std::move(m));
}

// Steps 1 to 3: the batch quantity typed in its box.
std::optional<double> checkQuantity(const QString& text, Messages& out) {
    const BatchQuantity batch = checkBatchQuantity(text);
    if (batch.value)
        return batch.value;
    say(out, batch.message, MsgIcon::Critical, {}, RunFocus::Quantity);
    return std::nullopt;
}

// Step 7: every nutrient needs a limit, and a maximum clearly above its minimum.
bool checkNutrientLimits(const WorkingModel& model, Messages& out, QChar sep) {
    for (const NutrientRow& n : model.rsPropiedades) {
        const QString name = n.nombre.trimmed();
        if (!n.minimo && !n.maximo) {
            say(out, QStringLiteral("Debe ingresar un valor mínimo o máximo para la propiedad <") +
                         name + QStringLiteral(">"));
            return false;
        }
        if (!n.minimo || !n.maximo)
            continue;
        const double mn = *n.minimo;
        const double mx = *n.maximo;
        if (mn >= mx) {
            say(out,
                QStringLiteral("El valor máximo debe ser mayor al mínimo para la propiedad <") +
                    name + QStringLiteral(">"));
            return false;
        }
        if (mn != 0 && text::roundDecimal(std::fabs((mx - mn) / mn), 10) < 0.0001) {
            say(out, QStringLiteral("El valor máximo debe ser mayor al mínimo en al menos "
                                    "el 0.01% para la propiedad <") +
                         name + QStringLiteral(">") + QStringLiteral("\n\n") +
                         fmt(mn, "######0.00", sep) + QStringLiteral("    ") +
                         fmt(text::roundDecimal(mn * 1.0001, 2), "######0.00", sep) +
                         QStringLiteral("\n") +
                         fmt(text::roundDecimal(mx / 1.0001, 2), "######0.00", sep) +
                         QStringLiteral("    ") + fmt(mx, "######0.00", sep));
            return false;
        }
    }
    return true;
}

// Every ratio and group needs a limit; a ratio's are not negative and its maximum is above its
// minimum; a group's maximum is not below its minimum (equal limits are widened as an
// ingredient's are).
bool checkRatioAndGroupLimits(const WorkingModel& model, Messages& out) {
    for (const RatioRow& r : model.relaciones) {
        const QString name =
            QStringLiteral(" para la relación <") + ratioName(r) + QStringLiteral(">");
        QString problem;
        if (!r.minimo && !r.maximo)
            problem = QStringLiteral("Debe ingresar un valor mínimo o máximo") + name;
        else if ((r.minimo && *r.minimo < 0) || (r.maximo && *r.maximo < 0))
            problem = QStringLiteral("Los valores no pueden ser negativos") + name;
        else if (r.minimo && r.maximo && *r.minimo >= *r.maximo)
            problem = QStringLiteral("El valor máximo debe ser mayor al mínimo") + name;
        if (!problem.isEmpty()) {
            say(out, problem);
            return false;
        }
    }
    for (const GroupRow& g : model.grupos) {
        const QString name =
            QStringLiteral(" para el grupo <") + g.nombre.trimmed() + QStringLiteral(">");
        QString problem;
        if (!g.minimo && !g.maximo)
            problem = QStringLiteral("Debe ingresar un valor mínimo o máximo") + name;
        else if (g.minimo && g.maximo && *g.minimo > *g.maximo)
            problem = QStringLiteral("El valor máximo debe ser mayor o igual al mínimo") + name;
        if (!problem.isEmpty()) {
            say(out, problem);
            return false;
        }
    }
    return true;
}

// A ratio needs a denominator that some ingredient of the formula brings, and a group a member
// among the formula's ingredients: otherwise its limit says nothing the run could meet.
bool checkRatiosAndGroupsApply(const WorkingModel& model, const FormulaComposition& composition,
                               Messages& out) {
    for (const RatioRow& r : model.relaciones) {
        const bool brought = std::any_of(
            model.ingredients.begin(), model.ingredients.end(), [&](const IngredientRow& row) {
                return composition.content(r.id_den, row.id_producto) != 0;
            });
        if (!brought) {
            say(out, QStringLiteral("El nutriente <") + r.nombreDen.trimmed() +
                         QStringLiteral("> es cero en todos los ingredientes de la fórmula: "
                                        "no es posible formular la relación <") +
                         ratioName(r) + QStringLiteral(">"));
            return false;
        }
    }
    for (const GroupRow& g : model.grupos) {
        const bool present = std::any_of(model.ingredients.begin(), model.ingredients.end(),
                                         [&](const IngredientRow& row) {
                                             return std::find(g.miembros.begin(), g.miembros.end(),
                                                              row.id_producto) != g.miembros.end();
                                         });
        if (!present) {
            say(out, QStringLiteral("Ninguno de los ingredientes del grupo <") +
                         g.nombre.trimmed() + QStringLiteral("> está en la fórmula"));
            return false;
        }
    }
    return true;
}

// Every ingredient needs its price on the ingredients' basis: without one it would enter the
// least-cost mix as if it were free.
bool checkPrices(const WorkingModel& model, Messages& out) {
    for (const IngredientRow& row : model.ingredients) {
        if (!(model.vSecaIng ? row.costo_seca : row.costo_humeda)) {
            say(out, QStringLiteral("Debe ingresar un precio para el ingrediente <") +
                         row.nombre.trimmed() + QStringLiteral(">"));
            return false;
        }
    }
    return true;
}

// Contents beyond the largest a feed table holds, and nutrient limits that only such contents
// could meet, would be lost in the solver's round-off (contents of 1e9 and more turn feasible
// formulas into "No es posible cumplir todas las restricciones"), so they are refused before
// the run.
using text::withinTable;

bool checkMagnitudes(const WorkingModel& model, const FormulaComposition& composition,
                     Messages& out) {
    const QString range = QStringLiteral("> debe estar entre -1000000 y 1000000");
    for (const NutrientRow& n : model.rsPropiedades) {
        const QString name = n.nombre.trimmed();
        if (n.minimo && !withinTable(*n.minimo)) {
            say(out, QStringLiteral("El valor mínimo para la propiedad <") + name + range);
            return false;
        }
        if (n.maximo && !withinTable(*n.maximo)) {
            say(out, QStringLiteral("El valor máximo para la propiedad <") + name + range);
            return false;
        }
    }
    for (const RatioRow& r : model.relaciones) {
        if ((r.minimo && !withinTable(*r.minimo)) || (r.maximo && !withinTable(*r.maximo))) {
            say(out, QStringLiteral("El valor mínimo o máximo para la relación <") + ratioName(r) +
                         range);
            return false;
        }
    }
    for (const NutrientRow& n : model.rsPropiedades) {
        for (const IngredientRow& row : model.ingredients) {
            const CatalogContent* content = composition.find(n.id_propiedad, row.id_producto);
            if (content && !withinTable(content->valor)) {
                say(out, QStringLiteral("El valor de la propiedad <") + n.nombre.trimmed() +
                             QStringLiteral("> en el ingrediente <") + row.nombre.trimmed() +
                             range);
                return false;
            }
        }
    }
    return true;
}

// Every figure of an ingredient the run works with must be a number it can use: a dry matter
// above 0 and at most 100, a price and limits within the largest table values. Not-a-number,
// the infinities and overflowing values (1e300, 9e999) are refused.
bool checkIngredientFigures(const WorkingModel& model, Messages& out) {
    const QString range = QStringLiteral("> debe estar entre -1000000 y 1000000");
    for (const IngredientRow& row : model.ingredients) {
        const QString name = row.nombre.trimmed();
        const double materiaSeca = row.materia_seca.value_or(0.0);
        QString problem;
        if (!(materiaSeca > 0 && materiaSeca <= 100))
            problem = QStringLiteral("La materia seca del ingrediente <") + name +
                      QStringLiteral("> debe ser mayor que 0 y no mayor que 100");
        else if ((row.costo_humeda && !withinTable(*row.costo_humeda)) ||
                 (model.vSecaIng && row.costo_seca && !std::isfinite(*row.costo_seca)))
            problem = QStringLiteral("El precio del ingrediente <") + name + range;
        else if (row.minimo && !withinTable(*row.minimo))
            problem = QStringLiteral("El mínimo del ingrediente <") + name + range;
        else if (row.maximo && !withinTable(*row.maximo))
            problem = QStringLiteral("El máximo del ingrediente <") + name + range;
        if (!problem.isEmpty()) {
            say(out, problem);
            return false;
        }
    }
    return true;
}

// The formula's nutrients and ingredients must all still be in the catalog: a limit dropped
// because its item was deleted elsewhere would let the run answer with a mix that breaks it.
bool reportMissing(Messages& out, const QString& item, int id) {
    say(out, item + QStringLiteral(" %1 de la fórmula ya no existe en el catálogo").arg(id),
        MsgIcon::Critical, kCancelled);
    return false;
}

// Items the loading found gone (their rows left out of the working tables).
bool checkLoadedItems(const WorkingModel& model, Messages& out) {
    if (!model.missingNutrients.empty())
        return reportMissing(out, QStringLiteral("El nutriente"), model.missingNutrients.front());
    if (!model.missingIngredients.empty())
        return reportMissing(out, QStringLiteral("El ingrediente"),
                             model.missingIngredients.front());
    return true;
}

// Items deleted since the formula was loaded.
bool checkCatalogItems(const WorkingModel& model, const FormulaComposition& composition,
                       Messages& out) {
    for (const NutrientRow& n : model.rsPropiedades)
        if (!composition.listsNutrient(n.id_propiedad))
            return reportMissing(out, QStringLiteral("El nutriente"), n.id_propiedad);
    for (const IngredientRow& row : model.ingredients)
        if (!composition.listsIngredient(row.id_producto))
            return reportMissing(out, QStringLiteral("El ingrediente"), row.id_producto);
    return true;
}

// Steps 8 and 9: the ingredient limits must leave room for the batch.
bool checkIngredientSums(const WorkingModel& model, double Q, Messages& out) {
    double sumMin = 0;
    double sumMax = 0;
    for (const IngredientRow& row : model.ingredients) {
        if (row.minimo)
            sumMin += *row.minimo;
        if (row.maximo)
            sumMax += *row.maximo;
        else
            sumMax = Q;
    }
    if (sumMin > Q) {
        say(out,
            QStringLiteral("La suma de los valores mínimos para los ingredientes es "
                           "superior a la cantidad total a elaborar"),
            MsgIcon::Critical, kCancelled);
        return false;
    }
    if (sumMax < Q) {
        say(out,
            QStringLiteral("La suma de los valores máximos para los ingredientes no "
                           "alcanzan la cantidad total a elaborar"),
            MsgIcon::Critical, kCancelled);
        return false;
    }
    return true;
}

// Step 10: every nutrient minimum must be reachable by some blend of the ingredients. A refused
// minimum shows each ingredient's own largest contribution and the blend maximum.
bool checkReachability(const WorkingModel& model, double Q, const FormulaComposition& composition,
                       Messages& out, QChar sep) {
    for (const NutrientRow& n : model.rsPropiedades) {
        if (!n.minimo)
            continue;
        const double minimo = *n.minimo;
        std::vector<ReachIngredient> reach;
        reach.reserve(model.ingredients.size());
        bool alone = false;
        for (const IngredientRow& row : model.ingredients) {
            ReachIngredient ing;
            if (const CatalogContent* c = composition.find(n.id_propiedad, row.id_producto))
                ing.content =
                    model.vSecaNut ? c->valor : c->valor * row.materia_seca.value_or(0.0) / 100.0;
            ing.maxShare = row.maximo ? *row.maximo / Q : 1.0;
            ing.minShare = row.minimo ? *row.minimo / Q : 0.0;
            if (ing.content * ing.maxShare >= minimo)
                alone = true;
            reach.push_back(ing);
        }
        if (alone)
            continue;
        const bool sameBasis = model.vSecaIng == model.vSecaNut;
        const double blendMax = blendMaximum(reach, sameBasis);
        if (minimumReachable(blendMax, minimo))
            continue;

        AportesReport report;
        report.propertyName = n.nombre;
        report.caption = QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para ") +
                         n.nombre.trimmed() + QStringLiteral(" = ") + fmt(minimo, "0.00", sep);
        report.maximoAlcanzable = blendMax;
        for (size_t k = 0; k < model.ingredients.size(); ++k) {
            const IngredientRow& row = model.ingredients[k];
            AporteRow aporte;
            aporte.producto = row.nombre.left(50);
            aporte.maximo = row.maximo;
            aporte.valor = reach[k].content;
            aporte.aportemaximo = reach[k].content * reach[k].maxShare;
            report.rows.push_back(std::move(aporte));
        }
        RunMessage m;
        m.kind = RunMessage::Kind::Contributions;
        m.text = report.caption;
        m.aportes = std::move(report);
        out.push_back(std::move(m));
        return false;
    }
    return true;
}

void reportOutcome(const simplex::SolveReport& report, Messages& out) {
    if (report.passLimitReached)
        say(out, QStringLiteral("No es posible definir el estado de la solución"));
    switch (report.outcome) {
    case simplex::Outcome::Infeasible:
        say(out, QStringLiteral("No es posible cumplir todas las restricciones"), MsgIcon::Warning,
            QStringLiteral("Se ha detenido la Formulación"));
        break;
    case simplex::Outcome::NotStandard:
        say(out, QStringLiteral("Problema no standar"));
        break;
    case simplex::Outcome::Unbounded:
        say(out, QStringLiteral("Aun existen ingredientes que pueden mejorar la solución "
                                "pero no es posible desplazar otros"));
        break;
    case simplex::Outcome::IterationLimit:
        say(out, QStringLiteral("Se ha detenido la ejecución sin llegar a una solución "
                                "óptima luego de 1.000.000 de iteraciones"));
        break;
    case simplex::Outcome::Optimal:
        break;
    }
}

} // namespace

bool mixMeetsLimits(const RunResult& result) {
    return result.end == RunEnd::WrittenBack && result.outcome &&
           *result.outcome != simplex::Outcome::Infeasible;
}

RunResult formulate(WorkingModel& model, const QString& cantidadText, db::Connection& conn,
                    QChar decimalSeparator) {
    return formulate(model, cantidadText, DatabaseComposition(conn), decimalSeparator);
}

PreparedRun prepareRun(WorkingModel& model, const QString& cantidadText,
                       const CompositionSource& catalog, QChar decimalSeparator) {
    PreparedRun prepared;
    RunResult& result = prepared.result;
    Messages& out = result.messages;
    model.txtCantidad = cantidadText;

    const std::optional<double> quantity = checkQuantity(cantidadText, out);
    if (!quantity)
        return prepared;
    if (!checkLoadedItems(model, out))
        return prepared;
    if (model.rsPropiedades.empty()) {
        say(out, QStringLiteral("Debe ingresar al menos una restricción para los Nutrientes"),
            MsgIcon::Critical);
        return prepared;
    }
    if (model.ingredients.empty()) {
        say(out, QStringLiteral("Debe ingresar al menos un Ingrediente"), MsgIcon::Critical);
        return prepared;
    }
    if (model.vSecaIng && !model.vSecaNut) {
        say(out, QStringLiteral(
                     "No es posible formular nutrientes en húmeda e ingredientes en base seca"));
        return prepared;
    }

    const double Q = *quantity;
    model.batchQuantity = Q;
    model.txtCantidad = fmt(Q, "0.00", decimalSeparator);

    if (!checkNutrientLimits(model, out, decimalSeparator))
        return prepared;
    if (!checkRatioAndGroupLimits(model, out))
        return prepared;
    if (!checkPrices(model, out))
        return prepared;
    if (!checkIngredientFigures(model, out))
        return prepared;
    // The one read of the catalog composition in this run: every stage below works from it.
    prepared.composition = catalog.composition(compositionNutrients(model), model.ingredients);
    const FormulaComposition& composition = prepared.composition;
    if (!checkCatalogItems(model, composition, out))
        return prepared;
    if (!checkMagnitudes(model, composition, out))
        return prepared;
    if (!checkRatiosAndGroupsApply(model, composition, out))
        return prepared;
    if (!checkIngredientSums(model, Q, out)) {
        result.limitsConflict = true;
        return prepared;
    }
    if (!checkReachability(model, Q, composition, out, decimalSeparator)) {
        result.end = RunEnd::Unreachable;
        result.limitsConflict = true;
        return prepared;
    }

    prepared.Q = Q;
    prepared.problem = statedProblem(model, Q, composition);
    return prepared;
}

RunResult formulate(WorkingModel& model, const QString& cantidadText,
                    const CompositionSource& catalog, QChar decimalSeparator) {
    PreparedRun prepared = prepareRun(model, cantidadText, catalog, decimalSeparator);
    RunResult& result = prepared.result;
    Messages& out = result.messages;
    if (!prepared.problem)
        return std::move(result);
    const double Q = prepared.Q;
    const FormulaComposition& composition = prepared.composition;
    model.totals = Totals{};
    model.totalsTexts = TotalsTexts{};
    model.vCostoHumeda = 0;
    model.vMateriaSeca = 0;
    result.totalsCleared = true;

    const simplex::LpProblem& problem = *prepared.problem;
    simplex::BuiltTableau built = simplex::buildTableau(problem);
    model.rowLabels.clear();
    model.rowLabels.reserve(built.rowLabels.size());
    for (const std::string& label : built.rowLabels)
        model.rowLabels.push_back(QString::fromStdString(label));

    std::vector<int> keys;
    keys.reserve(problem.ingredients.size());
    for (const simplex::LpIngredient& ing : problem.ingredients)
        keys.push_back(ing.id);

    simplex::Tableau& tableau = built.tableau;
    const auto solveStart = std::chrono::steady_clock::now();
    result.report = simplex::solve(tableau);
    result.solverSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - solveStart).count();
    result.outcome = result.report.outcome;
    result.limitsConflict = result.report.outcome == simplex::Outcome::Infeasible;
    model.rsAnalisis.clear();
    reportOutcome(result.report, out);

    const simplex::Outcome outcome = result.report.outcome;
    if (outcome == simplex::Outcome::NotStandard) {
        result.end = RunEnd::NotStandard;
        return std::move(result);
    }
    if (outcome == simplex::Outcome::Optimal || outcome == simplex::Outcome::Unbounded) {
        model.rsAnalisis = analysisRecords(built, problem, model.ingredients);
    }

    writeBack(model, tableau, keys, Q, out);
    actuResultados(model, composition, decimalSeparator);
    result.end = RunEnd::WrittenBack;
    return std::move(result);
}

void showRunMessages(const std::vector<RunMessage>& messages, Desktop& desktop,
                     const std::function<void(const AportesReport&)>& showContributions,
                     const std::function<void(RunFocus)>& focus) {
    for (const RunMessage& m : messages) {
        if (m.kind == RunMessage::Kind::Contributions && m.aportes)
            showContributions(*m.aportes);
        else
            desktop.message(m.text, m.icon, m.title);
        if (focus && m.focus != RunFocus::None)
            focus(m.focus);
    }
}

} // namespace tarvela::formulation
