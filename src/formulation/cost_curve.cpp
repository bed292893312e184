#include "formulation/cost_curve.h"

#include "formulation/mix_share.h"
#include "formulation/run.h"
#include "formulation/stated_problem.h"
#include "solver/problem.h"
#include "solver/ranging.h"
#include "solver/tolerances.h"
#include "solver/warm_start.h"
#include "text/format.h"

#include <algorithm>
#include <cmath>

namespace tarvela::formulation {

namespace {

using simplex::LimitKind;
using simplex::LimitSide;

// The composition read beforehand, handed to the run's checks.
class HeldComposition : public CompositionSource {
public:
    explicit HeldComposition(const FormulaComposition& composition) : composition_(composition) {}
    FormulaComposition composition(const std::vector<NutrientRow>&,
                                   const std::vector<IngredientRow>&) const override {
        return composition_;
    }

private:
    const FormulaComposition& composition_;
};

RunMessage refusal(const QString& text) {
    RunMessage m;
    m.text = text;
    m.icon = MsgIcon::Critical;
    return m;
}

QString sideCaption(bool maximo) {
    return maximo ? QStringLiteral("Máximo para ") : QStringLiteral("Mínimo para ");
}

bool equalLimits(const Opt& minimo, const Opt& maximo) {
    return minimo && maximo && *minimo == *maximo;
}

// A solved step: its final tableau, whether the limits are met, and the point it makes.
struct Solved {
    simplex::BuiltTableau built;
    bool met = false;
    CurvePoint point;
    std::vector<int> basis;   // the basic columns, sorted
    simplex::ValueRange held; // where the basis holds, in the curve's values (may be empty)
};

class CurveSolver {
public:
    CurveSolver(const CurveSubject& subject, simplex::LpProblem problem,
                std::vector<double> pricesAsFed, CostCurve& curve)
        : subject_(subject), problem_(std::move(problem)), prices_(std::move(pricesAsFed)),
          curve_(curve) {
        for (std::size_t j = 0; j < problem_.ingredients.size(); ++j)
            if (problem_.ingredients[j].id == subject.id)
                ingredient_ = static_cast<int>(j);
        for (std::size_t n = 0; n < problem_.nutrients.size(); ++n)
            if (problem_.nutrients[n].id == subject.id)
                nutrient_ = static_cast<int>(n);
        if (subject.kind == CurveKind::IngredientLimit) {
            const simplex::LpIngredient& ing =
                problem_.ingredients[static_cast<size_t>(ingredient_)];
            both_ = equalLimits(ing.minimo, ing.maximo);
        }
    }

    // Solves at value v, going on from `from` when given.
    Solved solveAt(double v, const Solved* from) {
        setValue(v);
        Solved s;
        if (refusedByTheRun()) {
            s.point.value = v;
            s.point.outcome = simplex::Outcome::Infeasible;
            return s;
        }
        s.built = simplex::buildTableau(problem_);
        simplex::Outcome outcome;
        if (from) {
            const simplex::Tableau initial = s.built.tableau;
            s.built.tableau = from->built.tableau;
            const simplex::WarmSolve warm = simplex::solveFromBasis(s.built.tableau, initial);
            outcome = warm.report.outcome;
            curve_.pivots += warm.pivots;
            curve_.solvedFromSlacks += warm.fromBasis ? 0 : 1;
        } else {
            const simplex::SolveReport report = simplex::solve(s.built.tableau);
            outcome = report.outcome;
            curve_.pivots += report.phase2Pivots;
            ++curve_.solvedFromSlacks;
        }
        s.point.value = v;
        s.point.outcome = outcome;
        s.met = outcome != simplex::Outcome::Infeasible && outcome != simplex::Outcome::NotStandard;
        if (s.met)
            readPoint(s);
        return s;
    }

private:
    // A nutrient's maximum must stay above its minimum by 0.01 %, as the run checks before it
    // solves: a level the run would refuse is no mix.
    bool refusedByTheRun() const {
        if (subject_.kind != CurveKind::NutrientLimit)
            return false;
        const simplex::LpNutrient& n = problem_.nutrients[static_cast<size_t>(nutrient_)];
        if (!n.minimo || !n.maximo)
            return false;
        const double mn = *n.minimo;
        const double mx = *n.maximo;
        return mn >= mx || (mn != 0 && text::roundDecimal(std::fabs((mx - mn) / mn), 10) < 0.0001);
    }

