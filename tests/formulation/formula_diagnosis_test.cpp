// The diagnosis of runs that find no mix within the formula's limits, through the run itself:
// hand-made conflicts, and infeasible variants of the demo formulas.
#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulation/diagnosis_grids.h"
#include "formulation/formula_diagnosis.h"
#include "formulation/run.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using formulation::FormulaDiagnosis;
using formulation::WorkingModel;

QStringList captions(const std::vector<formulation::DiagnosedLimit>& limits, bool withNew,
                     QChar sep = QLatin1Char('.')) {
    QStringList out;
    for (const auto& l : limits) {
        QString text = formulation::limitCaption(l, sep);
        if (withNew)
            text += QStringLiteral(" -> ") +
                    (l.nuevoValor ? formulation::limitValueText(l, *l.nuevoValor, sep)
                                  : QStringLiteral("-"));
        out << text;
    }
    return out;
}

// Maíz, Soja and Afrechillo with their crude protein (dry matter), on dry matter, batch 1000.
class DiagnosisRun : public ::testing::Test {
protected:
    void SetUp() override {
        SmallCatalog cat(tdb.conn());
        cat.ingredient(1, QStringLiteral("Maíz"), 0.20, 88);
        cat.ingredient(2, QStringLiteral("Soja"), 0.40, 89);
        cat.ingredient(3, QStringLiteral("Afrechillo"), 0.13, 89);
        cat.nutrient(1, QStringLiteral("Proteína Bruta"));
        cat.content(1, 1, 9);
        cat.content(2, 1, 46);
        cat.content(3, 1, 17);
        cat.formula(1, 1000, true, true);
        for (int id = 1; id <= 3; ++id)
            cat.formulaIngredient(1, id, std::nullopt, std::nullopt);
        cat.formulaNutrient(1, 1, 14.0, std::nullopt);
        model = loadFormula(tdb.conn(), 1, host.desk);
    }

    // Runs, diagnoses the conflict, applies the proposal and runs again.
    FormulaDiagnosis diagnoseAndApply() {
        const auto first = run();
        EXPECT_TRUE(first.limitsConflict);
        const FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
        EXPECT_FALSE(d.limitsMet);
        EXPECT_TRUE(d.costoUnitario.has_value());
        formulation::applyRelaxation(model, d);
        const auto second = run();
        EXPECT_TRUE(formulation::mixMeetsLimits(second));
        EXPECT_FALSE(second.limitsConflict);
        EXPECT_NEAR(model.vCostoHumeda, d.costoUnitario.value_or(0), 1e-9);
        return d;
    }

    formulation::RunResult run() {
        host.desk.clear();
        return host.run(model, QStringLiteral("1000"), tdb.conn());
    }

    TestDatabase tdb;
    RecordingHost host;
    WorkingModel model;
};

TEST_F(DiagnosisRun, IngredientMinimumsOverTheBatch) {
    model.findIngredient(1)->minimo = 400;
    model.findIngredient(2)->minimo = 700;
    const FormulaDiagnosis d = diagnoseAndApply();
    EXPECT_EQ(captions(d.conflicts.at(0), true),
              (QStringList{QStringLiteral("Mínimo para Maíz 400.000 -> 300.000"),
                           QStringLiteral("Mínimo para Soja 700.000 -> 600.000")}));
    EXPECT_EQ(captions(d.relaxation, true),
              QStringList{QStringLiteral("Mínimo para Soja 700.000 -> 600.000")});
    EXPECT_EQ(model.findIngredient(2)->minimo, 600.0);
    EXPECT_EQ(d.conflicts[0][1].kind, simplex::LimitKind::Ingredient);
    EXPECT_EQ(d.conflicts[0][1].id, 2);
    EXPECT_EQ(d.conflicts[0][1].side, simplex::LimitSide::Minimum);
}

TEST_F(DiagnosisRun, NutrientMinimumAboveTheRichestIngredient) {
    model.rsPropiedades[0].minimo = 50;
    const FormulaDiagnosis d = diagnoseAndApply();
    EXPECT_EQ(captions(d.conflicts.at(0), true),
              QStringList{QStringLiteral("Mínimo para Proteína Bruta 50.00 % -> 46.00 %")});
    EXPECT_EQ(d.conflicts[0][0].kind, simplex::LimitKind::Nutrient);
    EXPECT_EQ(d.conflicts[0][0].unidad, QStringLiteral("%"));
    EXPECT_EQ(captions(d.conflicts.at(0), false, QLatin1Char(',')),
              QStringList{QStringLiteral("Mínimo para Proteína Bruta 50,00 %")});
    EXPECT_EQ(model.rsPropiedades[0].minimo, 46.0);
}

TEST_F(DiagnosisRun, NutrientMaximumThatAnIngredientMinimumPushesOver) {
    // Soja at 40 % and Maíz at the rest give at least 23.8 % protein. Maíz's own minimum plays
    // no part: without it the mix is the same.
    model.findIngredient(1)->minimo = 300;
    model.findIngredient(2)->minimo = 400;
    model.rsPropiedades[0].maximo = 20;
    const FormulaDiagnosis d = diagnoseAndApply();
    EXPECT_EQ(captions(d.conflicts.at(0), true),
              (QStringList{QStringLiteral("Máximo para Proteína Bruta 20.00 % -> 23.80 %"),
                           QStringLiteral("Mínimo para Soja 400.000 -> 297.297")}));
}

