#include "glpk_reference.h"
#include "small_catalog.h"
#include "support/test_database.h"

#include "formulation/run.h"
#include "formulation/stated_problem.h"
#include "reports/composition.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

// Every demo formula, run as the window runs it with a batch of 1000, reaches GLPK's optimum of
// the same programme and the cost stored with the formula.
TEST(DemoFormulas, SolveToTheReferenceOptimumAndTheStoredCost) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const db::Result ids = tdb.conn().query(QStringLiteral("select id_formula from formulas"));
    ASSERT_EQ(ids.rowCount(), 6);
    for (int r = 0; r < ids.rowCount(); ++r) {
        const int id = ids.value(r, 0).toInt();
        SCOPED_TRACE(id);
        RecordingHost host;
        formulation::WorkingModel model = loadFormula(tdb.conn(), id, host.desk);
        const double storedCost = model.vCostoHumeda;

        formulation::WorkingModel copy = model;
        const auto reference = solveWithGlpk(formulation::statedProblem(copy, 1000, tdb.conn()));
        ASSERT_TRUE(reference.has_value());

        const auto result = formulation::formulate(model, QStringLiteral("1000"), tdb.conn(), host,
                                                   QLatin1Char('.'));
        ASSERT_EQ(result.end, formulation::RunEnd::WrittenBack);
        EXPECT_EQ(result.outcome, simplex::Outcome::Optimal);
        EXPECT_TRUE(host.desk.messages.empty());
        const double unitCost =
            model.vSecaIng ? model.totals.costoUnitarioSeca : model.totals.costoUnitarioHumeda;
        EXPECT_NEAR(unitCost, reference->unitCost, 1e-9 * reference->unitCost);
        EXPECT_NEAR(model.vCostoHumeda, storedCost, 5e-5);
        EXPECT_FALSE(model.rsAnalisis.empty());
        EXPECT_FALSE(model.totalsTexts.porHOutOfRange);
        EXPECT_FALSE(model.totalsTexts.porSOutOfRange);

        // The composition's totals row shows each nutrient's value exactly.
        const auto table = reports::buildComposition(model, tdb.conn());
        ASSERT_TRUE(table.has_value());
        ASSERT_EQ(table->rows.size(), model.ingredients.size());
        for (size_t k = 0; k < model.ingredients.size(); ++k)
            EXPECT_EQ(*table->rows[k].id_producto, model.ingredients[k].id_producto);
        for (size_t c = 0; c < model.rsPropiedades.size(); ++c) {
            EXPECT_EQ(table->nutrientFields[static_cast<qsizetype>(c)],
                      QString::number(model.rsPropiedades[c].id_propiedad));
            EXPECT_EQ(*table->totals.aportes[c], *model.rsPropiedades[c].valor);
        }
        EXPECT_NEAR(table->totals.porcentaje_humeda, 1.0, 1e-7);
    }
}

TEST(Composition, ContributionsHeadingsAndEmptyCells) {
    TestDatabase tdb;
    SmallCatalog cat(tdb.conn());
    cat.ingredient(1, QStringLiteral("A"), 0.2, 90);
    cat.ingredient(2, QStringLiteral("B"), 0.3, 50);
    cat.nutrient(7, QStringLiteral("Proteína"));
    cat.nutrient(8, QStringLiteral("Calcio"));
    cat.content(1, 7, 10);
    cat.content(1, 8, 1);
    cat.content(2, 8, 3);
    formulation::WorkingModel model;
    model.vSecaIng = false;
    model.vSecaNut = false;
    for (int id : {2, 1}) {
        formulation::IngredientRow r;
        r.id_producto = id;
        r.nombre = id == 1 ? QStringLiteral("A") : QStringLiteral("B");
        r.porcentaje_humeda = 0.5;
        r.cantidad_humeda = 50;
        model.ingredients.push_back(r);
    }
    for (int id : {8, 7}) {
        formulation::NutrientRow n;
        n.id_propiedad = id;
        model.rsPropiedades.push_back(n);
    }

    const auto table = reports::buildComposition(model, tdb.conn());
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->nutrientFields, (QStringList{"8", "7"}));
    EXPECT_EQ(reports::compositionHeadings(*table, tdb.conn()),
              (QStringList{"Calcio", "Proteína"}));
    ASSERT_EQ(table->rows.size(), 2u);
    const auto& b = table->rows[0];
    const auto& a = table->rows[1];
    EXPECT_EQ(*b.id_producto, 2);
    EXPECT_DOUBLE_EQ(*a.aportes[1], 4.5);   // 10 x 0.90 x 0.5
    EXPECT_FALSE(b.aportes[1].has_value()); // no composition row
    EXPECT_DOUBLE_EQ(*b.aportes[0], 0.75);
    EXPECT_DOUBLE_EQ(*table->totals.aportes[0], 0.45 + 0.75);
    EXPECT_FALSE(table->totals.id_producto.has_value());
    EXPECT_DOUBLE_EQ(table->totals.cantidad_humeda, 100);

    model.rsPropiedades.clear();
    EXPECT_FALSE(reports::buildComposition(model, tdb.conn()).has_value());
}

} // namespace
} // namespace tarvela::test
