// The reformulation worklist: 1,000 formulas of 60 ingredients x 30 nutrients over a catalog of
// 2,000 ingredients x 100 nutrients, read once and re-run on 1 and 2 threads. Reports the wall
// time, the runs per second and the share of the time spent reading formulas and catalog, and the
// processor time of all threads beside the wall time (other work on the machine shows as the
// difference).
#include "db/connection.h"
#include "db/schema.h"
#include "db/statements.h"
#include "generated_catalog.h"
#include "worklist/parallel_runs.h"
#include "worklist/reformulation.h"
#include "worklist/worklist_selection.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace {

using namespace tarvela;
using bench::insertRows;

constexpr int kIngredients = 2000;
constexpr int kNutrients = 100;
constexpr int kFormulas = 1000;
constexpr int kFormulaIngredients = 60;
constexpr int kFormulaNutrients = 30;

struct Catalog {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> conn;
};

// Each formula takes its own 60 ingredients and 30 nutrients; its nutrient limits lie around the
// value of the even blend (which therefore meets them), its stored mix is that blend at prices
// 5 % below today's.
Catalog& catalog() {
    static Catalog* c = [] {
        auto* cat = new Catalog;
        cat->conn = db::Connection::create(cat->dir.filePath(QStringLiteral("TarvelaN.mdb")),
                                           db::databasePassword());
        db::Connection& conn = *cat->conn;
        db::createSchema(conn);
        std::mt19937 rng(20270315);

        db::Transaction tx(conn);
        const bench::GeneratedCatalog generated =
            bench::generateCatalog(conn, kIngredients, kNutrients, rng);
        const std::vector<double>& price = generated.price;
        const std::vector<double>& dry = generated.dry;
        const std::vector<std::vector<double>>& content = generated.content;

        std::vector<int> ingredientIds(kIngredients);
        std::iota(ingredientIds.begin(), ingredientIds.end(), 1);
        std::vector<int> nutrientIds(kNutrients);
        std::iota(nutrientIds.begin(), nutrientIds.end(), 1);
        QStringList formulas, formulaProducts, formulaNutrients;
        const double share = 1.0 / kFormulaIngredients;
        for (int f = 1; f <= kFormulas; ++f) {
            formulas << QStringLiteral("(%1,%2,'Fórmula %1',1000,0,#03/01/2027#,#03/01/2027#,1,1,"
                                       "1,0)")
                            .arg(f)
                            .arg(db::sqlCode(QString::number(f)));
            std::shuffle(ingredientIds.begin(), ingredientIds.end(), rng);
            std::shuffle(nutrientIds.begin(), nutrientIds.end(), rng);
            std::vector<int> chosen(ingredientIds.begin(),
                                    ingredientIds.begin() + kFormulaIngredients);
            std::sort(chosen.begin(), chosen.end());
            for (int k = 0; k < kFormulaIngredients; ++k) {
                const int id = chosen[static_cast<size_t>(k)];
                const QString maximo = k % 3 == 0 ? QStringLiteral("null") : QStringLiteral("120");
                const QString minimo = k % 10 == 0 ? QStringLiteral("2") : QStringLiteral("null");
                formulaProducts << QStringLiteral("(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10)")
                                       .arg(f)
                                       .arg(id)
                                       .arg(minimo, maximo, db::sqlReal(1000 * share),
                                            db::sqlReal(1000 * share * dry[id] / 100),
                                            db::sqlReal(share), db::sqlReal(share),
                                            db::sqlReal(dry[id]), db::sqlReal(0.95 * price[id]));
            }
            for (int n = 0; n < kFormulaNutrients; ++n) {
                const int id = nutrientIds[static_cast<size_t>(n)];
                double even = 0;
                for (int i : chosen)
                    even += content[i][id] * dry[i] / 100 * share;
                const QString minimo =
                    n % 4 != 2 ? db::sqlReal(0.9 * even) : QStringLiteral("null");
                const QString maximo =
                    n % 2 == 0 ? db::sqlReal(1.15 * even) : QStringLiteral("null");
                formulaNutrients << QStringLiteral("(%1,%2,%3,%4,%5)")
                                        .arg(f)
                                        .arg(id)
                                        .arg(minimo, maximo, db::sqlReal(even));
            }
        }
        insertRows(conn,
                   QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,"
                                  "version,fecha_creacion,fecha_modificacion,tipoBase,"
                                  "tipoBaseNutrientes,idBase,idCliente) values "),
                   formulas);
        insertRows(conn,
                   QStringLiteral("insert into formula_producto (id_formula,id_producto,minimo,"
                                  "maximo,cantidad_humeda,cantidad_seca,porcentaje_humeda,"
                                  "porcentaje_seca,materia_seca,costo) values "),
                   formulaProducts);
        insertRows(conn,
                   QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo,"
                                  "maximo,valor) values "),
                   formulaNutrients);
        tx.commit();
        return cat;
    }();
    return *c;
}

// Processor time of the whole process, all threads, in seconds.
double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_Worklist(benchmark::State& state) {
    db::Connection& conn = *catalog().conn;
    const int threads = static_cast<int>(state.range(0));
    double reading = 0;
    double running = 0;
    double readingCpu = 0;
    double runningCpu = 0;
    int optimal = 0;
    int rows = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processSeconds();
        worklist::Worklist list = worklist::readWorklist(
            conn, worklist::selectWorklist(conn, worklist::WorklistFilter{}), QLatin1Char('.'));
        const auto read = std::chrono::steady_clock::now();
        const double cpuRead = processSeconds();
        worklist::runAll(list, threads);
        const auto end = std::chrono::steady_clock::now();
        readingCpu += cpuRead - cpuStart;
        runningCpu += processSeconds() - cpuRead;
        reading += std::chrono::duration<double>(read - start).count();
        running += std::chrono::duration<double>(end - read).count();
        rows = static_cast<int>(list.rows.size());
        optimal = static_cast<int>(
            std::count_if(list.rows.begin(), list.rows.end(), [](const worklist::Reformulated& r) {
                return r.estado == worklist::Estado::Optima;
            }));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["formulas"] = rows;
    state.counters["optimal"] = optimal;
    state.counters["read_s"] = reading / n;
    state.counters["run_s"] = running / n;
    state.counters["wall_s"] = (reading + running) / n;
    state.counters["runs_per_s"] = rows * n / running;
    state.counters["read_pct"] = 100 * reading / (reading + running);
    state.counters["read_cpu_s"] = readingCpu / n;
    state.counters["run_cpu_s"] = runningCpu / n;
    state.counters["cpu_s"] = (readingCpu + runningCpu) / n;
}
BENCHMARK(BM_Worklist)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(2)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
