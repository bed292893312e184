// A mill's catalog: 10,000 ingredients across the three bases x 100 nutrients (1,000,000
// composition rows), 1,000 customers and 300 formulas. Measures creating and deleting a nutrient
// and an ingredient (each with its commit), each list's search with the filling of its grid,
// and the opening of the composition window.
#include "bench_database.h"
#include "catalogs/catalog_statements.h"
#include "catalogs/customer_catalog.h"
#include "catalogs/ingredient_catalog.h"
#include "catalogs/ingredient_composition.h"
#include "catalogs/ingredient_search.h"
#include "catalogs/list_grids.h"
#include "catalogs/nutrient_catalog.h"
#include "db/connection.h"
#include "db/schema.h"
#include "db/statements.h"
#include "generated_catalog.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace tarvela;
using bench::insertRows;

constexpr int kIngredients = 10000;
constexpr int kNutrients = 100;
constexpr int kCustomers = 1000;
constexpr int kFormulas = 300;

void fillCatalog(db::Connection& conn) {
    db::Transaction tx(conn);
    QStringList nutrients;
    for (int n = 1; n <= kNutrients; ++n)
        nutrients
            << QStringLiteral("(%1,'Nutriente %2','%')").arg(n).arg(n, 3, 10, QLatin1Char('0'));
    insertRows(conn, QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values "),
               nutrients);

    static const char* const kinds[] = {"Maíz",   "Sorgo",     "Harina de soja", "Afrechillo",
                                        "Núcleo", "Premezcla", "Aceite",         "Expeller"};
    QStringList products;
    for (int i = 1; i <= kIngredients; ++i) {
        const int base = 1 + (i - 1) % 3;
        const int code = 100 + (i - 1) / 3;
        products << QStringLiteral("(%1,%2,%3,'Kg',%4,%5,%6)")
                        .arg(i)
                        .arg(db::sqlCode(QString::number(code)))
                        .arg(db::sqlText(QString::fromUtf8(kinds[i % 8]) +
                                         QStringLiteral(" lote %1").arg(i * 7919 % 10007)))
                        .arg(db::sqlReal(0.05 + (i * 37 % 1000) / 1000.0))
                        .arg(db::sqlReal(30 + i * 13 % 68))
                        .arg(base);
    }
    insertRows(conn,
               QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                              "materia_seca,idBase) values "),
               products);
    conn.execute(QStringLiteral(
        "insert into producto_propiedad (id_producto,id_propiedad,valor) select p.id_producto,"
        "q.id_propiedad,(p.id_producto*31+q.id_propiedad*17)%500/10.0 from productos p, "
        "propiedades q"));

    QStringList customers;
    for (int c = 1; c <= kCustomers; ++c)
        customers << QStringLiteral("(%1,'Cliente %2','Calle %3','Localidad %4','','')")
                         .arg(c)
                         .arg(c)
                         .arg(c * 11)
                         .arg(c % 40);
    insertRows(conn,
               QStringLiteral("insert into clientes (idCliente,nombre,direccion,localidad,"
                              "telefono,mail) values "),
               customers);

    QStringList formulas, formulaProducts, formulaNutrients;
    for (int f = 1; f <= kFormulas; ++f) {
        const int base = 1 + (f - 1) % 3;
        formulas << QStringLiteral(
                        "(%1,%2,'Fórmula %1',1000,1,#12/07/2026#,#12/07/2026#,1,1,%3,%4)")
                        .arg(f)
                        .arg(db::sqlCode(QString::number(5000 + f)))
                        .arg(base)
                        .arg(f % 50);
        for (int k = 0; k < 20; ++k)
            formulaProducts << QStringLiteral("(%1,%2,null,null,0,0,0,0,88,0.2)")
                                   .arg(f)
                                   .arg(base + 3 * ((f * 17 + k * 151) % 3333));
        for (int k = 0; k < 15; ++k)
            formulaNutrients
                << QStringLiteral("(%1,%2,1,null,0)").arg(f).arg(1 + (f + k * 6) % kNutrients);
    }
    insertRows(conn,
               QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                              "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,"
                              "idBase,idCliente) values "),
               formulas);
    insertRows(conn,
               QStringLiteral("insert into formula_producto (id_formula,id_producto,minimo,maximo,"
                              "cantidad_humeda,cantidad_seca,porcentaje_humeda,porcentaje_seca,"
                              "materia_seca,costo) values "),
               formulaProducts);
    insertRows(conn,
               QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo,"
                              "maximo,valor) values "),
               formulaNutrients);
    tx.commit();
}

