#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulation/run.h"

#include <gtest/gtest.h>

#include <limits>

namespace tarvela::test {
namespace {

using formulation::RunEnd;
using formulation::WorkingModel;

const QString kCancelled = QStringLiteral("Se ha cancelado la Formulación");

// Two ingredients and one nutrient, on the wet basis: A (content 10, 90 % DM) and B (content 2).
class RunChecks : public ::testing::Test {
protected:
    void SetUp() override {
        SmallCatalog cat(tdb.conn());
        cat.ingredient(1, QStringLiteral("Maíz"), 0.20, 100);
        cat.ingredient(2, QStringLiteral("Harina d'avena"), 0.10, 100);
        cat.nutrient(1, QStringLiteral("Proteína"));
        cat.content(1, 1, 10);
        cat.content(2, 1, 2);
        cat.formula(1, 100, false, false);
        cat.formulaIngredient(1, 1, std::nullopt, std::nullopt);
        cat.formulaIngredient(1, 2, std::nullopt, std::nullopt);
        cat.formulaNutrient(1, 1, 5.0, std::nullopt);
        model = loadFormula(tdb.conn(), 1, host.desk);
        host.desk.clear();
    }

    formulation::RunResult run(const QString& cantidad) {
        return host.run(model, cantidad, tdb.conn());
    }

    QString onlyMessage() {
        EXPECT_EQ(host.desk.messages.size(), 1u);
        return host.desk.messages.empty() ? QString() : host.desk.messages.back().text;
    }

    TestDatabase tdb;
    RecordingHost host;
    WorkingModel model;
};

TEST_F(RunChecks, BatchQuantity) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case refused[] = {
        {"1000.01", "La cantidad a elaborar no puede ser mayor a 1000"},
        {"0", "La cantidad a elaborar debe ser mayor que cero"},
        {"-5", "La cantidad a elaborar debe ser mayor que cero"},
        {"diez", "La cantidad a elaborar debe ser numérica"},
        {"", "La cantidad a elaborar debe ser numérica"},
    };
    for (const Case& c : refused) {
        host.desk.clear();
        const auto r = run(QString::fromUtf8(c.text));
        EXPECT_EQ(r.end, RunEnd::StoppedAtCheck) << c.text;
        EXPECT_EQ(onlyMessage(), QString::fromUtf8(c.message)) << c.text;
        EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::Critical);
        EXPECT_FALSE(r.outcome.has_value());
    }
    EXPECT_EQ(host.focusCalls, 5);

    host.desk.clear();
    const auto r = run(QStringLiteral("1000"));
    EXPECT_EQ(r.end, RunEnd::WrittenBack);
    EXPECT_TRUE(host.desk.messages.empty());
    EXPECT_EQ(model.batchQuantity, 1000.0);
    EXPECT_EQ(model.txtCantidad, model.totalsTexts.txtCanH);
}

TEST_F(RunChecks, EmptyTablesAndBasisCombination) {
    auto nutrients = model.rsPropiedades;
    model.rsPropiedades.clear();
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(),
              QStringLiteral("Debe ingresar al menos una restricción para los Nutrientes"));
    model.rsPropiedades = nutrients;

    host.desk.clear();
    auto ingredients = model.ingredients;
    model.ingredients.clear();
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("Debe ingresar al menos un Ingrediente"));
    EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::Critical);
    model.ingredients = ingredients;

    host.desk.clear();
    model.vSecaIng = true;
    model.vSecaNut = false;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("No es posible formular nutrientes en húmeda e "
                                            "ingredientes en base seca"));
    EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::None);
}