    void setValue(double v) {
        switch (subject_.kind) {
        case CurveKind::NutrientLimit: {
            simplex::LpNutrient& n = problem_.nutrients[static_cast<size_t>(nutrient_)];
            (subject_.maximo ? n.maximo : n.minimo) = v;
            break;
        }
        case CurveKind::IngredientLimit: {
            simplex::LpIngredient& ing = problem_.ingredients[static_cast<size_t>(ingredient_)];
            if (both_ || !subject_.maximo)
                ing.minimo = v;
            if (both_ || subject_.maximo)
                ing.maximo = v;
            break;
        }
        case CurveKind::IngredientPrice: {
            simplex::LpIngredient& ing = problem_.ingredients[static_cast<size_t>(ingredient_)];
            ing.price = problem_.vSecaIng ? v / ing.dryFraction : v;
            prices_[static_cast<size_t>(ingredient_)] = v;
            break;
        }
        }
    }

    // The row that moves with a single limit; 0 for a price or for both limits of an ingredient.
    int movingRow(const simplex::BuiltTableau& built) const {
        if (subject_.kind == CurveKind::IngredientPrice || both_)
            return 0;
        const LimitKind kind =
            subject_.kind == CurveKind::NutrientLimit ? LimitKind::Nutrient : LimitKind::Ingredient;
        const int index = kind == LimitKind::Nutrient ? nutrient_ : ingredient_;
        const LimitSide side = subject_.maximo ? LimitSide::Maximum : LimitSide::Minimum;
        for (std::size_t r = 1; r < built.rows.size(); ++r)
            if (built.rows[r].kind == kind && built.rows[r].index == index &&
                built.rows[r].side == side)
                return static_cast<int>(r);
        return 0;
    }

    void readPoint(Solved& s) {
        const simplex::Tableau& t = s.built.tableau;
        const int ni = t.ni();
        const double Q = problem_.Q;
        std::vector<double> shares(static_cast<size_t>(ni), 0.0);
        for (int i = 1; i <= t.m(); ++i) {
            const int b = t.basis()[static_cast<size_t>(i)];
            s.basis.push_back(b);
            if (b <= ni)
                shares[static_cast<size_t>(b - 1)] = std::max(t.rhs(i), 0.0);
        }
        std::sort(s.basis.begin(), s.basis.end());
        double total = 0;
        double totalDry = 0;
        double cost = 0;
        s.point.quantities.resize(static_cast<size_t>(ni));
        for (int j = 0; j < ni; ++j) {
            const auto k = static_cast<size_t>(j);
            const double q = problem_.vSecaIng ? shares[k] * Q / problem_.ingredients[k].dryFraction
                                               : shares[k] * Q;
            s.point.quantities[k] = q;
            total += q;
            totalDry += q * problem_.ingredients[k].dryFraction;
            cost += q * prices_[k];
        }
        const double asFed = total > 0 ? cost / total : 0.0;
        const double dry = totalDry > 0 ? cost / totalDry : 0.0;
        s.point.unitCost = problem_.vSecaIng ? dry : asFed;
        s.point.otherUnitCost = problem_.vSecaIng ? asFed : dry;

        if (const int row = movingRow(s.built)) {
            s.held = simplex::limitRange(t, problem_, row, s.built.rows[static_cast<size_t>(row)]);
        } else if (subject_.kind == CurveKind::IngredientPrice) {
            const simplex::ValueRange change = simplex::priceRange(s.built, ingredient_ + 1);
            const double scale =
                problem_.vSecaIng
                    ? problem_.ingredients[static_cast<size_t>(ingredient_)].dryFraction
                    : 1.0;
            if (change.from)
                s.held.from = s.point.value + *change.from * scale;
            if (change.to)
                s.held.to = s.point.value + *change.to * scale;
        }
    }

