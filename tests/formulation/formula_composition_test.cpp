#include "support/small_catalog.h"
#include "support/test_database.h"

#include "db/statements.h"
#include "formulation/formula_composition.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvela::test {
namespace {

using formulation::FormulaComposition;

double number(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}

// The composition of every ingredient of the model in every nutrient, read both ways: one
// statement per nutrient, the ingredient's row searched from the first row, as the catalog's
// look-ups are quoted, and the one narrowed read. Both must give the same rows, value for value.
void expectSameAsQuotedStatements(db::Connection& conn, const formulation::WorkingModel& model) {
    const FormulaComposition composition(conn, model.rsPropiedades, model.ingredients);
    int found = 0;
    for (const formulation::NutrientRow& n : model.rsPropiedades) {
        const db::Result joined = conn.query(
            QStringLiteral("select pp.*,p.materia_seca from producto_propiedad pp, productos p "
                           "where pp.id_producto=p.id_producto and id_propiedad=") +
            db::sqlInt(n.id_propiedad));
        const db::Result plain =
            conn.query(QStringLiteral("select * from producto_propiedad where id_propiedad=") +
                       db::sqlInt(n.id_propiedad));
        for (const formulation::IngredientRow& ing : model.ingredients) {
            SCOPED_TRACE(QStringLiteral("nutrient %1 ingredient %2")
                             .arg(n.id_propiedad)
                             .arg(ing.id_producto)
                             .toStdString());
            const int r = joined.find(QStringLiteral("id_producto"), ing.id_producto);
            const formulation::CatalogContent* c =
                composition.find(n.id_propiedad, ing.id_producto);
            ASSERT_EQ(c != nullptr, r >= 0);
            if (c) {
                ++found;
                EXPECT_EQ(c->valor, number(joined.value(r, QStringLiteral("valor"))));
                EXPECT_TRUE(composition.listsIngredient(ing.id_producto));
            }
            const int q = plain.find(QStringLiteral("id_producto"), ing.id_producto);
            EXPECT_EQ(composition.content(n.id_propiedad, ing.id_producto),
                      q >= 0 ? number(plain.value(q, QStringLiteral("valor"))) : 0.0);
        }
    }
    EXPECT_GT(found, 0);
}

TEST(FormulaComposition, DemoFormulasReadAsTheQuotedStatementsDo) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const db::Result ids = tdb.conn().query(QStringLiteral("select id_formula from formulas"));
    ASSERT_GT(ids.rowCount(), 0);
    for (int r = 0; r < ids.rowCount(); ++r) {
        RecordingHost host;
        expectSameAsQuotedStatements(tdb.conn(),
                                     loadFormula(tdb.conn(), ids.value(r, 0).toInt(), host.desk));
    }
}

// A generated catalog with gaps: pairs without a row, contents and dry matters left null, a
// nutrient no ingredient holds, and an ingredient whose catalog row is gone while its
// composition rows remain.
TEST(FormulaComposition, GeneratedCatalogReadsAsTheQuotedStatementsDo) {
    TestDatabase tdb;
    db::Connection& conn = tdb.conn();
    SmallCatalog catalog(conn);
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr int kIngredients = 120;
    constexpr int kNutrients = 30;
    db::Transaction tx(conn);
    for (int n = 1; n <= kNutrients; ++n)
        catalog.nutrient(n, QStringLiteral("Nutriente %1").arg(n));
    for (int i = 1; i <= kIngredients; ++i) {
        catalog.ingredient(i, QStringLiteral("Ingrediente %1").arg(i), 0.1 + unit(rng),
                           20 + 70 * unit(rng));
        for (int n = 1; n < kNutrients; ++n) {
            const double u = unit(rng);
            if (u < 0.2)
                continue;
            if (u < 0.23)
                conn.execute(QStringLiteral("insert into producto_propiedad (id_producto,"
                                            "id_propiedad,valor) values (%1,%2,null)")
                                 .arg(i)
                                 .arg(n));
            else
                catalog.content(i, n, 100 * unit(rng) * unit(rng));
        }
    }
    conn.execute(QStringLiteral("update productos set materia_seca=null where id_producto=7"));
    conn.execute(QStringLiteral("delete from productos where id_producto=11"));
    tx.commit();

    formulation::WorkingModel model;
    for (int n = 2; n <= kNutrients; n += 2) {
        formulation::NutrientRow row;
        row.id_propiedad = n;
        model.rsPropiedades.push_back(row);
    }
    for (int i = 3; i <= kIngredients; i += 4) {
        formulation::IngredientRow row;
        row.id_producto = i;
        model.ingredients.push_back(row);
    }
    expectSameAsQuotedStatements(conn, model);
}

} // namespace
} // namespace tarvela::test
