// The reformulation worklist: 1,000 and 10,000 formulas of 60 ingredients x 30 nutrients over a
// catalog of 2,000 ingredients x 100 nutrients, read block by block and re-run on 1 and 2 threads
// while the next block is read. Reports the wall time, the runs per second, the reading (which
// goes on beside the runs) and the wait before the first runs could start with its share of the
// wall time, and the processor time of all threads beside the wall time (other work on the
// machine shows as the difference).
#include "db/connection.h"
#include "db/schema.h"
#include "db/statements.h"
#include "generated_catalog.h"
#include "worklist/parallel_runs.h"
#include "worklist/reformulation.h"
#include "worklist/worklist_reading.h"
#include "worklist/worklist_selection.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace {

using namespace tarvela;
using bench::insertRows;

constexpr int kIngredients = 2000;
constexpr int kNutrients = 100;
constexpr int kFormulaIngredients = 60;
constexpr int kFormulaNutrients = 30;

struct Catalog {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> conn;
};

// Each formula takes its own 60 ingredients and 30 nutrients; its nutrient limits lie around the
// value of the even blend (which therefore meets them), its stored mix is that blend at prices
// 5 % below today's.
Catalog* makeCatalog(int count) {
    {
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
        for (int f = 1; f <= count; ++f) {
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
    }
}

Catalog& catalog(int formulas) {
    static std::map<int, Catalog*> made;
    Catalog*& c = made[formulas];
    if (!c)
        c = makeCatalog(formulas);
    return *c;
}

// Processor time of the whole process, all threads, in seconds.
double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// As worklist::readAndRunAll, with the times of its stages.
void BM_Worklist(benchmark::State& state) {
    db::Connection& conn = *catalog(static_cast<int>(state.range(0))).conn;
    const int threads = static_cast<int>(state.range(1));
    double reading = 0;
    double waiting = 0;
    double wall = 0;
    double cpu = 0;
    int optimal = 0;
    int rows = 0;
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point a, Clock::time_point b) {
        return std::chrono::duration<double>(b - a).count();
    };
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpuStart = processSeconds();
        worklist::Worklist list = worklist::newWorklist(
            worklist::selectWorklist(conn, worklist::WorklistFilter{}), QLatin1Char('.'));
        worklist::WorklistReading read(conn, list, 1);
        read.readCatalog();
        worklist::ParallelRuns runs(list.rows, list.catalog, list.decimalSeparator, 0);
        runs.start(threads);
        Clock::time_point firstBlock{};
        while (read.readBlock()) {
            runs.makeAvailable(read.rowsRead());
            if (firstBlock == Clock::time_point{})
                firstBlock = Clock::now();
        }
        const auto allRead = Clock::now();
        runs.wait();
        const auto end = Clock::now();
        cpu += processSeconds() - cpuStart;
        reading += seconds(start, allRead);
        waiting += seconds(start, firstBlock);
        wall += seconds(start, end);
        rows = static_cast<int>(list.rows.size());
        optimal = static_cast<int>(
            std::count_if(list.rows.begin(), list.rows.end(), [](const worklist::Reformulated& r) {
                return r.estado == worklist::Estado::Optima;
            }));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["formulas"] = rows;
    state.counters["optimal"] = optimal;
    // Reading goes on beside the runs; only the wait before the first block shows in the wall
    // time as reading alone.
    state.counters["read_s"] = reading / n;
    state.counters["read_wait_s"] = waiting / n;
    state.counters["read_pct"] = 100 * waiting / wall;
    state.counters["wall_s"] = wall / n;
    state.counters["runs_per_s"] = rows * n / wall;
    state.counters["cpu_s"] = cpu / n;
}
BENCHMARK(BM_Worklist)
    ->ArgNames({"formulas", "threads"})
    ->ArgsProduct({{1000, 10000}, {1, 2}})
    ->Iterations(2)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
