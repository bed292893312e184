#include "support/reference/glpk_reference.h"
#include "support/small_catalog.h"
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
    ASSERT_EQ(ids.rowCount(), 7);
    for (int r = 0; r < ids.rowCount(); ++r) {
        const int id = ids.value(r, 0).toInt();
        SCOPED_TRACE(id);
        RecordingHost host;
        formulation::WorkingModel model = loadFormula(tdb.conn(), id, host.desk);
        const double storedCost = model.vCostoHumeda;

        formulation::WorkingModel copy = model;
        const auto reference =
            solveProblemWithGlpk(formulation::statedProblem(copy, 1000, tdb.conn()));
        ASSERT_TRUE(reference.has_value());

        const auto result = host.run(model, QStringLiteral("1000"), tdb.conn());
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

} // namespace
} // namespace tarvela::test