TEST_F(RunChecks, NutrientLimits) {
    auto& n = model.rsPropiedades[0];
    n.nombre = QStringLiteral(" Proteína ");
    n.minimo.reset();
    run(QStringLiteral("100"));
    EXPECT_EQ(
        onlyMessage(),
        QStringLiteral("Debe ingresar un valor mínimo o máximo para la propiedad <Proteína>"));
    EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::None);
    EXPECT_TRUE(host.desk.messages.back().title.isEmpty());
    // The batch quantity is taken before the nutrient checks.
    EXPECT_EQ(model.txtCantidad, QStringLiteral("100.00"));

    host.desk.clear();
    n.minimo = 6;
    n.maximo = 6;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("El valor máximo debe ser mayor al mínimo para la "
                                            "propiedad <Proteína>"));

    host.desk.clear();
    n.minimo = 10;
    n.maximo = 10.0009;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(),
              QStringLiteral("El valor máximo debe ser mayor al mínimo en al menos el 0.01% para "
                             "la propiedad <Proteína>\n\n10.00    10.00\n10.00    10.00"));

    // Exactly 0.01 % apart is enough.
    host.desk.clear();
    n.maximo = 10.001;
    EXPECT_NE(run(QStringLiteral("100")).end, RunEnd::StoppedAtCheck);

    host.desk.clear();
    n.minimo = 0;
    n.maximo = 0.00001;
    EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::WrittenBack);
}

// A price missing from the formula would make its ingredient free: the run stops and names it,
// on either basis, before anything is changed.
TEST_F(RunChecks, MissingPriceStopsTheRun) {
    tdb.conn().execute(
        QStringLiteral("update formula_producto set costo=null where id_producto=2"));
    model = loadFormula(tdb.conn(), 1, host.desk);
    for (const bool dry : {false, true}) {
        host.desk.clear();
        model.vSecaIng = model.vSecaNut = dry;
        model.totalsTexts.txtCosH = QStringLiteral("$ 1.00");
        const auto r = run(QStringLiteral("100"));
        EXPECT_EQ(r.end, RunEnd::StoppedAtCheck);
        EXPECT_EQ(onlyMessage(),
                  QStringLiteral("Debe ingresar un precio para el ingrediente <Harina d'avena>"));
        EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::None);
        EXPECT_TRUE(host.desk.messages.back().title.isEmpty());
        EXPECT_EQ(model.totalsTexts.txtCosH, QStringLiteral("$ 1.00"));
    }
    // A price of 0 is a price.
    host.desk.clear();
    model.vSecaIng = model.vSecaNut = false;
    model.findIngredient(2)->costo_humeda = 0.0;
    model.findIngredient(2)->costo_seca = 0.0;
    EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::WrittenBack);
}

// Contents and nutrient limits beyond a feed table are refused before the run, never turned into
// a false "No es posible cumplir todas las restricciones"; a whole ingredient in PPM still solves.
TEST_F(RunChecks, MagnitudesBeyondAFeedTableAreRefused) {
    const QString range = QStringLiteral("> debe estar entre -1000000 y 1000000");
    tdb.conn().execute(
        QStringLiteral("update producto_propiedad set valor=1e15 where id_producto=2"));
    EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::StoppedAtCheck);
    EXPECT_EQ(onlyMessage(), QStringLiteral("El valor de la propiedad <Proteína> en el ingrediente "
                                            "<Harina d'avena") +
                                 range);
    EXPECT_TRUE(host.aportes.empty());

    host.desk.clear();
    model.rsPropiedades[0].maximo = 2e6;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("El valor máximo para la propiedad <Proteína") + range);

    host.desk.clear();
    tdb.conn().execute(
        QStringLiteral("update producto_propiedad set valor=1e6 where id_producto=2"));
    model.rsPropiedades[0].maximo = 10;
    const auto r = run(QStringLiteral("100"));
    EXPECT_EQ(r.outcome, simplex::Outcome::Optimal);
    EXPECT_TRUE(formulation::mixMeetsLimits(r));
    EXPECT_LE(*model.rsPropiedades[0].valor, 10 + 1e-6);
    EXPECT_GE(*model.rsPropiedades[0].valor, 5 - 1e-6);
}

