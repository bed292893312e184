// The production plan on a hand-made catalog whose optimum and stock values are known: fish meal
// is the cheaper protein for both formulas, and formula 1 has no other.
#include "plan/plan_run.h"
#include "plan/plan_store.h"
#include "plan/plan_versions.h"

#include "support/small_catalog.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvela::test {
namespace {

using plan::Plan;
using plan::PlanEnd;

constexpr int kMaiz = 1;
constexpr int kPescado = 2;
constexpr int kSoja = 3;
constexpr double kTol = 1e-5;

class PlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        SmallCatalog c(db.conn());
        c.nutrient(1, "Proteína");
        c.ingredient(kMaiz, "Maíz", 0.2, 100);
        c.ingredient(kPescado, "Harina de pescado", 1.0, 100);
        c.ingredient(kSoja, "Soja", 0.8, 100);
        c.content(kMaiz, 1, 8);
        c.content(kPescado, 1, 60);
        c.content(kSoja, 1, 44);
        // Formula 1: maize and fish meal; formula 2 may take soybean meal too. Protein at least
        // 20 in both: alone each takes 12/52 of fish meal, which costs less than the soybean
        // meal's 1/3.
        for (int f : {1, 2}) {
            c.formula(f, 100, false, false);
            c.formulaIngredient(f, kMaiz, std::nullopt, std::nullopt);
            c.formulaIngredient(f, kPescado, std::nullopt, std::nullopt);
            c.formulaNutrient(f, 1, 20.0, std::nullopt);
        }
        c.formulaIngredient(2, kSoja, std::nullopt, std::nullopt);
    }

    Plan planWithFish(std::optional<double> fish) {
        Plan p;
        p.nombre = QStringLiteral("Semana 50");
        p.fecha = QDate(2026, 12, 8);
        p.formulas = {{1, 100.0, {}, {}, {}, false}, {2, 100.0, {}, {}, {}, false}};
        if (fish)
            p.existencias.push_back({kPescado, fish, {}, {}, false});
        plan::savePlan(db.conn(), p);
        return *plan::loadPlan(db.conn(), p.idPlan);
    }

    static const plan::StockOutcome& stockOf(const plan::PlanOutcome& o, int id) {
        for (const plan::StockOutcome& s : o.existencias)
            if (s.idProducto == id)
                return s;
        throw std::logic_error("no stock row");
    }

    TestDatabase db;
};

TEST_F(PlanTest, WithoutScarcityEachFormulaIsItsSingleRun) {
    const Plan p = planWithFish(std::nullopt);
    ASSERT_EQ(p.existencias.size(), 3u); // every ingredient any formula uses, stock blank
    const plan::PlanOutcome o = plan::runPlan(db.conn(), p, QLatin1Char('.'));
    ASSERT_EQ(o.end, PlanEnd::Found) << o.mensajes.join('\n').toStdString();
    for (const plan::FormulaOutcome& f : o.formulas) {
        EXPECT_NEAR(*f.costoUnitario, *f.costoUnitarioSolo, kTol);
        for (const plan::IngredientLine& line : f.ingredientes)
            EXPECT_NEAR(line.porcentaje, line.porcentajeSolo, 1e-4) << line.nombre.toStdString();
    }
    EXPECT_NEAR(*o.costoEscasez(), 0.0, 1e-4);
    EXPECT_NEAR(stockOf(o, kPescado).usado, 2 * 100 * 12.0 / 52.0, 1e-3);
    EXPECT_FALSE(stockOf(o, kPescado).limitante);
    EXPECT_FALSE(stockOf(o, kPescado).sobrante); // without limit
}

