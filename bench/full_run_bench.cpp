// A full least-cost run (load, checks, solve, records, write-back, recompute; no painting) of a
// 60-ingredient x 40-nutrient formula over a catalog of 2,000 ingredients x 100 nutrients, with
// the share of the time spent outside the solver.
#include "bench_database.h"
#include "context/recording_desktop.h"
#include "db/connection.h"
#include "db/schema.h"
#include "db/statements.h"
#include "formulation/loading.h"
#include "formulation/run.h"
#include "generated_catalog.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace tarvela;
using bench::insertRows;

constexpr int kIngredients = 2000;
constexpr int kNutrients = 100;
constexpr int kFormulaIngredients = 60;
constexpr int kFormulaNutrients = 40;

struct Catalog {
    bench::BenchDatabase database;
    db::Connection* conn = &database.conn();
};

Catalog& catalog() {
    static Catalog* c = [] {
        auto* cat = new Catalog;
        db::Connection& conn = *cat->conn;
        db::createSchema(conn);
        std::mt19937 rng(20261207);

        db::Transaction tx(conn);
        const bench::GeneratedCatalog generated =
            bench::generateCatalog(conn, kIngredients, kNutrients, rng);
        const std::vector<double>& price = generated.price;
        const std::vector<double>& dry = generated.dry;
        const std::vector<std::vector<double>>& content = generated.content;

        // The formula: ingredients spread over the catalog, nutrient limits around the value of
        // the even blend (which is therefore feasible), ingredients on the as-fed basis.
        conn.execute(QStringLiteral(
            "insert into formulas (id_formula,codigo,producto,cantidad,version,fecha_creacion,"
            "fecha_modificacion,tipoBase,tipoBaseNutrientes,idBase,idCliente) values "
            "(1,'                   1','Banco de pruebas',1000,1,#12/07/2026#,null,1,1,1,0)"));
        std::vector<int> chosen;
        QStringList formulaProducts;
        for (int k = 0; k < kFormulaIngredients; ++k) {
            const int id = 1 + k * (kIngredients / kFormulaIngredients);
            chosen.push_back(id);
            const QString maximo = k % 3 == 0 ? QStringLiteral("null") : QStringLiteral("120");
            const QString minimo = k % 10 == 0 ? QStringLiteral("2") : QStringLiteral("null");
            formulaProducts << QStringLiteral("(1,%1,%2,%3,0,0,0,0,%4,%5)")
                                   .arg(id)
                                   .arg(minimo, maximo, db::sqlReal(dry[id]),
                                        db::sqlReal(price[id]));
        }
        insertRows(conn,
                   QStringLiteral("insert into formula_producto (id_formula,id_producto,minimo,"
                                  "maximo,cantidad_humeda,cantidad_seca,porcentaje_humeda,"
                                  "porcentaje_seca,materia_seca,costo) values "),
                   formulaProducts);
        QStringList formulaNutrients;
        for (int n = 1; n <= kFormulaNutrients; ++n) {
            const int id = n * (kNutrients / kFormulaNutrients);
            double even = 0;
            for (int i : chosen)
                even += content[i][id] * dry[i] / 100 / kFormulaIngredients;
            const QString minimo = n % 4 != 2 ? db::sqlReal(0.9 * even) : QStringLiteral("null");
            const QString maximo = n % 2 == 0 ? db::sqlReal(1.15 * even) : QStringLiteral("null");
            formulaNutrients << QStringLiteral("(1,%1,%2,%3,0)").arg(id).arg(minimo, maximo);
        }
        insertRows(conn,
                   QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo,"
                                  "maximo,valor) values "),
                   formulaNutrients);
        tx.commit();
        cat->database.settle();
        return cat;
    }();
    return *c;
}

void BM_FullRun(benchmark::State& state) {
    db::Connection& conn = *catalog().conn;
    double solver = 0;
    double total = 0;
    int writtenBack = 0;
    int lastMessages = 0;
    int lastAportes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RecordingDesktop desk;
        formulation::WorkingModel model;
        model.formulaId = 1;
        formulation::actuFormula(model, conn, desk, QLatin1Char('.'));
        const formulation::RunResult result =
            formulation::formulate(model, QStringLiteral("1000"), conn, QLatin1Char('.'));
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        solver += result.solverSeconds;
        writtenBack += result.end == formulation::RunEnd::WrittenBack &&
                       result.outcome == simplex::Outcome::Optimal;
        lastMessages = static_cast<int>(desk.messages.size() + result.messages.size());
        lastAportes = result.end == formulation::RunEnd::Unreachable;
        benchmark::DoNotOptimize(model.vCostoHumeda);
    }
    state.counters["solver_ms"] = 1000 * solver / static_cast<double>(state.iterations());
    state.counters["outside_ms"] =
        1000 * (total - solver) / static_cast<double>(state.iterations());
    state.counters["outside_solver_pct"] = total > 0 ? 100 * (total - solver) / total : 0;
    state.counters["optimal_runs"] = writtenBack;
    state.counters["messages"] = lastMessages;
    state.counters["refused"] = lastAportes;
}
BENCHMARK(BM_FullRun)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

// A demo formula (the broiler starter, formula 3 of the demo catalog) from loading to its
// recomputed mix, as tarvela-cli formulate runs it.
void BM_DemoFormulaRun(benchmark::State& state) {
    static bench::BenchDatabase* demo = [] {
        auto* d = new bench::BenchDatabase;
        db::createSchema(d->conn());
        db::loadDemo(d->conn(), db::demoDataDir());
        d->settle();
        return d;
    }();
    for (auto _ : state) {
        RecordingDesktop desk;
        formulation::WorkingModel model;
        model.formulaId = 3;
        formulation::actuFormula(model, demo->conn(), desk, QLatin1Char('.'));
        const formulation::RunResult result =
            formulation::formulate(model, QStringLiteral("1000"), demo->conn(), QLatin1Char('.'));
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_DemoFormulaRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    return tarvela::bench::runLabelledByEngine(argc, argv);
}