TEST_F(RunChecks, IngredientSums) {
    auto& a = model.ingredients[0];
    auto& b = model.ingredients[1];
    a.minimo = 40;
    b.minimo = 70;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("La suma de los valores mínimos para los ingredientes "
                                            "es superior a la cantidad total a elaborar"));
    EXPECT_EQ(host.desk.messages.back().title, kCancelled);
    EXPECT_EQ(host.desk.messages.back().icon, MsgIcon::Critical);

    host.desk.clear();
    a.minimo.reset();
    b.minimo.reset();
    a.maximo = 30;
    b.maximo = 30;
    run(QStringLiteral("100"));
    EXPECT_EQ(onlyMessage(), QStringLiteral("La suma de los valores máximos para los ingredientes "
                                            "no alcanzan la cantidad total a elaborar"));
    EXPECT_EQ(host.desk.messages.back().title, kCancelled);

    // One ingredient without a maximum passes the maximum-sum test.
    host.desk.clear();
    b.maximo.reset();
    model.rsPropiedades[0].minimo = 4; // 10 x 0.3 + 2 x 0.7 = 4.4 at most
    EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::WrittenBack);
    EXPECT_EQ(host.desk.texts(), QStringList());
}

TEST_F(RunChecks, MinimumReachedOnlyByABlendIsNotRefused) {
    // Both at 50 % with content 10: each alone gives 5, the 50/50 blend gives 10.
    SmallCatalog cat(tdb.conn());
    tdb.conn().execute(QStringLiteral("update producto_propiedad set valor=10"));
    model.ingredients[0].maximo = 50;
    model.ingredients[1].maximo = 50;
    model.rsPropiedades[0].minimo = 8;
    const auto r = run(QStringLiteral("100"));
    EXPECT_EQ(r.end, RunEnd::WrittenBack);
    EXPECT_TRUE(host.aportes.empty());
    EXPECT_NEAR(*model.rsPropiedades[0].valor, 10.0, 1e-6);
}

