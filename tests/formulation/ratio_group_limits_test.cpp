// Ratio limits between two nutrients and limits on groups of ingredients, through the run as the
// window runs it: met (and priced) in the mix, checked before the run, saved and loaded with a
// version, compared, and named by the diagnosis.
#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulas/comparison.h"
#include "formulation/formula_diagnosis.h"
#include "formulation/grid_cells.h"
#include "formulation/loading.h"
#include "formulation/run.h"
#include "formulation/save_details.h"
#include "formulation/workspace_editing.h"
#include "reports/formula_report.h"

#include "db/statements.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvela::test {
namespace {

using formulation::AnalysisKind;
using formulation::WorkingModel;

// Maíz, Sorgo, Soja, Carbonato and Fosfato with protein, calcium and phosphorus (dry matter);
// formula 1 on dry matter, batch 1000: protein at least 16, calcium at least 0.8, Ca : P between
// 1.5 and 2.0, the cereals (Maíz and Sorgo) at most 600.
class RatioGroupLimits : public ::testing::Test {
protected:
    void SetUp() override {
        SmallCatalog cat(tdb.conn());
        const struct {
            int id;
            const char* nombre;
            double costo, ms, prot, ca, p;
        } ingredients[] = {{1, "Maíz", 0.20, 88, 9, 0.03, 0.28},
                           {2, "Sorgo", 0.17, 89, 10, 0.04, 0.30},
                           {3, "Soja", 0.42, 89, 46, 0.30, 0.65},
                           {4, "Carbonato", 0.06, 99.5, 0, 38, 0},
                           {5, "Fosfato", 0.85, 97, 0, 24, 18}};
        cat.nutrient(1, QStringLiteral("Proteína"));
        cat.nutrient(2, QStringLiteral("Calcio"));
        cat.nutrient(3, QStringLiteral("Fósforo"));
        cat.nutrient(4, QStringLiteral("Cobre"));
        cat.formula(1, 1000, true, true);
        for (const auto& i : ingredients) {
            cat.ingredient(i.id, QString::fromUtf8(i.nombre), i.costo, i.ms);
            cat.content(i.id, 1, i.prot);
            cat.content(i.id, 2, i.ca);
            cat.content(i.id, 3, i.p);
            cat.content(i.id, 4, 0);
            cat.formulaIngredient(1, i.id, std::nullopt, std::nullopt);
        }
        cat.formulaNutrient(1, 1, 16.0, std::nullopt);
        cat.formulaNutrient(1, 2, 0.8, std::nullopt);
        db::Connection& c = tdb.conn();
        c.execute(
            QStringLiteral("insert into grupos (id_grupo,nombre,idBase) values (1,'Cereales',1)"));
        c.execute(QStringLiteral("insert into grupo_producto values (1,1),(1,2)"));
        c.execute(QStringLiteral("insert into formula_grupo values (1,1,null,600,null)"));
        c.execute(QStringLiteral("insert into formula_relacion values (1,2,3,1.5,2,null)"));
        model = loadFormula(c, 1, host.desk);
    }

    formulation::RunResult run() {
        host.desk.clear();
        return host.run(model, QStringLiteral("1000"), tdb.conn(), QLatin1Char('.'));
    }