db::Connection& catalog() {
    static bench::BenchDatabase* database = [] {
        auto* d = new bench::BenchDatabase;
        db::createSchema(d->conn());
        fillCatalog(d->conn());
        d->settle();
        return d;
    }();
    return database->conn();
}

void BM_CreateNutrient(benchmark::State& state) {
    db::Connection& conn = catalog();
    for (auto _ : state) {
        const int id = catalogs::createNutrient(
            conn, {QStringLiteral("Nutriente nuevo"), QStringLiteral("%")});
        state.PauseTiming();
        catalogs::deleteNutrient(conn, id);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateNutrient)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DeleteNutrient(benchmark::State& state) {
    db::Connection& conn = catalog();
    for (auto _ : state) {
        state.PauseTiming();
        const int id = catalogs::createNutrient(
            conn, {QStringLiteral("Nutriente nuevo"), QStringLiteral("%")});
        state.ResumeTiming();
        benchmark::DoNotOptimize(catalogs::nutrientHasIngredients(conn, id));
        catalogs::deleteNutrient(conn, id);
    }
}
BENCHMARK(BM_DeleteNutrient)->Unit(benchmark::kMillisecond)->MinTime(2.0);

const catalogs::IngredientBoxes kNewIngredient = {
    QStringLiteral("99999"), QStringLiteral("Ingrediente nuevo"), QStringLiteral("Kg"),
    QStringLiteral("0.2500"), QStringLiteral("88.00")};

void BM_CreateIngredient(benchmark::State& state) {
    db::Connection& conn = catalog();
    for (auto _ : state) {
        const int id = catalogs::createIngredient(conn, 1, kNewIngredient).id;
        state.PauseTiming();
        catalogs::deleteIngredient(conn, id);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateIngredient)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DeleteIngredient(benchmark::State& state) {
    db::Connection& conn = catalog();
    for (auto _ : state) {
        state.PauseTiming();
        const int id = catalogs::createIngredient(conn, 1, kNewIngredient).id;
        state.ResumeTiming();
        benchmark::DoNotOptimize(catalogs::ingredientHasNutrients(conn, id));
        catalogs::deleteIngredient(conn, id);
    }
}
BENCHMARK(BM_DeleteIngredient)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_NutrientList(benchmark::State& state) {
    db::Connection& conn = catalog();
    for (auto _ : state) {
        const grid::GridPaint paint = catalogs::paintNutrientList(
            conn.query(catalogs::nutrientListStatement(QString()) + catalogs::kOrderByNombre));
        benchmark::DoNotOptimize(paint.rows.size());
    }
}
BENCHMARK(BM_NutrientList)->Unit(benchmark::kMillisecond);

// 0: every ingredient of the base; 1: a description fragment; 2: a nutrient value range.
void BM_IngredientList(benchmark::State& state) {
    db::Connection& conn = catalog();
    catalogs::IngredientFilter filter;
    filter.base = 1;
    if (state.range(0) == 1)
        filter.description = QStringLiteral("soja");
    if (state.range(0) == 2) {
        filter.nutrientId = 7;
        filter.valueFrom = QStringLiteral("10");
        filter.valueTo = QStringLiteral("30,5");
    }
    int rows = 0;
    for (auto _ : state) {
        const catalogs::IngredientSearch search = catalogs::buildIngredientSearch(filter);
        const grid::GridPaint paint = catalogs::paintIngredientList(
            conn.query(search.sql + catalogs::kOrderByNombre), QLatin1Char('.'));
        rows = static_cast<int>(paint.rows.size()) - 1;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_IngredientList)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_CustomerList(benchmark::State& state) {
    db::Connection& conn = catalog();
    const QString town = state.range(0) == 1 ? QStringLiteral("dad 1") : QString();
    int rows = 0;
    for (auto _ : state) {
        const grid::GridPaint paint = catalogs::paintCustomerList(conn.query(
            catalogs::customerListStatement(QString(), town) + catalogs::kOrderByNombre));
        rows = static_cast<int>(paint.rows.size()) - 1;
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_CustomerList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenComposition(benchmark::State& state) {
    db::Connection& conn = catalog();
    int ingredient = 1;
    for (auto _ : state) {
        const QString caption = catalogs::ingredientName(conn, ingredient);
        const grid::GridPaint paint = catalogs::paintComposition(
            conn.query(catalogs::compositionListStatement(ingredient, QString())));
        benchmark::DoNotOptimize(caption);
        benchmark::DoNotOptimize(paint.rows.size());
        ingredient = ingredient % kIngredients + 1;
    }
}
BENCHMARK(BM_OpenComposition)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return tarvela::bench::runLabelledByEngine(argc, argv);
}
