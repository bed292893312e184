// Cost curves and price maps of the demo formulas against runs of the formula with the limit or
// the price set by hand.
#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulation/cost_curve.h"
#include "formulation/run.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvela::test {
namespace {

using formulation::CostCurve;
using formulation::CurveKind;
using formulation::CurvePoint;
using formulation::CurveRange;
using formulation::CurveSubject;
using formulation::WorkingModel;

constexpr int kBroiler = 5;   // ingredients and nutrients as fed
constexpr int kDairy = 1;     // both on dry matter
constexpr int kProtein = 1;   // "Proteína Bruta"
constexpr int kExpeller = 50; // in the broiler's mix, dearer up to 0.4098
constexpr int kSoy44 = 48;    // left out of it
constexpr int kFibre = 6;     // "Fibra Bruta", at most 4 in the broiler

struct Demo : ::testing::Test {
    TestDatabase tdb{TestDatabase::Contents::Demo};
    RecordingHost host;

    WorkingModel load(int id) { return loadFormula(tdb.conn(), id, host.desk); }

    formulation::CurveOutcome curveOf(const WorkingModel& model, const CurveSubject& subject,
                                      const CurveRange& range) {
        const formulation::FormulaComposition composition(tdb.conn(), model);
        return formulation::costCurve(model, subject, range, composition, QLatin1Char('.'));
    }

    // An independent run with the nutrient minimum, or the ingredient price, set by hand.
    formulation::RunResult runAt(WorkingModel model, const CurveSubject& subject, double value,
                                 WorkingModel& out) {
        if (subject.kind == CurveKind::NutrientLimit) {
            formulation::NutrientRow* n = model.findNutrient(subject.id);
            (subject.maximo ? n->maximo : n->minimo) = value;
        } else {
            formulation::IngredientRow* row = model.findIngredient(subject.id);
            row->costo_humeda = value;
            row->costo_seca = value / (*row->materia_seca / 100);
        }
        RecordingHost quiet;
        const formulation::RunResult result = quiet.run(model, model.txtCantidad, tdb.conn());
        out = std::move(model);
        return result;
    }

    // A point's costs are the run's: the one minimised (per unit of dry matter when the
    // ingredients are on dry matter) and the other, within the band of the shares' sum.
    static void expectCostsOf(const CurvePoint& p, const WorkingModel& solved) {
        const double dry = solved.totals.costoUnitarioSeca;
        const double wet = solved.totals.costoUnitarioHumeda;
        EXPECT_NEAR(*p.unitCost, solved.vSecaIng ? dry : wet, 3e-8 * wet) << p.value;
        EXPECT_NEAR(*p.otherUnitCost, solved.vSecaIng ? wet : dry, 3e-8 * dry) << p.value;
    }

    // The ingredients in the mix of an independent run at a value, in the curve's order.
    std::vector<QString> mixAt(const WorkingModel& model, const CostCurve& curve, double value) {
        WorkingModel solved;
        EXPECT_TRUE(formulation::mixMeetsLimits(runAt(model, curve.subject, value, solved)));
        std::vector<QString> names;
        for (size_t j = 0; j < curve.ingredientIds.size(); ++j)
            if (solved.findIngredient(curve.ingredientIds[j])->cantidad_humeda.value_or(0) > 1e-6)
                names.push_back(curve.ingredientNames[j]);
        return names;
    }