    TestDatabase tdb;
    RecordingHost host;
    WorkingModel model;
};

TEST_F(RatioGroupLimits, TheRunMeetsAndPricesBoth) {
    ASSERT_EQ(model.relaciones.size(), 1u);
    ASSERT_EQ(model.grupos.size(), 1u);
    EXPECT_EQ(formulation::ratioCaption(model.relaciones[0]),
              QStringLiteral("Relación Calcio / Fósforo"));
    EXPECT_EQ(formulation::groupCaption(model.grupos[0]), QStringLiteral("Grupo Cereales"));
    EXPECT_EQ(model.grupos[0].miembros, (std::vector<int>{1, 2}));

    ASSERT_TRUE(formulation::mixMeetsLimits(run()));
    EXPECT_TRUE(host.desk.messages.empty());
    // Both bind: the cereals would take more of the batch, the calcium carbonate more of the
    // ratio.
    EXPECT_NEAR(*model.grupos[0].valor, 600, 1e-6);
    EXPECT_NEAR(*model.relaciones[0].valor, 2.0, 1e-9);
    double cereals = 0;
    for (const auto& row : model.ingredients)
        if (row.id_producto <= 2)
            cereals += *row.cantidad_seca;
    EXPECT_NEAR(cereals, *model.grupos[0].valor, 1e-9);
    const auto* calcio = model.findNutrient(2);
    ASSERT_NE(calcio, nullptr);

    std::map<AnalysisKind, QString> records;
    for (const auto& rec : model.rsAnalisis)
        records[rec.kind] = rec.detalle;
    EXPECT_EQ(records[AnalysisKind::RatioLimit],
              QStringLiteral("Máximo para Relación Calcio / Fósforo"));
    EXPECT_EQ(records[AnalysisKind::GroupLimit], QStringLiteral("Máximo para Grupo Cereales"));
}

TEST_F(RatioGroupLimits, ChecksBeforeTheRun) {
    const auto refused = [&](const QString& message) {
        const auto result = run();
        EXPECT_EQ(result.end, formulation::RunEnd::StoppedAtCheck);
        return host.desk.messages.size() == 1 && host.desk.messages[0].text == message;
    };
    WorkingModel loaded = model;
    model.relaciones[0].minimo.reset();
    model.relaciones[0].maximo.reset();
    EXPECT_TRUE(refused(QStringLiteral(
        "Debe ingresar un valor mínimo o máximo para la relación <Calcio / Fósforo>")));
    model = loaded;
    model.relaciones[0].minimo = 2.0;
    EXPECT_TRUE(refused(
        QStringLiteral("El valor máximo debe ser mayor al mínimo para la relación <Calcio / "
                       "Fósforo>")));
    model = loaded;
    model.grupos[0].minimo = 700;
    EXPECT_TRUE(refused(QStringLiteral(
        "El valor máximo debe ser mayor o igual al mínimo para el grupo <Cereales>")));
    model = loaded;
    model.grupos[0].miembros = {99};
    EXPECT_TRUE(
        refused(QStringLiteral("Ninguno de los ingredientes del grupo <Cereales> está en la "
                               "fórmula")));
    model = loaded;
    model.relaciones[0].id_den = 4;
    model.relaciones[0].nombreDen = QStringLiteral("Cobre");
    EXPECT_TRUE(refused(QStringLiteral("El nutriente <Cobre> es cero en todos los ingredientes "
                                       "de la fórmula: no es posible formular la relación "
                                       "<Calcio / Cobre>")));
    // Without a run the ratio has no value while its denominator is 0 in the mix: a dash.
    formulation::actuResultados(model, tdb.conn(), QLatin1Char('.'));
    EXPECT_FALSE(model.relaciones[0].valor.has_value());
    const reports::FormulaReport report{model, false, QDate(2026, 12, 8)};
    const auto lines = report.ratioAndGroupLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(report.lineValue(lines[0]), QStringLiteral("—"));
}

// Saved with a new version, the limits and values come back with it and the earlier version
// keeps its own; the comparison lines them up.
TEST_F(RatioGroupLimits, SavedWithTheVersionLoadedAndCompared) {
    ASSERT_TRUE(formulation::mixMeetsLimits(run()));
    db::Connection& c = tdb.conn();
    c.execute(QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                             "tipoBase,tipoBaseNutrientes,idBase,idCliente) select 2,codigo,"
                             "producto,cantidad,2,tipoBase,tipoBaseNutrientes,idBase,idCliente "
                             "from formulas where id_formula=1"));
    model.formulaId = 2;
    model.relaciones[0].minimo = 1.6;
    {
        db::Transaction transaction(c);
        formulation::saveDetails(model, c);
        transaction.commit();
    }
    const WorkingModel saved = loadFormula(c, 2, host.desk);
    ASSERT_EQ(saved.relaciones.size(), 1u);
    EXPECT_EQ(saved.relaciones[0].minimo, 1.6);
    EXPECT_EQ(saved.relaciones[0].maximo, 2.0);
    EXPECT_EQ(saved.relaciones[0].valorAnterior, model.relaciones[0].valor);
    ASSERT_EQ(saved.grupos.size(), 1u);
    EXPECT_EQ(saved.grupos[0].maximo, 600.0);
    EXPECT_EQ(saved.grupos[0].valorAnterior, model.grupos[0].valor);
    EXPECT_EQ(loadFormula(c, 1, host.desk).relaciones[0].minimo, 1.5);

