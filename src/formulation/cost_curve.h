#pragma once

#include "formulation/formula_composition.h"
#include "formulation/run_message.h"
#include "formulation/working_model.h"
#include "solver/simplex.h"

#include <QChar>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Cost curves and price maps: the formula solved again and again while one nutrient or
// ingredient limit, or one ingredient's price, moves across a range in steps, each solve going on
// from the basis of the step before. The formula itself is never changed.
namespace tarvela::formulation {

enum class CurveKind {
    NutrientLimit,   // a nutrient's minimum or maximum, in the nutrient's unit
    IngredientLimit, // an ingredient's minimum or maximum, in batch units
    IngredientPrice, // an ingredient's price as fed ("Mapa de precio")
};

struct CurveSubject {
    CurveKind kind = CurveKind::NutrientLimit;
    int id = 0;          // id_propiedad of the nutrient, id_producto of the ingredient
    bool maximo = false; // which limit moves (limits only)
};

struct CurveRange {
    double desde = 0;
    double hasta = 0;
    int pasos = 50;
};

// The subject as the formula states it: what the chart is titled ("Mínimo para Proteína",
// "Precio de Harina de pescado"), the value the formula holds now, and the default range: that
// value ± 50 % in 50 steps (0 up to the batch quantity for an ingredient limit at 0).
struct CurveStart {
    QString caption;
    QString unit; // "$" for prices; the nutrient's unit is the caller's to add
    double current = 0;
    std::optional<CurveRange> defaultRange;
};

// The subject in the model, or the message that refuses it: an item the formula does not hold,
// a limit it does not state, a limit at 0 without a range to start from (defaultRange empty).
struct SubjectCheck {
    std::optional<CurveStart> start;
    QString refusal;
};
SubjectCheck curveStart(const WorkingModel& model, const CurveSubject& subject);

// A range that crosses below 0, whose "hasta" is not above its "desde", or whose steps are not
// 1 to 1000 is refused with the message returned; an acceptable one gives an empty text.
QString rangeRefusal(const CurveRange& range);

// One point of a curve: a step of the range, or a point between steps where the mix changes or
// where the limits stop (or start) being met.
struct CurvePoint {
    enum class Role {
        Step,   // one of the range's steps
        Change, // the basis of the mix changes here: the cost bends
        Edge,   // the last (or first) value at which the limits can be met
    };
    Role role = Role::Step;
    double value = 0; // the level, or the price
    simplex::Outcome outcome = simplex::Outcome::Optimal;
    // The cost per unit the run minimises: of dry matter when the formula's ingredients are on
    // dry matter, as fed otherwise; empty when the limits cannot be met.
    std::optional<double> unitCost;
    // The cost per unit on the other basis (as fed for a dry-matter formula, and the reverse).
    std::optional<double> otherUnitCost;
    std::vector<double> quantities; // as fed, per ingredient of the curve; empty in a gap
    // At a change: the ingredients that enter and leave the mix, and the limits that start and
    // stop binding (by the analysis' labels).
    std::vector<QString> entering;
    std::vector<QString> leaving;
    std::vector<QString> binding;
    std::vector<QString> released;

    bool met() const { return unitCost.has_value(); }
};

struct CostCurve {
    CurveSubject subject;
    CurveStart start;
    CurveRange range;
    double batchQuantity = 0;
    bool dryBasis = false; // the formula's ingredients on dry matter: unitCost is per unit dry
    // The formula's ingredients in key order, whose quantities the points hold.
    std::vector<int> ingredientIds;
    std::vector<QString> ingredientNames;
    std::vector<CurvePoint> points; // by value, steps and the points between them
    // How far the formula's own record holds: for a limit the values over which its basis stays,
    // for a price the prices between which the mix keeps its ingredients ("Precio Máximo" of an
    // ingredient in the mix, "Precio Oportuno" of one left out). Empty end = without limit; both
    // empty when the formula as it stands cannot be solved.
    std::optional<double> heldFrom;
    std::optional<double> heldTo;
    // Solver work, for the benchmark and the tests.
    long pivots = 0;
    int solvedFromSlacks = 0;
};

struct CurveOutcome {
    std::optional<CostCurve> curve;   // empty when refused
    std::vector<RunMessage> messages; // why it was refused: the run's own checks, or the range's
    bool cancelled = false;
};

// Called after every step with the steps done and their number; returning false cancels.
using CurveProgress = std::function<bool(int done, int total)>;

// Computes the curve on a copy of the model over the composition read beforehand (the caller's
// database is not touched, so this may run on another thread). The copy is first put through the
// run's checks as "&Formular Mínimo Costo" would; a run stopped by a check refuses the curve with
// its messages, while limits that cannot be met together just leave gaps.
CurveOutcome costCurve(const WorkingModel& model, const CurveSubject& subject,
                       const CurveRange& range, const FormulaComposition& composition,
                       QChar decimalSeparator, const CurveProgress& progress = {});

// What the curve's cost is named: "Costo U.Seca" for a formula on dry matter, "Costo U.Húmeda"
// otherwise; and the other basis's name.
QString unitCostCaption(const CostCurve& curve);
QString otherUnitCostCaption(const CostCurve& curve);

// The ingredients whose quantity differs between points of the curve where the limits are met,
// by position in ingredientIds.
std::vector<int> changingIngredients(const CostCurve& curve);

} // namespace tarvela::formulation