TEST_F(DiagnosisRun, BatchBelowTheIngredientMinimums) {
    model.findIngredient(1)->minimo = 40;
    model.findIngredient(2)->minimo = 70;
    host.desk.clear();
    host.run(model, QStringLiteral("100"), tdb.conn());
    const FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
    ASSERT_EQ(d.conflicts.size(), 1u);
    ASSERT_EQ(d.conflicts[0].size(), 3u);
    EXPECT_EQ(formulation::limitCaption(d.conflicts[0][2], QLatin1Char('.')),
              QStringLiteral("Cantidad a elaborar 100.00"));
    EXPECT_EQ(d.conflicts[0][2].kind, simplex::LimitKind::Total);
    EXPECT_EQ(d.conflicts[0][2].nuevoValor, 110.0);
    // The proposal keeps the batch.
    for (const auto& l : d.relaxation)
        EXPECT_NE(l.kind, simplex::LimitKind::Total);
}

// Two independent conflicts: both are listed, each limit's needed value resolves its own
// conflict with the other set aside, and the proposal moves limits of the listed conflicts only.
TEST_F(DiagnosisRun, IndependentConflictsAreListedEachInItsGroup) {
    model.rsPropiedades[0].minimo = 50;
    model.findIngredient(1)->minimo = 400;
    model.findIngredient(2)->minimo = 700;
    run();
    const FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
    ASSERT_EQ(d.conflicts.size(), 2u);
    QStringList groups;
    for (const auto& group : d.conflicts)
        groups << captions(group, true).join(QStringLiteral("; "));
    groups.sort();
    EXPECT_EQ(groups,
              (QStringList{QStringLiteral("Mínimo para Maíz 400.000 -> 300.000; Mínimo "
                                          "para Soja 700.000 -> 600.000"),
                           QStringLiteral("Mínimo para Proteína Bruta 50.00 % -> 46.00 %")}));
    QStringList listed;
    for (const auto& group : d.conflicts)
        listed << captions(group, false);
    for (const QString& change : captions(d.relaxation, false))
        EXPECT_TRUE(listed.contains(change)) << change.toStdString();
    formulation::applyRelaxation(model, d);
    EXPECT_TRUE(formulation::mixMeetsLimits(run()));

    // The window's grid opens each group with its own row.
    const grid::GridPaint paint = formulation::conflictGrid(d, QLatin1Char('.'));
    ASSERT_EQ(paint.rows.size(), 6u);
    EXPECT_EQ(paint.cell(1, 0).text, QStringLiteral("Conflicto 1"));
    EXPECT_TRUE(paint.cell(1, 0).bold);
    EXPECT_EQ(paint.cell(1, 1).text, QString());
    EXPECT_EQ(paint.cell(1 + 1 + d.conflicts[0].size(), 0).text, QStringLiteral("Conflicto 2"));
}

// Each demo formula with one nutrient minimum pushed 25 % above the stored mix's value until the
// run fails: the diagnosis names a conflict, and its proposal lets the run find a mix.
TEST(DemoFormulaDiagnosis, InfeasibleVariantsGetAProposalThatRuns) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const db::Result ids = tdb.conn().query(QStringLiteral("select id_formula from formulas"));
    for (int r = 0; r < ids.rowCount(); ++r) {
        const int id = ids.value(r, 0).toInt();
        SCOPED_TRACE(id);
        RecordingHost host;
        bool diagnosed = false;
        const WorkingModel loaded = loadFormula(tdb.conn(), id, host.desk);
        for (size_t n = 0; n < loaded.rsPropiedades.size() && !diagnosed; ++n) {
            WorkingModel model = loaded;
            auto& nutrient = model.rsPropiedades[n];
            if (!nutrient.minimo || !nutrient.valor)
                continue;
            nutrient.minimo = *nutrient.valor * 1.25;
            if (nutrient.maximo && *nutrient.maximo <= *nutrient.minimo * 1.001)
                nutrient.maximo.reset();
            const auto first = host.run(model, QStringLiteral("1000"), tdb.conn());
            if (!first.limitsConflict)
                continue;
            diagnosed = true;
            const FormulaDiagnosis d = formulation::diagnoseFormula(model, tdb.conn());
            ASSERT_FALSE(d.conflicts.empty());
            ASSERT_FALSE(d.relaxation.empty());
            formulation::applyRelaxation(model, d);
            const auto second = host.run(model, QStringLiteral("1000"), tdb.conn());
            EXPECT_TRUE(formulation::mixMeetsLimits(second));
            EXPECT_NEAR(model.vCostoHumeda, *d.costoUnitario, 1e-9);
        }
        EXPECT_TRUE(diagnosed);
    }
}

} // namespace
} // namespace tarvela::test