    const formulas::Comparison comparison =
        formulas::buildComparison(c, {{1, "1", "Prueba", "1", {}}, {2, "1", "Prueba", "2", {}}});
    ASSERT_EQ(comparison.limits.size(), 2u);
    EXPECT_EQ(comparison.limits[0].nombre, QStringLiteral("Relación Calcio / Fósforo"));
    EXPECT_EQ(comparison.limits[1].nombre, QStringLiteral("Grupo Cereales"));
    EXPECT_FALSE((*comparison.limits[1].figures[0])[0].has_value()) << "version 1 was never run";
    EXPECT_NEAR(*(*comparison.limits[1].figures[1])[0], 600, 1e-6);
}

// A ratio beyond what any ingredient gives is named by the diagnosis, with the value it can
// take, and the proposal lets the run meet it.
TEST_F(RatioGroupLimits, DiagnosisNamesARatio) {
    model.relaciones[0].minimo = 200;
    model.relaciones[0].maximo = 300;
    EXPECT_TRUE(run().limitsConflict);
    const formulation::FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
    ASSERT_EQ(d.conflicts.size(), 1u);
    bool named = false;
    for (const auto& limit : d.conflicts[0])
        if (limit.kind == simplex::LimitKind::Ratio) {
            named = true;
            EXPECT_EQ(limit.id, 2);
            EXPECT_EQ(limit.idDen, 3);
            EXPECT_EQ(formulation::limitCaption(limit, QLatin1Char('.')),
                      QStringLiteral("Mínimo para Relación Calcio / Fósforo 200.00"));
        }
    EXPECT_TRUE(named);
    formulation::applyRelaxation(model, d);
    EXPECT_TRUE(formulation::mixMeetsLimits(run()));
}

// On an as-fed formula a group's value is its members' quantities as fed; equal limits are met
// within their widening; a group minimum in conflict is what the proposal moves (down, to what
// the grid shows), after which the run meets its limits.
TEST_F(RatioGroupLimits, GroupsAsFedEqualLimitsAndTheProposal) {
    model.vSecaIng = false;
    ASSERT_TRUE(formulation::mixMeetsLimits(run()));
    double asFed = 0;
    for (const auto& row : model.ingredients)
        if (row.id_producto <= 2)
            asFed += *row.cantidad_humeda;
    EXPECT_GT(asFed, 100);
    EXPECT_NEAR(*model.grupos[0].valor, asFed, 1e-9);
    EXPECT_LE(asFed, 600 + 1e-6);

    model.grupos[0].minimo = 450;
    model.grupos[0].maximo = 450;
    ASSERT_TRUE(formulation::mixMeetsLimits(run()));
    EXPECT_NEAR(*model.grupos[0].valor, 450, 0.001 + 1e-9);

    // The cereals cannot be 95 % of a mix with 16 % protein.
    model.grupos[0].minimo = 950;
    model.grupos[0].maximo.reset();
    EXPECT_TRUE(run().limitsConflict);
    const formulation::FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
    ASSERT_EQ(d.relaxation.size(), 1u);
    const formulation::DiagnosedLimit& moved = d.relaxation[0];
    EXPECT_EQ(moved.kind, simplex::LimitKind::Group);
    EXPECT_EQ(moved.side, simplex::LimitSide::Minimum);
    ASSERT_TRUE(moved.nuevoValor);
    EXPECT_LT(*moved.nuevoValor, 950);
    formulation::applyRelaxation(model, d);
    EXPECT_EQ(model.grupos[0].minimo, moved.nuevoValor);
    EXPECT_FALSE(model.grupos[0].maximo);
    // Stored as the grid shows it, with three decimals.
    EXPECT_EQ(std::round(*model.grupos[0].minimo * 1000) / 1000, *model.grupos[0].minimo);
    EXPECT_TRUE(formulation::mixMeetsLimits(run()));
}

