// Catalog data from files. Prices: a base of 10,000 ingredients and a price list of 10,000 rows
// (every price changed), read from its CSV text, previewed and applied with its history; the
// preview alone of a list of 100,000 rows. Composition: a table of 2,000 ingredients x 100
// nutrients, as CSV and as a workbook, read, previewed and applied, refreshing every value of
// an existing base or building a new one; and its export.
#include "catalogs/ingredient_catalog.h"
#include "db/connection.h"
#include "db/schema.h"
#include "db/statements.h"
#include "files/csv_text.h"
#include "files/table_file.h"
#include "generated_catalog.h"
#include "imports/composition_export.h"
#include "imports/composition_import.h"
#include "imports/price_import.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace tarvela;
using bench::insertRows;

constexpr int kPriceIngredients = 10000;
constexpr int kTableIngredients = 2000;
constexpr int kNutrients = 100;

struct Catalog {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> conn;
};

// Base 1 of a new database: `ingredients` ingredients with codes 1000, 1001, ... and every
// nutrient's content, 0.
Catalog* makeCatalog(int ingredients) {
    auto* cat = new Catalog;
    cat->conn = db::Connection::create(cat->dir.filePath(QStringLiteral("TarvelaN.mdb")),
                                       db::databasePassword());
    db::Connection& conn = *cat->conn;
    db::createSchema(conn);
    db::Transaction tx(conn);
    QStringList nutrients;
    for (int n = 1; n <= kNutrients; ++n)
        nutrients
            << QStringLiteral("(%1,'Nutriente %2','%')").arg(n).arg(n, 3, 10, QLatin1Char('0'));
    insertRows(conn, QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values "),
               nutrients);
    QStringList products;
    for (int i = 1; i <= ingredients; ++i)
        products << QStringLiteral("(%1,%2,'Ingrediente %1','Kg',%3,88,1)")
                        .arg(i)
                        .arg(db::sqlCode(QString::number(999 + i)))
                        .arg(db::sqlReal(0.1 + (i % 500) / 1000.0));
    insertRows(conn,
               QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                              "materia_seca,idBase) values "),
               products);
    conn.execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                                "select p.id_producto,q.id_propiedad,0 from productos p, "
                                "propiedades q"));
    tx.commit();
    return cat;
}

db::Connection& priceCatalog() {
    static Catalog* c = makeCatalog(kPriceIngredients);
    return *c->conn;
}

db::Connection& compositionCatalog() {
    static Catalog* c = makeCatalog(kTableIngredients);
    return *c->conn;
}

files::Cell text(const QString& t) {
    return {files::Cell::Kind::Text, t, 0};
}
files::Cell number(double v) {
    return {files::Cell::Kind::Number, {}, v};
}

// A price list: code, name, price (every one moved by `factor`, under 50 %), dry matter.
QByteArray priceList(int rows, double factor) {
    std::vector<std::vector<files::Cell>> table = {
        {text("Código"), text("Nombre"), text("Precio"), text("Materia Seca")}};
    for (int i = 1; i <= rows; ++i)
        table.push_back({text(QString::number(999 + i)),
                         text(QStringLiteral("Ingrediente %1").arg(i)),
                         number((0.1 + (i % 500) / 1000.0) * factor), number(88)});
    return files::csvBytes(table, QLatin1Char(','));
}

void BM_ImportPrices(benchmark::State& state) {
    db::Connection& conn = priceCatalog();
    const QByteArray lists[] = {priceList(kPriceIngredients, 1.1),
                                priceList(kPriceIngredients, 1.0)};
    int round = 0;
    int updated = 0;
    for (auto _ : state) {
        const files::TableRead read = files::readCsv(lists[round++ % 2]);
        const imports::PriceList list = imports::readPriceList(read.table, QStringLiteral("l.csv"));
        const imports::PricePreview preview = imports::previewPrices(conn, 1, list);
        updated = imports::applyPrices(conn, 1, list, preview, true, QDateTime::currentDateTime())
                      .updated;
    }
    state.counters["updated"] = updated;
}
BENCHMARK(BM_ImportPrices)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_PreviewPrices100k(benchmark::State& state) {
    db::Connection& conn = priceCatalog();
    const QByteArray list = priceList(100000, 1.2);
    for (auto _ : state) {
        const files::TableRead read = files::readCsv(list);
        const imports::PricePreview preview = imports::previewPrices(
            conn, 1, imports::readPriceList(read.table, QStringLiteral("l.csv")));
        benchmark::DoNotOptimize(preview.rows.size());
    }
}
BENCHMARK(BM_PreviewPrices100k)->Unit(benchmark::kMillisecond);