    // The cost per unit of the limit at `value`, as the run's record states it (0 when the
    // limit does not bind there).
    double rateAt(const WorkingModel& model, const CurveSubject& subject, double value) {
        WorkingModel solved;
        runAt(model, subject, value, solved);
        for (const formulation::AnalysisRecord& r : solved.rsAnalisis)
            if (r.kind == formulation::AnalysisKind::NutrientLimit && r.itemId == subject.id &&
                !r.maximo)
                return *r.valor2;
        return 0;
    }
};

// Each step of the protein curve equals a run with the minimum set to its level, gaps where
// the run cannot meet its limits; the formula in hand is not changed.
TEST_F(Demo, CurvePointsEqualIndependentRuns) {
    for (int formula : {kBroiler, kDairy}) {
        SCOPED_TRACE(formula);
        WorkingModel model = load(formula);
        const CurveSubject protein{CurveKind::NutrientLimit, kProtein, false};
        const formulation::SubjectCheck start = formulation::curveStart(model, protein);
        ASSERT_TRUE(start.start && start.start->defaultRange);
        EXPECT_EQ(start.start->caption, QStringLiteral("Mínimo para Proteína Bruta"));
        CurveRange range = *start.start->defaultRange;
        EXPECT_DOUBLE_EQ(range.desde, start.start->current * 0.5);
        EXPECT_EQ(range.pasos, 50);
        range.pasos = 16;

        const formulation::CurveOutcome outcome = curveOf(model, protein, range);
        ASSERT_TRUE(outcome.curve);
        const CostCurve& curve = *outcome.curve;
        int steps = 0, gaps = 0, changes = 0;
        double last = -1;
        for (const CurvePoint& p : curve.points) {
            EXPECT_GE(p.value, last);
            last = p.value;
            changes += p.role == CurvePoint::Role::Change ? 1 : 0;
            if (p.role != CurvePoint::Role::Step)
                continue;
            ++steps;
            WorkingModel solved;
            const formulation::RunResult run = runAt(model, protein, p.value, solved);
            const bool met = formulation::mixMeetsLimits(run);
            ASSERT_EQ(p.met(), met) << p.value;
            if (!met) {
                ++gaps;
                continue;
            }
            // The shares may add up anywhere in their band of 2e-8.
            expectCostsOf(p, solved);
            for (size_t j = 0; j < curve.ingredientIds.size(); ++j)
                EXPECT_NEAR(p.quantities[j],
                            *solved.findIngredient(curve.ingredientIds[j])->cantidad_humeda, 1e-6);
        }
        EXPECT_EQ(steps, 17);
        EXPECT_GT(gaps, 0);
        EXPECT_GT(changes, 0);
        EXPECT_GT(curve.solvedFromSlacks, 0);
        // The formula in hand keeps its limits and its mix.
        WorkingModel again = load(formula);
        EXPECT_EQ(model.findNutrient(kProtein)->minimo, again.findNutrient(kProtein)->minimo);
        EXPECT_EQ(model.ingredients.size(), again.ingredients.size());
    }
}

// Where the curve marks a change the cost bends: the cost of one more unit of protein differs
// just below and just above it, as the ranges of the records predict; the gap's edge is the last
// level a run can meet.
TEST_F(Demo, ChangesAndEdgesSitWhereTheRecordsStopHolding) {
    const WorkingModel model = load(kBroiler);
    const CurveSubject protein{CurveKind::NutrientLimit, kProtein, false};
    const formulation::CurveOutcome outcome = curveOf(model, protein, {15, 26, 22});
    ASSERT_TRUE(outcome.curve);
    int checked = 0;
    for (const CurvePoint& p : outcome.curve->points) {
        const double eps = 1e-5 * p.value;
        if (p.role == CurvePoint::Role::Change) {
            SCOPED_TRACE(p.value);
            EXPECT_TRUE(p.met());
            EXPECT_FALSE(p.entering.empty() && p.leaving.empty() && p.binding.empty() &&
                         p.released.empty());
            EXPECT_GT(std::fabs(rateAt(model, protein, p.value - eps) -
                                rateAt(model, protein, p.value + eps)),
                      1e-6);
            ++checked;
        } else if (p.role == CurvePoint::Role::Edge) {
            // The limits are met on one side of the edge only.
            WorkingModel solved;
            EXPECT_NE(formulation::mixMeetsLimits(runAt(model, protein, p.value - eps, solved)),
                      formulation::mixMeetsLimits(runAt(model, protein, p.value + eps, solved)));
            ++checked;
        }
    }
    EXPECT_GE(checked, 2);
}

// The price map of an ingredient in the mix holds up to its record's "Precio Máximo", that of
// one left out from its "Precio Oportuno"; below it the ingredient enters.
TEST_F(Demo, PriceMapsHoldBetweenTheRecordPrices) {
    WorkingModel model = load(kBroiler);
    ASSERT_TRUE(formulation::mixMeetsLimits(host.run(model, model.txtCantidad, tdb.conn())));
    const auto record = [&](formulation::AnalysisKind kind, int id) {
        for (const formulation::AnalysisRecord& r : model.rsAnalisis)
            if (r.kind == kind && r.itemId == id)
                return r;
        ADD_FAILURE() << id;
        return formulation::AnalysisRecord{};
    };

    const CurveSubject inMix{CurveKind::IngredientPrice, kExpeller, false};
    const formulation::CurveOutcome in = curveOf(model, inMix, {0.2, 0.8, 12});
    ASSERT_TRUE(in.curve);
    EXPECT_EQ(in.curve->start.caption.left(10), QStringLiteral("Precio de "));
    ASSERT_TRUE(in.curve->heldTo);
    EXPECT_NEAR(*in.curve->heldTo,
                *record(formulation::AnalysisKind::IngredientInMix, kExpeller).valor3, 1e-9);

    const CurveSubject leftOut{CurveKind::IngredientPrice, kSoy44, false};
    const formulation::CurveOutcome out = curveOf(model, leftOut, {0.1, 0.5, 8});
    ASSERT_TRUE(out.curve);
    ASSERT_TRUE(out.curve->heldFrom);
    EXPECT_FALSE(out.curve->heldTo);
    const double opportune = *record(formulation::AnalysisKind::IngredientLeftOut, kSoy44).valor3;
    EXPECT_NEAR(*out.curve->heldFrom, opportune, 1e-9);
    const size_t j = static_cast<size_t>(
        std::find(out.curve->ingredientIds.begin(), out.curve->ingredientIds.end(), kSoy44) -
        out.curve->ingredientIds.begin());
    for (const CurvePoint& p : out.curve->points) {
        if (p.role != CurvePoint::Role::Step)
            continue;
        WorkingModel solved;
        runAt(model, leftOut, p.value, solved);
        expectCostsOf(p, solved);
        EXPECT_EQ(p.quantities[j] > 1e-9, p.value < opportune - 1e-9) << p.value;
    }
}

// On dry matter the price map moves the price as fed (the run's dry price is that over the dry
// matter): each step is an independent run at its price, and the cost drawn is the dry cost the
// run minimises, which never falls as the price rises.
TEST_F(Demo, PriceMapsOfADryMatterFormulaFollowTheDryCost) {
    WorkingModel model = load(kDairy);
    ASSERT_TRUE(model.vSecaIng);
    ASSERT_TRUE(formulation::mixMeetsLimits(host.run(model, model.txtCantidad, tdb.conn())));
    int mixed = 0;
    for (const formulation::IngredientRow& row : model.ingredients)
        if (row.cantidad_seca.value_or(0) > 1 && row.costo_humeda.value_or(0) > 0.01) {
            mixed = row.id_producto;
            break;
        }
    ASSERT_NE(mixed, 0);
    const double price = *model.findIngredient(mixed)->costo_humeda;
    const CurveSubject subject{CurveKind::IngredientPrice, mixed, false};
    const formulation::CurveOutcome outcome = curveOf(model, subject, {0, price * 3, 12});
    ASSERT_TRUE(outcome.curve);
    EXPECT_TRUE(outcome.curve->dryBasis);
    EXPECT_EQ(formulation::unitCostCaption(*outcome.curve), QStringLiteral("Costo U.Seca"));
    std::optional<double> before;
    for (const CurvePoint& p : outcome.curve->points) {
        ASSERT_TRUE(p.met());
        if (before) {
            EXPECT_GE(*p.unitCost, *before - 1e-12) << p.value;
        }
        before = p.unitCost;
        if (p.role != CurvePoint::Role::Step)
            continue;
        WorkingModel solved;
        runAt(model, subject, p.value, solved);
        expectCostsOf(p, solved);
        for (size_t j = 0; j < outcome.curve->ingredientIds.size(); ++j)
            EXPECT_NEAR(p.quantities[j],
                        *solved.findIngredient(outcome.curve->ingredientIds[j])->cantidad_humeda,
                        1e-6);
    }
}

// For every ingredient in the mix of every demo formula the price map holds up to the record's
// "Precio Máximo".
TEST_F(Demo, EveryPriceMapEndsAtTheRecordsHighestPrice) {
    const db::Result ids = tdb.conn().query(QStringLiteral("select id_formula from formulas"));
    int checked = 0;
    for (int r = 0; r < ids.rowCount(); ++r) {
        WorkingModel model = load(ids.value(r, 0).toInt());
        SCOPED_TRACE(model.formulaId);
        ASSERT_TRUE(formulation::mixMeetsLimits(host.run(model, model.txtCantidad, tdb.conn())));
        for (const formulation::AnalysisRecord& rec : model.rsAnalisis) {
            if (rec.kind != formulation::AnalysisKind::IngredientInMix || !rec.valor1 ||
                *rec.valor1 <= 0)
                continue;
            SCOPED_TRACE(rec.detalle.toStdString());
            const formulation::CurveOutcome map =
                curveOf(model, {CurveKind::IngredientPrice, rec.itemId, false},
                        {*rec.valor1 * 0.5, *rec.valor1 * 1.5, 1});
            ASSERT_TRUE(map.curve);
            EXPECT_EQ(map.curve->heldTo.has_value(), rec.valor3.has_value());
            if (rec.valor3 && map.curve->heldTo) {
                EXPECT_NEAR(*map.curve->heldTo, *rec.valor3, 1e-9 * std::max(1.0, *rec.valor3));
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 30);
}

// A curve that starts where the limits cannot be met and walks into met steps names, at each
// change, what enters and leaves as runs between it and the points on either side show.
TEST_F(Demo, ChangesWalkedOutOfAGapNameWhatTheirNeighboursShow) {
    const WorkingModel model = load(kBroiler);
    const CurveSubject fibre{CurveKind::NutrientLimit, kFibre, true};
    const formulation::CurveOutcome outcome = curveOf(model, fibre, {0, 6, 12});
    ASSERT_TRUE(outcome.curve);
    const std::vector<CurvePoint>& points = outcome.curve->points;
    ASSERT_FALSE(points.front().met());
    int changes = 0;
    for (size_t k = 1; k + 1 < points.size(); ++k) {
        const CurvePoint& p = points[k];
        if (p.role != CurvePoint::Role::Change || !points[k - 1].met() || !points[k + 1].met())
            continue;
        SCOPED_TRACE(p.value);
        const std::vector<QString> left =
            mixAt(model, *outcome.curve, (points[k - 1].value + p.value) / 2);
        const std::vector<QString> right =
            mixAt(model, *outcome.curve, (p.value + points[k + 1].value) / 2);
        std::vector<QString> entering, leaving;
        for (const QString& n : right)
            if (std::find(left.begin(), left.end(), n) == left.end())
                entering.push_back(n);
        for (const QString& n : left)
            if (std::find(right.begin(), right.end(), n) == right.end())
                leaving.push_back(n);
        EXPECT_EQ(p.entering, entering);
        EXPECT_EQ(p.leaving, leaving);
        changes += p.entering.empty() && p.leaving.empty() ? 0 : 1;
    }
    EXPECT_GT(changes, 0);
}

TEST_F(Demo, RefusedSubjectsAndRanges) {
    const WorkingModel model = load(kBroiler);
    EXPECT_EQ(formulation::rangeRefusal({-1, 2, 10}),
              QStringLiteral("El rango no puede incluir valores negativos"));
    EXPECT_EQ(formulation::rangeRefusal({3, 2, 10}),
              QStringLiteral("El valor Hasta debe ser mayor al valor Desde"));
    EXPECT_EQ(formulation::rangeRefusal({1, 2, 0}),
              QStringLiteral("La cantidad de pasos debe estar entre 1 y 1000"));
    EXPECT_TRUE(formulation::rangeRefusal({0, 2, 1000}).isEmpty());

    EXPECT_EQ(formulation::curveStart(model, {CurveKind::NutrientLimit, 999, false}).refusal,
              QStringLiteral("La propiedad 999 no está en la fórmula"));
    // A nutrient with a maximum only ("Fibra Bruta" ≤ 4).
    EXPECT_FALSE(formulation::curveStart(model, {CurveKind::NutrientLimit, 6, false}).start);
    EXPECT_TRUE(formulation::curveStart(model, {CurveKind::NutrientLimit, 6, true}).start);

    const formulation::CurveOutcome refused =
        curveOf(model, {CurveKind::NutrientLimit, kProtein, false}, {30, 20, 10});
    EXPECT_FALSE(refused.curve);
    ASSERT_EQ(refused.messages.size(), 1u);
    EXPECT_EQ(refused.messages[0].text,
              QStringLiteral("El valor Hasta debe ser mayor al valor Desde"));

    // The run's own checks refuse too, with the run's message.
    WorkingModel noQuantity = model;
    noQuantity.txtCantidad = QStringLiteral("0");
    const formulation::CurveOutcome stopped =
        curveOf(noQuantity, {CurveKind::NutrientLimit, kProtein, false}, {20, 24, 4});
    EXPECT_FALSE(stopped.curve);
    ASSERT_FALSE(stopped.messages.empty());
    EXPECT_EQ(stopped.messages[0].text,
              QStringLiteral("La cantidad a elaborar debe ser mayor que cero"));
}

} // namespace
} // namespace tarvela::test