    const CurveSubject subject_;
    simplex::LpProblem problem_;
    std::vector<double> prices_;
    CostCurve& curve_;
    int ingredient_ = -1;
    int nutrient_ = -1;
    bool both_ = false;
};

bool inMix(const CurvePoint& p, std::size_t j, double batchQuantity) {
    return j < p.quantities.size() && isInMix(p.quantities[j], batchQuantity);
}

// Labels of the binding limit rows (non-basic slacks) of a solved step, the total-share rows
// left out.
std::vector<QString> bindingLabels(const Solved& s) {
    std::vector<QString> labels;
    const simplex::Tableau& t = s.built.tableau;
    for (int r = 1; r <= t.m(); ++r) {
        if (s.built.rows[static_cast<size_t>(r)].kind == LimitKind::Total ||
            std::binary_search(s.basis.begin(), s.basis.end(), t.ni() + r))
            continue;
        labels.push_back(QString::fromStdString(s.built.rowLabels[static_cast<size_t>(r)]));
    }
    return labels;
}

std::vector<QString> missingFrom(const std::vector<QString>& a, const std::vector<QString>& b) {
    std::vector<QString> out;
    for (const QString& x : a)
        if (std::find(b.begin(), b.end(), x) == b.end())
            out.push_back(x);
    return out;
}

// What changes between two solved neighbours, written on the point between them.
void describeChange(CurvePoint& p, const Solved& before, const Solved& after,
                    const CostCurve& curve) {
    const std::vector<QString>& names = curve.ingredientNames;
    for (std::size_t j = 0; j < names.size(); ++j) {
        const bool was = inMix(before.point, j, curve.batchQuantity);
        const bool is = inMix(after.point, j, curve.batchQuantity);
        if (!was && is)
            p.entering.push_back(names[j]);
        else if (was && !is)
            p.leaving.push_back(names[j]);
    }
    const std::vector<QString> a = bindingLabels(before);
    const std::vector<QString> b = bindingLabels(after);
    p.binding = missingFrom(b, a);
    p.released = missingFrom(a, b);
}

bool strictlyBetween(const std::optional<double>& v, double a, double b) {
    return v && *v > std::min(a, b) && *v < std::max(a, b);
}

// The most changes looked for between two steps.
constexpr int kChangesBetweenSteps = 50;

double nudge(double v) {
    return 1e-9 * std::max(1.0, std::fabs(v));
}

// A solve just past e, where `cur`'s basis stops holding, on the way to `towards`: the nearest of
// a few growing distances at which the solve leaves the basis (a basic share or slack a little
// past 0 still counts as 0, so the first distance may be too short). Empty when every distance
// up to half the way keeps the basis.
std::optional<Solved> probeBeyond(CurveSolver& solver, const Solved& cur, double e,
                                  double towards) {
    const double way = towards - e;
    for (double share : {1e-7, 1e-5, 1e-3, 0.5}) {
        const double d = std::max(std::fabs(way) * share, nudge(e));
        if (d >= std::fabs(way))
            break;
        Solved probe = solver.solveAt(way > 0 ? e + d : e - d, &cur);
        if (!probe.met || probe.basis != cur.basis)
            return probe;
    }
    return std::nullopt;
}

// From a step whose limits are met towards the next value b: where its basis stops holding the
// mix either changes (a change point, and on from the new basis) or stops meeting its limits (the
// edge of a gap). The points found are appended in order.
void walkForward(CurveSolver& solver, const Solved& from, double b, CostCurve& curve) {
    const Solved* cur = &from;
    std::optional<Solved> beyond;
    for (int n = 0; n < kChangesBetweenSteps; ++n) {
        if (!strictlyBetween(cur->held.to, cur->point.value, b))
            return;
        const double e = *cur->held.to;
        std::optional<Solved> probe = probeBeyond(solver, *cur, e, b);
        if (!probe)
            return;
        Solved at = solver.solveAt(e, cur);
        if (!at.met)
            return;
        if (!probe->met) {
            at.point.role = CurvePoint::Role::Edge;
            curve.points.push_back(at.point);
            return;
        }
        at.point.role = CurvePoint::Role::Change;
        describeChange(at.point, *cur, *probe, curve);
        curve.points.push_back(at.point);
        beyond = std::move(probe);
        cur = &*beyond;
    }
}

// From a step whose limits are met back towards the value a before it, where they were not:
// the changes on the way and the first value that meets them, appended in order.
void walkBackward(CurveSolver& solver, const Solved& from, double a, CostCurve& curve) {
    std::vector<CurvePoint> found;
    const Solved* cur = &from;
    std::optional<Solved> before;
    for (int n = 0; n < kChangesBetweenSteps; ++n) {
        if (!strictlyBetween(cur->held.from, a, cur->point.value))
            break;
        const double e = *cur->held.from;
        std::optional<Solved> probe = probeBeyond(solver, *cur, e, a);
        if (!probe)
            break;
        Solved at = solver.solveAt(e, cur);
        if (!at.met)
            break;
        if (!probe->met) {
            at.point.role = CurvePoint::Role::Edge;
            found.push_back(at.point);
            break;
        }
        at.point.role = CurvePoint::Role::Change;
        describeChange(at.point, *probe, *cur, curve);
        found.push_back(at.point);
        before = std::move(probe);
        cur = &*before;
    }
    curve.points.insert(curve.points.end(), found.rbegin(), found.rend());
}

} // namespace

SubjectCheck curveStart(const WorkingModel& model, const CurveSubject& subject) {
    SubjectCheck check;
    CurveStart start;
    if (subject.kind == CurveKind::NutrientLimit) {
        const auto it =
            std::find_if(model.rsPropiedades.begin(), model.rsPropiedades.end(),
                         [&](const NutrientRow& n) { return n.id_propiedad == subject.id; });
        if (it == model.rsPropiedades.end()) {
            check.refusal = QStringLiteral("La propiedad %1 no está en la fórmula").arg(subject.id);
            return check;
        }
        const Opt limit = subject.maximo ? it->maximo : it->minimo;
        if (!limit) {
            check.refusal = QStringLiteral("La propiedad <") + it->nombre.trimmed() +
                            (subject.maximo ? QStringLiteral("> no tiene valor máximo")
                                            : QStringLiteral("> no tiene valor mínimo"));
            return check;
        }
        start.caption = sideCaption(subject.maximo) + it->nombre.trimmed();
        start.current = *limit;
    } else {
        const auto it =
            std::find_if(model.ingredients.begin(), model.ingredients.end(),
                         [&](const IngredientRow& r) { return r.id_producto == subject.id; });
        if (it == model.ingredients.end()) {
            check.refusal =
                QStringLiteral("El ingrediente %1 no está en la fórmula").arg(subject.id);
            return check;
        }
        const QString name = it->nombre.trimmed();
        if (subject.kind == CurveKind::IngredientPrice) {
            if (!it->costo_humeda) {
                check.refusal =
                    QStringLiteral("El ingrediente <") + name + QStringLiteral("> no tiene precio");
                return check;
            }
            start.caption = QStringLiteral("Precio de ") + name;
            start.unit = QStringLiteral("$");
            start.current = *it->costo_humeda;
        } else {
            if (subject.maximo && !it->maximo) {
                check.refusal = QStringLiteral("El ingrediente <") + name +
                                QStringLiteral("> no tiene valor máximo");
                return check;
            }
            start.caption = sideCaption(subject.maximo) + name;
            start.current = subject.maximo ? *it->maximo : it->minimo.value_or(0.0);
        }
    }
    if (start.current != 0)
        start.defaultRange = CurveRange{start.current * 0.5, start.current * 1.5, 50};
    else if (subject.kind == CurveKind::IngredientLimit && model.batchQuantity > 0)
        start.defaultRange = CurveRange{0, model.batchQuantity, 50};
    check.start = std::move(start);
    return check;
}

QString rangeRefusal(const CurveRange& range) {
    if (range.pasos < 1 || range.pasos > 1000)
        return QStringLiteral("La cantidad de pasos debe estar entre 1 y 1000");
    if (!std::isfinite(range.desde) || !std::isfinite(range.hasta))
        return QStringLiteral("Los valores Desde y Hasta deben ser numéricos");
    if (range.desde < 0 || range.hasta < 0)
        return QStringLiteral("El rango no puede incluir valores negativos");
    if (!(range.hasta > range.desde))
        return QStringLiteral("El valor Hasta debe ser mayor al valor Desde");
    return {};
}

CurveOutcome costCurve(const WorkingModel& model, const CurveSubject& subject,
                       const CurveRange& range, const FormulaComposition& composition,
                       QChar decimalSeparator, const CurveProgress& progress) {
    CurveOutcome out;
    SubjectCheck check = curveStart(model, subject);
    if (!check.start) {
        out.messages.push_back(refusal(check.refusal));
        return out;
    }
    if (const QString refused = rangeRefusal(range); !refused.isEmpty()) {
        out.messages.push_back(refusal(refused));
        return out;
    }

    // The run's own checks, on a copy: the formula in the window stays as it is.
    WorkingModel copy = model;
    const RunResult run =
        formulate(copy, model.txtCantidad, HeldComposition(composition), decimalSeparator);
    if (run.end == RunEnd::StoppedAtCheck && !run.limitsConflict) {
        out.messages = run.messages;
        return out;
    }

    CostCurve curve;
    curve.subject = subject;
    curve.start = *check.start;
    curve.range = range;
    curve.batchQuantity = copy.batchQuantity;
    curve.dryBasis = copy.vSecaIng;
    simplex::LpProblem problem = statedProblem(copy, copy.batchQuantity, composition);
    std::vector<double> prices;
    for (const IngredientRow& row : copy.ingredients) {
        curve.ingredientIds.push_back(row.id_producto);
        curve.ingredientNames.push_back(row.nombre.trimmed());
        prices.push_back(row.costo_humeda.value_or(0.0));
    }
    CurveSolver solver(subject, std::move(problem), std::move(prices), curve);

    // How far the formula's own basis holds, from a solve at the current value.
    const Solved now = solver.solveAt(curve.start.current, nullptr);
    if (now.met) {
        curve.heldFrom = now.held.from;
        curve.heldTo = now.held.to;
    }

    const auto valueAt = [&](int k) {
        return k == range.pasos ? range.hasta
                                : range.desde + (range.hasta - range.desde) * k / range.pasos;
    };
    std::optional<Solved> previous; // the step before
    std::optional<Solved> lastMet;  // the last step whose limits were met: the warm start
    for (int k = 0; k <= range.pasos; ++k) {
        Solved step = solver.solveAt(valueAt(k), lastMet ? &*lastMet : nullptr);
        if (previous && previous->met)
            walkForward(solver, *previous, step.point.value, curve);
        else if (previous && step.met)
            walkBackward(solver, step, previous->point.value, curve);
        curve.points.push_back(step.point);
        if (step.met)
            lastMet = step;
        previous = std::move(step);
        if (progress && !progress(k + 1, range.pasos + 1)) {
            out.cancelled = true;
            return out;
        }
    }
    out.curve = std::move(curve);
    return out;
}

QString unitCostCaption(const CostCurve& curve) {
    return curve.dryBasis ? QStringLiteral("Costo U.Seca") : QStringLiteral("Costo U.Húmeda");
}

QString otherUnitCostCaption(const CostCurve& curve) {
    return curve.dryBasis ? QStringLiteral("Costo U.Húmeda") : QStringLiteral("Costo U.Seca");
}

std::vector<int> changingIngredients(const CostCurve& curve) {
    std::vector<int> changing;
    for (std::size_t j = 0; j < curve.ingredientIds.size(); ++j) {
        std::optional<double> first;
        for (const CurvePoint& p : curve.points) {
            if (!p.met())
                continue;
            if (!first)
                first = p.quantities[j];
            else if (std::fabs(p.quantities[j] - *first) >
                     1e-9 * std::max(1.0, curve.batchQuantity)) {
                changing.push_back(static_cast<int>(j));
                break;
            }
        }
    }
    return changing;
}

} // namespace tarvela::formulation