// Typed over the third grid: the nutrient limits' rules, and what the run would refuse is
// refused at entry; the grid shows a broken limit red and a ratio without a value as a dash.
TEST_F(RatioGroupLimits, EditedAddedAndPaintedInTheThirdGrid) {
    using formulation::EditOutcome;
    EXPECT_EQ(formulation::editRatioLimit(model, 2, 3, "minimo", "-1").outcome,
              EditOutcome::Refused);
    EXPECT_EQ(formulation::editRatioLimit(model, 2, 3, "minimo", "2,5").outcome,
              EditOutcome::Refused);
    EXPECT_EQ(formulation::editRatioLimit(model, 2, 3, "minimo", "abc").outcome,
              EditOutcome::Refused);
    EXPECT_EQ(formulation::editRatioLimit(model, 2, 3, "minimo", "1.756").outcome,
              EditOutcome::Stored);
    EXPECT_EQ(model.relaciones[0].minimo, 1.76);
    EXPECT_EQ(formulation::editGroupLimit(model, 1, "maximo", "1000.5").message,
              QStringLiteral("El valor no puede ser mayor a la cantidad a elaborar"));
    EXPECT_EQ(formulation::editGroupLimit(model, 1, "minimo", "").outcome, EditOutcome::Stored);
    EXPECT_FALSE(model.grupos[0].minimo.has_value());

    EXPECT_FALSE(formulation::addRatio(model, 2, "Calcio", 2, "Calcio").added);
    EXPECT_FALSE(formulation::addRatio(model, 2, "Calcio", 3, "Fósforo").added);
    EXPECT_TRUE(formulation::addRatio(model, 1, "Proteína", 4, "Cobre").added);
    EXPECT_FALSE(formulation::addGroup(model, tdb.conn(), 1).added);

    formulation::actuResultados(model, tdb.conn(), QLatin1Char('.'));
    const grid::GridPaint paint = formulation::paintFlexRel(model, QLatin1Char(','));
    ASSERT_EQ(paint.rows.size(), 4u);
    EXPECT_EQ(paint.cell(3, 1).text, QStringLiteral("Grupo Cereales"));
    EXPECT_EQ(paint.cell(2, 1).text, QStringLiteral("Relación Proteína / Cobre"));
    EXPECT_EQ(paint.cell(2, 6).text, QStringLiteral("—"));
    EXPECT_EQ(paint.cell(1, 3).text, QStringLiteral("1,76"));
    EXPECT_EQ(formulation::limitRowAt(model, 3).kind, formulation::LimitRowRef::Kind::Group);
    model.grupos[0].minimo = 100; // the mix as loaded holds none of the cereals
    formulation::actuResultados(model, tdb.conn(), QLatin1Char('.'));
    EXPECT_EQ(formulation::paintFlexRel(model, QLatin1Char('.')).cell(3, 6).background,
              grid::colors::outOfLimits);
    EXPECT_TRUE(formulation::removeRatio(model, 1, 4));
    EXPECT_TRUE(formulation::removeGroup(model, 1));
    EXPECT_FALSE(formulation::removeGroup(model, 1));
}

} // namespace
} // namespace tarvela::test