TEST_F(PlanTest, ScarceFishMealGoesWhereItIsWorthMostAndIsPriced) {
    const plan::PlanOutcome o = plan::runPlan(db.conn(), planWithFish(30.0), QLatin1Char('.'));
    ASSERT_EQ(o.end, PlanEnd::Found) << o.mensajes.join('\n').toStdString();
    // Formula 1 keeps its 23.08 kg; formula 2 takes the remaining 6.92 kg and soybean meal.
    EXPECT_NEAR(o.formulas[0].ingredientes[1].cantidad, 100 * 12.0 / 52.0, 1e-3);
    EXPECT_NEAR(o.formulas[1].ingredientes[1].cantidad, 30 - 100 * 12.0 / 52.0, 1e-3);
    EXPECT_NEAR(o.formulas[1].ingredientes[2].porcentaje, 100 * 0.233333, 1e-3);
    EXPECT_NEAR(*o.costoTotal, 78.0, 1e-4);
    EXPECT_NEAR(*o.costoSeparado, 2 * 100 * (0.2 + 0.8 * 12.0 / 52.0), 1e-4);
    EXPECT_NEAR(*o.costoEscasez(), 78.0 - 76.923077, 1e-4);
    const plan::StockOutcome& fish = stockOf(o, kPescado);
    EXPECT_TRUE(fish.limitante);
    EXPECT_NEAR(fish.usado, 30.0, 1e-6);
    EXPECT_NEAR(*fish.sobrante, 0.0, 1e-6);
    // One more kg lets formula 2 swap soybean meal for it: 0.8 − 0.6·52/36 per unit of share.
    EXPECT_NEAR(fish.valorMarginal, 0.6 * 52.0 / 36.0 - 0.8, 1e-6);
    // The planned mix is written back for the formula's own batch, ready to be saved.
    EXPECT_NEAR(o.formulas[1].model.totals.costoUnitarioHumeda, 0.395385, 1e-5);
}

TEST_F(PlanTest, StocksThatFallShortAreNamedWithTheLimitsThatNeedThem) {
    const plan::PlanOutcome o = plan::runPlan(db.conn(), planWithFish(10.0), QLatin1Char('.'));
    ASSERT_EQ(o.end, PlanEnd::CannotBeMet);
    ASSERT_TRUE(o.diagnosis);
    QStringList captions;
    for (const plan::PlanLimit& limit : o.diagnosis->conflict)
        captions << plan::planLimitCaption(limit, QLatin1Char('.'));
    EXPECT_TRUE(captions.contains("Existencia de Harina de pescado 10.00"))
        << captions.join(" | ").toStdString();
    EXPECT_TRUE(captions.contains("Fórmula 1: Mínimo para Proteína 20.00 %"))
        << captions.join(" | ").toStdString();
    EXPECT_FALSE(captions.join(' ').contains("Fórmula 2")); // it can do without fish meal
    ASSERT_EQ(o.diagnosis->relaxation.size(), 1u);
    EXPECT_EQ(plan::planLimitNewValue(o.diagnosis->relaxation[0], QLatin1Char('.')), "23.08");
    ASSERT_TRUE(o.diagnosis->costo);
    EXPECT_GT(*o.diagnosis->costo, 78.0);
    // A stock of 0 is a limit too, not "without limit".
    const plan::PlanOutcome none = plan::runPlan(db.conn(), planWithFish(0.0), QLatin1Char('.'));
    EXPECT_EQ(none.end, PlanEnd::CannotBeMet);
}

