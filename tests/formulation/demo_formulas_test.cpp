#include "support/reference/glpk_reference.h"
#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulation/mix_share.h"
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

// The price signals of every demo formula, ratio and group rows among their limits: an
// ingredient in the mix has its "IA" record, one out of it (a zero share, however the tableau
// carries it) its "II" record, never a minimum it was not given. Its "Precio Oportuno" is where
// a re-run lets it in: a little below it enters, a little above it stays out.
TEST(DemoFormulas, IngredientsOutOfTheMixEnterAtTheirOpportunePrice) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const db::Result ids = tdb.conn().query(QStringLiteral("select id_formula from formulas"));
    int checked = 0;
    for (int r = 0; r < ids.rowCount(); ++r) {
        const int id = ids.value(r, 0).toInt();
        SCOPED_TRACE(id);
        RecordingHost host;
        const formulation::WorkingModel loaded = loadFormula(tdb.conn(), id, host.desk);
        formulation::WorkingModel model = loaded;
        ASSERT_TRUE(formulation::mixMeetsLimits(host.run(model, model.txtCantidad, tdb.conn())));
        const auto inMixAt = [&](int ingredient, double price) {
            formulation::WorkingModel again = loaded;
            formulation::IngredientRow* row = again.findIngredient(ingredient);
            row->costo_humeda = price;
            row->costo_seca = price / (*row->materia_seca / 100);
            RecordingHost quiet;
            quiet.run(again, again.txtCantidad, tdb.conn());
            return formulation::isInMix(*again.findIngredient(ingredient), again);
        };
        for (const formulation::AnalysisRecord& rec : model.rsAnalisis) {
            const formulation::IngredientRow* row = model.findIngredient(rec.itemId);
            if (rec.kind == formulation::AnalysisKind::IngredientInMix) {
                EXPECT_TRUE(formulation::isInMix(*row, model)) << rec.detalle.toStdString();
            } else if (rec.kind == formulation::AnalysisKind::IngredientLeftOut) {
                EXPECT_FALSE(formulation::isInMix(*row, model)) << rec.detalle.toStdString();
                if (!rec.valor3 || *rec.valor3 <= 0.01)
                    continue;
                EXPECT_TRUE(inMixAt(rec.itemId, *rec.valor3 * 0.99)) << rec.detalle.toStdString();
                EXPECT_FALSE(inMixAt(rec.itemId, *rec.valor3 * 1.01)) << rec.detalle.toStdString();
                ++checked;
            } else if (rec.kind == formulation::AnalysisKind::IngredientLimit && !rec.maximo) {
                EXPECT_TRUE(row && row->minimo && *row->minimo > 0) << rec.detalle.toStdString();
            }
        }
    }
    EXPECT_GT(checked, 20);
}

} // namespace
} // namespace tarvela::test