TEST_F(RunChecks, UnreachableMinimumShowsTheContributions) {
    model.ingredients[0].maximo = 50;    // Maíz: content 10, at most half the batch
    model.rsPropiedades[0].minimo = 6.5; // the best blend gives 10 x 0.5 + 2 x 0.5 = 6
    model.totalsTexts.txtCosH = QStringLiteral("$ 1.00");
    const auto r = run(QStringLiteral("100"));
    EXPECT_EQ(r.end, RunEnd::Unreachable);
    EXPECT_TRUE(host.desk.messages.empty());
    ASSERT_EQ(host.aportes.size(), 1u);
    const auto& rep = host.aportes[0];
    EXPECT_EQ(rep.caption, QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para Proteína = 6.50"));
    EXPECT_EQ(rep.propertyName, QStringLiteral("Proteína"));
    EXPECT_DOUBLE_EQ(rep.maximoAlcanzable, 6.0);
    ASSERT_EQ(rep.rows.size(), 2u);
    // Rows in the table's order (display order of the loaded formula).
    for (const auto& row : rep.rows) {
        if (row.producto == QStringLiteral("Maíz")) {
            EXPECT_EQ(row.maximo, 50.0);
            EXPECT_DOUBLE_EQ(row.valor, 10.0);
            EXPECT_DOUBLE_EQ(row.aportemaximo, 5.0);
        } else {
            EXPECT_FALSE(row.maximo.has_value());
            EXPECT_DOUBLE_EQ(row.valor, 2.0);
            EXPECT_DOUBLE_EQ(row.aportemaximo, 2.0);
        }
    }
    // Nothing cleared: the run ended before the totals were emptied.
    EXPECT_EQ(model.totalsTexts.txtCosH, QStringLiteral("$ 1.00"));
    EXPECT_EQ(host.clearCalls, 0);
}

// The catalog's dry matter changed after the formula was saved (89 became 71): the run, the
// nutrient values it prints and the reachability test all use the formula's own dry matter, so
// the printed values are those the solver met.
TEST_F(RunChecks, OneDryMatterPerIngredientThroughoutTheRun) {
    SmallCatalog cat(tdb.conn());
    cat.formula(2, 100, false, false);
    cat.formulaIngredient(2, 1, std::nullopt, std::nullopt, 89.0);
    cat.formulaIngredient(2, 2, std::nullopt, std::nullopt, 89.0);
    cat.formulaNutrient(2, 1, 7.0, 7.2);
    tdb.conn().execute(QStringLiteral("update productos set materia_seca=71"));
    model = loadFormula(tdb.conn(), 2, host.desk);
    host.desk.clear();
    const auto r = run(QStringLiteral("100"));
    ASSERT_EQ(r.outcome, simplex::Outcome::Optimal);
    EXPECT_EQ(*model.findIngredient(1)->materia_seca, 89.0);
    // 7 <= (10 a + 2 (1 - a)) x 0.89 <= 7.2 at least cost: the minimum is met exactly.
    EXPECT_NEAR(*model.rsPropiedades[0].valor, 7.0, 1e-7);

    // A minimum only the formula's dry matter reaches (10 x 0.71 < 8.5 <= 10 x 0.89).
    host.desk.clear();
    model.rsPropiedades[0].minimo = 8.5;
    model.rsPropiedades[0].maximo.reset();
    EXPECT_EQ(run(QStringLiteral("100")).outcome, simplex::Outcome::Optimal);
    EXPECT_GE(*model.rsPropiedades[0].valor, 8.5 - 1e-7);
}

// Figures a run cannot use (not a number, infinite, overflowing, a dry matter outside 0 to 100)
// stop it with the ingredient and the field named; stored ones too.
TEST_F(RunChecks, FiguresThatAreNotUsableNumbersAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QString range = QStringLiteral("> debe estar entre -1000000 y 1000000");
    const QString dryMatter = QStringLiteral("La materia seca del ingrediente <Harina d'avena> "
                                             "debe ser mayor que 0 y no mayor que 100");
    const QString price = QStringLiteral("El precio del ingrediente <Harina d'avena") + range;
    const QString minimum = QStringLiteral("El mínimo del ingrediente <Harina d'avena") + range;
    const QString maximum = QStringLiteral("El máximo del ingrediente <Harina d'avena") + range;
    const struct {
        Opt formulation::IngredientRow::*field;
        double value;
        QString message;
    } cases[] = {
        {&formulation::IngredientRow::materia_seca, nan, dryMatter},
        {&formulation::IngredientRow::materia_seca, 100.5, dryMatter},
        {&formulation::IngredientRow::materia_seca, inf, dryMatter},
        {&formulation::IngredientRow::costo_humeda, nan, price},
        {&formulation::IngredientRow::costo_humeda, -inf, price},
        {&formulation::IngredientRow::costo_humeda, 1e300, price},
        {&formulation::IngredientRow::minimo, nan, minimum},
        {&formulation::IngredientRow::minimo, 1e300, minimum},
        {&formulation::IngredientRow::maximo, nan, maximum},
        {&formulation::IngredientRow::maximo, inf, maximum},
    };
    for (const auto& c : cases) {
        model = loadFormula(tdb.conn(), 1, host.desk);
        host.desk.clear();
        model.findIngredient(2)->*c.field = c.value;
        EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::StoppedAtCheck) << c.value;
        EXPECT_EQ(onlyMessage(), c.message) << c.value;
    }

    // Stored in the database: an overflowing price, a limit and a content held as text, an
    // infinite content, a nutrient limit that is not a number (the server writes infinity so).
    const bool server = TestDatabase::onServer();
    const struct {
        const char* statement;
        QString message;
    } stored[] = {
        {server ? "update formula_producto set costo='Infinity' where id_producto=2"
                : "update formula_producto set costo=9e999 where id_producto=2",
         price},
        {"update formula_producto set maximo='NaN' where id_producto=2", maximum},
        {server ? "update producto_propiedad set valor='-Infinity' where id_producto=2"
                : "update producto_propiedad set valor=-9e999 where id_producto=2",
         QStringLiteral("El valor de la propiedad <Proteína> en el ingrediente <Harina d'avena") +
             range},
        {"update formula_propiedad set maximo='NaN'",
         QStringLiteral("El valor máximo para la propiedad <Proteína") + range},
    };
    for (const auto& c : stored) {
        db::Transaction undone(tdb.conn()); // rolled back at the end of the case
        tdb.conn().execute(QString::fromUtf8(c.statement));
        model = loadFormula(tdb.conn(), 1, host.desk);
        host.desk.clear();
        EXPECT_EQ(run(QStringLiteral("100")).end, RunEnd::StoppedAtCheck) << c.statement;
        EXPECT_EQ(onlyMessage(), c.message) << c.statement;
    }
}