TEST_F(PlanTest, EntriesAreCheckedAndDeletedItemsNamed) {
    Plan p = planWithFish(30.0);
    Plan twice = p;
    twice.formulas.push_back(twice.formulas.front());
    EXPECT_TRUE(plan::planProblem(twice).contains("ya está en el plan"));
    EXPECT_THROW(plan::savePlan(db.conn(), twice), db::DbError);
    for (double bad : {-1.0, 0.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        Plan q = p;
        q.formulas[0].cantidad = bad;
        EXPECT_FALSE(plan::planProblem(q).isEmpty()) << bad;
        q = p;
        q.existencias[0].existencia = bad;
        EXPECT_EQ(plan::planProblem(q).isEmpty(), bad == 0.0) << bad;
    }
    // Saved and read back whole; a blank stock is no row.
    EXPECT_EQ(plan::listPlans(db.conn(), 1).size(), 1u);
    EXPECT_EQ(db.conn().query("select count(*) from plan_existencia").value(0, 0).toInt(), 1);

    db.conn().execute("delete from formulas where id_formula=2");
    const Plan gone = *plan::loadPlan(db.conn(), p.idPlan);
    EXPECT_TRUE(gone.formulas[1].gone);
    const plan::PlanOutcome o = plan::runPlan(db.conn(), gone, QLatin1Char('.'));
    EXPECT_EQ(o.end, PlanEnd::StoppedAtCheck);
    EXPECT_TRUE(o.mensajes.join('\n').contains("La fórmula 2 del plan ya no existe"));

    plan::deletePlan(db.conn(), p.idPlan);
    EXPECT_FALSE(plan::loadPlan(db.conn(), p.idPlan));
    EXPECT_EQ(db.conn().query("select count(*) from plan_formula").value(0, 0).toInt(), 0);
}

// Two workstations on one plan: the second save is refused and nothing of it is written; every
// change is recorded.
TEST_F(PlanTest, ASaveNeverOverwritesAChangeItDidNotSee) {
    Plan mine = planWithFish(30.0);
    auto other = db.openAnother();
    Plan theirs = *plan::loadPlan(*other, mine.idPlan);
    mine.existencias[0].existencia = 40.0;
    plan::savePlan(db.conn(), mine);
    theirs.nombre = QStringLiteral("Semana 51");
    try {
        plan::savePlan(*other, theirs);
        FAIL() << "the second save was not refused";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.failure(), db::DbFailure::Changed);
    }
    const Plan stored = *plan::loadPlan(db.conn(), mine.idPlan);
    EXPECT_EQ(stored.nombre, "Semana 50");
    EXPECT_EQ(stored.existencias[0].existencia, 40.0);
    EXPECT_EQ(stored.modificado, mine.modificado);

    const db::Result record = db.conn().query(
        "select accion, detalle from auditoria where tabla='planes' order by id desc");
    ASSERT_EQ(record.rowCount(), 2);
    EXPECT_EQ(record.value(0, 0).toString(), "modificación");
    EXPECT_EQ(record.value(0, 1).toString(),
              "fórmulas 1=100,2=100, existencias 2=30 → fórmulas 1=100,2=100, existencias 2=40");
    EXPECT_EQ(record.value(1, 0).toString(), "alta");

    plan::deletePlan(*other, mine.idPlan);
    EXPECT_THROW(plan::savePlan(db.conn(), mine), db::DbError);
    EXPECT_FALSE(plan::loadPlan(db.conn(), mine.idPlan));
}

TEST_F(PlanTest, VersionsOfTheWholePlanAreSavedTogether) {
    const plan::PlanOutcome o = plan::runPlan(db.conn(), planWithFish(30.0), QLatin1Char('.'));
    ASSERT_EQ(o.end, PlanEnd::Found);
    const plan::PlanVersionsSaved saved =
        plan::savePlanVersions(db.conn(), o, 1, QDate(2026, 12, 8));
    ASSERT_TRUE(saved.saved) << saved.motivo.toStdString();
    ASSERT_EQ(saved.idFormulasNuevas.size(), 2u);
    const db::Result fish = db.conn().query(
        QStringLiteral("select cantidad_humeda from formula_producto where id_producto=2 and "
                       "id_formula=%1")
            .arg(saved.idFormulasNuevas[1]));
    EXPECT_NEAR(fish.value(0, 0).toDouble(), 30 - 100 * 12.0 / 52.0, 1e-3);

    // A plan that was not found saves nothing.
    const plan::PlanOutcome short_ = plan::runPlan(db.conn(), planWithFish(1.0), QLatin1Char('.'));
    const int before = db.conn().query("select count(*) from formulas").value(0, 0).toInt();
    EXPECT_FALSE(plan::savePlanVersions(db.conn(), short_, 1, QDate(2026, 12, 8)).saved);
    EXPECT_EQ(db.conn().query("select count(*) from formulas").value(0, 0).toInt(), before);
}

} // namespace
} // namespace tarvela::test