// A composition table for the codes from 1000 on, every content `shift` above a base value.
std::vector<std::vector<files::Cell>> compositionTable(double shift) {
    std::vector<files::Cell> headings = {text("Código"), text("Nombre"), text("Unidad"),
                                         text("Costo"), text("Materia Seca")};
    for (int n = 1; n <= kNutrients; ++n)
        headings.push_back(
            text(QStringLiteral("Nutriente %1 (%)").arg(n, 3, 10, QLatin1Char('0'))));
    std::vector<std::vector<files::Cell>> table{headings};
    for (int i = 1; i <= kTableIngredients; ++i) {
        std::vector<files::Cell> row = {text(QString::number(999 + i)),
                                        text(QStringLiteral("Ingrediente %1").arg(i)), text("Kg"),
                                        number(0.1 + (i % 500) / 1000.0), number(88)};
        for (int n = 1; n <= kNutrients; ++n)
            row.push_back(number((i * 31 + n * 17) % 500 / 10.0 + shift));
        table.push_back(std::move(row));
    }
    return table;
}

struct TableFiles {
    QTemporaryDir dir;
    QString csv[2];
    QString xlsx[2];
};

const TableFiles& tableFiles() {
    static TableFiles* f = [] {
        auto* files = new TableFiles;
        for (int k = 0; k < 2; ++k) {
            const auto table = compositionTable(k == 0 ? 0.5 : 0.25);
            files->csv[k] = files->dir.filePath(QStringLiteral("t%1.csv").arg(k));
            QFile csv(files->csv[k]);
            csv.open(QIODevice::WriteOnly);
            csv.write(files::csvBytes(table, QLatin1Char(',')));
            csv.close();
        }
        // The workbooks are the catalog exported after each table was applied.
        db::Connection& conn = compositionCatalog();
        for (int k = 0; k < 2; ++k) {
            const auto file =
                imports::readCompositionFile(files::readTableFile(files->csv[k]).table);
            const auto preview = imports::previewComposition(conn, 1, file);
            imports::applyComposition(conn, 1, file, preview, QStringLiteral("t.csv"),
                                      QDateTime::currentDateTime());
            files->xlsx[k] = files->dir.filePath(QStringLiteral("t%1.xlsx").arg(k));
            imports::exportComposition(conn, 1, files->xlsx[k], QLatin1Char('.'));
        }
        return files;
    }();
    return *f;
}

// 0: CSV; 1: workbook. Every content of the 2,000 ingredients changes at every round.
void BM_ImportCompositionRefresh(benchmark::State& state) {
    db::Connection& conn = compositionCatalog();
    const TableFiles& files = tableFiles();
    int round = 0;
    int changed = 0;
    for (auto _ : state) {
        const QString path = state.range(0) == 0 ? files.csv[round % 2] : files.xlsx[round % 2];
        ++round;
        const auto file = imports::readCompositionFile(files::readTableFile(path).table);
        const imports::CompositionPreview preview = imports::previewComposition(conn, 1, file);
        changed = imports::applyComposition(conn, 1, file, preview, QStringLiteral("t"),
                                            QDateTime::currentDateTime())
                      .changedValues;
    }
    state.counters["changed"] = changed;
}
BENCHMARK(BM_ImportCompositionRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same CSV table into base 2, which has none of its ingredients: 2,000 created with their
// composition rows.
void BM_ImportCompositionBuild(benchmark::State& state) {
    db::Connection& conn = compositionCatalog();
    const TableFiles& files = tableFiles();
    int created = 0;
    for (auto _ : state) {
        const auto file = imports::readCompositionFile(files::readTableFile(files.csv[0]).table);
        const imports::CompositionPreview preview = imports::previewComposition(conn, 2, file);
        created = imports::applyComposition(conn, 2, file, preview, QStringLiteral("t"),
                                            QDateTime::currentDateTime())
                      .newIngredients;
        state.PauseTiming();
        db::Transaction tx(conn);
        conn.execute(QStringLiteral("delete from producto_propiedad where id_producto in (select "
                                    "id_producto from productos where idBase=2)"));
        conn.execute(QStringLiteral("delete from productos where idBase=2"));
        tx.commit();
        state.ResumeTiming();
    }
    state.counters["created"] = created;
}
BENCHMARK(BM_ImportCompositionBuild)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// 0: CSV; 1: workbook.
void BM_ExportComposition(benchmark::State& state) {
    db::Connection& conn = compositionCatalog();
    QTemporaryDir dir;
    const QString path =
        dir.filePath(state.range(0) == 0 ? QStringLiteral("e.csv") : QStringLiteral("e.xlsx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(imports::exportComposition(conn, 1, path, QLatin1Char('.')));
}
BENCHMARK(BM_ExportComposition)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