// A nutrient or an ingredient of the formula deleted from the catalog by another program: the
// run says which and stops, whether it was gone at loading or went after.
TEST_F(RunChecks, AFormulaNamingADeletedItemStops) {
    SmallCatalog cat(tdb.conn());
    cat.nutrient(2, QStringLiteral("Calcio"));
    cat.formulaNutrient(1, 2, 0.5, std::nullopt);
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"delete from propiedades where id_propiedad=2",
         "El nutriente 2 de la fórmula ya no existe en el catálogo"},
        {"delete from productos where id_producto=2",
         "El ingrediente 2 de la fórmula ya no existe en el catálogo"},
    };
    for (const auto& c : cases) {
        for (const bool afterLoading : {false, true}) {
            db::Transaction undone(tdb.conn());
            if (afterLoading)
                model = loadFormula(tdb.conn(), 1, host.desk);
            tdb.conn().execute(QString::fromUtf8(c.statement));
            if (!afterLoading)
                model = loadFormula(tdb.conn(), 1, host.desk);
            host.desk.clear();
            const auto r = run(QStringLiteral("100"));
            EXPECT_EQ(r.end, RunEnd::StoppedAtCheck) << c.statement << afterLoading;
            EXPECT_FALSE(formulation::mixMeetsLimits(r));
            EXPECT_EQ(onlyMessage(), QString::fromUtf8(c.message)) << afterLoading;
            EXPECT_EQ(host.desk.messages.back().title, kCancelled);
        }
    }
}

TEST_F(RunChecks, OptimumIsWrittenBackWithRecordsAndLabels) {
    const auto r = run(QStringLiteral("100"));
    ASSERT_EQ(r.end, RunEnd::WrittenBack);
    EXPECT_EQ(r.outcome, simplex::Outcome::Optimal);
    EXPECT_TRUE(formulation::mixMeetsLimits(r));
    EXPECT_EQ(host.clearCalls, 1);
    EXPECT_EQ(host.desk.busyDepth, 0);
    // 5 = 10 a + 2 (1 - a): a = 3/8.
    const auto* maiz = model.findIngredient(1);
    EXPECT_NEAR(*maiz->porcentaje_humeda, 0.375, 1e-7);
    EXPECT_NEAR(*maiz->cantidad_humeda, 37.5, 1e-5);
    EXPECT_EQ(model.ingredients[0].id_producto, 2); // display order: largest share first
    ASSERT_EQ(model.rowLabels.size(), 6u);
    EXPECT_EQ(model.rowLabels[1], QStringLiteral("Mínimo para Proteína"));
    EXPECT_EQ(model.rowLabels[2], QStringLiteral("Mínimo para Maíz"));
    EXPECT_EQ(model.rowLabels[4], QStringLiteral("Cantidad > 1.0000001"));
    EXPECT_EQ(model.rowLabels[5], QStringLiteral("Cantidad < 0.0000009"));
    EXPECT_FALSE(model.rsAnalisis.empty());
    EXPECT_EQ(model.rsAnalisis[0].kind, formulation::AnalysisKind::IngredientInMix);
}

TEST_F(RunChecks, InfeasibleMixIsWrittenBackWithoutRecords) {
    // A maximum below what the cheapest feasible blend needs: 7 <= value <= 7.0001 but B at 99.
    model.ingredients[1].minimo = 99;
    model.rsPropiedades[0].minimo = 5;
    const auto r = run(QStringLiteral("100"));
    EXPECT_EQ(r.end, RunEnd::WrittenBack);
    EXPECT_EQ(r.outcome, simplex::Outcome::Infeasible);
    EXPECT_FALSE(formulation::mixMeetsLimits(r));
    ASSERT_EQ(host.desk.messages.size(), 1u);
    EXPECT_EQ(host.desk.messages[0].text,
              QStringLiteral("No es posible cumplir todas las restricciones"));
    EXPECT_EQ(host.desk.messages[0].title, QStringLiteral("Se ha detenido la Formulación"));
    EXPECT_EQ(host.desk.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(model.rsAnalisis.empty());
}

} // namespace
} // namespace tarvela::test
