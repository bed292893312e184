#include "support/small_catalog.h"
#include "support/test_database.h"

#include "context/recording_desktop.h"
#include "db/statements.h"
#include "formulation/catalog_refresh.h"
#include "formulation/loading.h"
#include "formulation/run.h"
#include "text/format.h"
#include "worklist/parallel_runs.h"
#include "worklist/reformulation.h"
#include "worklist/version_save.h"
#include "worklist/worklist_grid.h"
#include "worklist/worklist_reading.h"
#include "worklist/worklist_selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace tarvela::test {
namespace {

using worklist::Estado;
using worklist::Reformulated;

worklist::Worklist readBase(db::Connection& conn, int base) {
    worklist::WorklistFilter filter;
    filter.base = base;
    return worklist::readWorklist(conn, worklist::selectWorklist(conn, filter), QLatin1Char('.'));
}

// Every figure a result shows, and the mix behind it.
void expectSameResult(const Reformulated& a, const Reformulated& b) {
    EXPECT_EQ(a.formula.idFormula, b.formula.idFormula);
    EXPECT_EQ(a.estado, b.estado);
    EXPECT_EQ(a.estadoTexto, b.estadoTexto);
    EXPECT_EQ(a.costoAnterior, b.costoAnterior);
    EXPECT_EQ(a.costoActual, b.costoActual);
    EXPECT_EQ(a.entran, b.entran);
    EXPECT_EQ(a.salen, b.salen);
    ASSERT_EQ(a.model.ingredients.size(), b.model.ingredients.size());
    for (size_t i = 0; i < a.model.ingredients.size(); ++i)
        EXPECT_EQ(a.model.ingredients[i].cantidad_humeda, b.model.ingredients[i].cantidad_humeda);
}

// After a price change every demo formula's worklist result is what the window's road gives:
// load, "Actualizar Precios", "Actualizar M.Seca", formulate with the formula's batch. On one
// thread and on several the results are the same.
TEST(Worklist, DemoFormulasMatchSingleRunsOnAnyNumberOfThreads) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    db::Connection& conn = tdb.conn();
    conn.execute(QStringLiteral("update productos set costo=costo*1.25 where id_producto%3=0"));
    conn.execute(QStringLiteral("update productos set costo=costo*0.8 where id_producto%3=1"));
    conn.execute(QStringLiteral("update productos set materia_seca=materia_seca-1 where "
                                "id_producto%4=0"));
    int optimal = 0;
    for (int base = 1; base <= 3; ++base) {
        worklist::Worklist parallel = readBase(conn, base);
        worklist::Worklist sequential = readBase(conn, base);
        ASSERT_EQ(parallel.rows.size(), base == 3 ? 3u : 2u);
        worklist::runAll(parallel, 2);
        worklist::runAll(sequential, 1);
        for (size_t i = 0; i < parallel.rows.size(); ++i) {
            const Reformulated& row = parallel.rows[i];
            SCOPED_TRACE(row.formula.codigo.toStdString());
            expectSameResult(row, sequential.rows[i]);

            RecordingDesktop desk;
            formulation::WorkingModel single;
            single.formulaId = row.formula.idFormula;
            formulation::actuFormula(single, conn, desk, QLatin1Char('.'));
            EXPECT_EQ(row.costoAnterior, single.vCostoHumeda);
            formulation::refreshPrices(single);
            formulation::refreshDryMatter(single);
            const formulation::RunResult result = formulation::formulate(
                single,
                text::formatNumber(single.batchQuantity, QStringLiteral("0.000"), QLatin1Char('.')),
                conn, QLatin1Char('.'));
            ASSERT_EQ(row.estado, Estado::Optima);
            ASSERT_TRUE(formulation::mixMeetsLimits(result));
            EXPECT_EQ(*row.costoActual, single.vCostoHumeda);
            EXPECT_EQ(*row.variacion,
                      (*row.costoActual - *row.costoAnterior) / *row.costoAnterior * 100);
            ++optimal;
        }
    }
    EXPECT_EQ(optimal, 7);
}

// On the untouched demo the stored mixes are re-run at the prices they were made with: a formula
// whose cost does not move names nothing entering or leaving (a share of 1e-15 is no entry), and
// no re-run mix holds a quantity within round-off of zero.
TEST(Worklist, AnUnmovedCostChangesNoIngredient) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    int unmoved = 0;
    for (int base = 1; base <= 3; ++base) {
        worklist::Worklist list = readBase(tdb.conn(), base);
        worklist::runAll(list, 1);
        for (const Reformulated& row : list.rows) {
            SCOPED_TRACE(row.formula.codigo.toStdString());
            for (const formulation::IngredientRow& i : row.model.ingredients) {
                const double q = i.cantidad_humeda.value_or(0);
                EXPECT_TRUE(q == 0 || std::fabs(q) > 1e-6) << q;
            }
            if (!row.variacion || std::fabs(*row.variacion) >= 5e-5)
                continue;
            ++unmoved;
            EXPECT_TRUE(row.entran.isEmpty()) << row.entran.join(", ").toStdString();
            EXPECT_TRUE(row.salen.isEmpty()) << row.salen.join(", ").toStdString();
        }
    }
    EXPECT_GT(unmoved, 0);
}

QString figure(const formulation::Opt& v) {
    return v ? QString::number(*v, 'g', 17) : QStringLiteral("-");
}

// What the loading puts in a model, one line per row, in the rows' order.
QStringList loaded(const formulation::WorkingModel& m) {
    const formulation::FormulaHeader& h = m.header;
    QStringList out{QString::number(m.formulaId),
                    h.codigo,
                    h.version,
                    h.producto,
                    h.fechaCreacion,
                    h.fechaModificacion,
                    m.txtCantidad,
                    figure(m.batchQuantity),
                    QString::number(m.vSecaIng),
                    QString::number(m.vSecaNut)};
    for (const formulation::NutrientRow& n : m.rsPropiedades)
        out << QStringList{QString::number(n.id_propiedad),
                           n.nombre,
                           figure(n.minimo),
                           figure(n.maximo),
                           figure(n.valor),
                           figure(n.valorAnterior)}
                   .join(QLatin1Char(' '));
    for (const formulation::IngredientRow& i : m.ingredients)
        out << QStringList{QString::number(i.id_producto),
                           i.nombre,
                           figure(i.materia_seca),
                           figure(i.costo_seca),
                           figure(i.costo_humeda),
                           figure(i.minimo),
                           figure(i.maximo),
                           figure(i.cantidad_seca),
                           figure(i.porcentaje_seca),
                           figure(i.cantidad_humeda),
                           figure(i.porcentaje_humeda),
                           figure(i.materiaSecaActual),
                           figure(i.costoHumedaActual)}
                   .join(QLatin1Char(' '));
    for (int id : m.missingNutrients)
        out << QStringLiteral("sin nutriente %1").arg(id);
    for (int id : m.missingIngredients)
        out << QStringLiteral("sin ingrediente %1").arg(id);
    return out;
}

// The worklist reads all its formulas at once, each as the window loads it: rows whose sort keys
// tie (names equal but for case and accents, equal shares) in the same order, items gone from
// the catalog by key, ingredients without dry matter left out and noted in order; a formula gone
// and one named twice.
TEST(Worklist, ReadsEachFormulaAsTheWindowLoadsIt) {
    TestDatabase tdb;
    db::Connection& conn = tdb.conn();
    SmallCatalog cat(conn);
    for (int id = 1; id <= 6; ++id)
        cat.ingredient(id, QStringLiteral("Ingrediente %1").arg(7 - id), 0.1 * id, 88);
    const QStringList names{QStringLiteral("Proteína"), QStringLiteral("PROTEINA"),
                            QStringLiteral("Agua"), QStringLiteral("proteina")};
    for (int id = 1; id <= 4; ++id)
        cat.nutrient(id, names[id - 1]);
    for (int f = 1; f <= 2; ++f) {
        cat.formula(f, 500, f == 1, f == 1);
        for (int n : {4, 1, 3, 2})
            cat.formulaNutrient(f, n, 1.0 * n, std::nullopt);
        for (int i = 1; i <= 6; ++i)
            cat.formulaIngredient(f, i, std::nullopt, 10.0 * i, i % 3 == 0 ? Opt(0) : std::nullopt);
    }
    conn.execute(QStringLiteral("update formula_producto set porcentaje_humeda=0.25 where "
                                "id_formula=2 and id_producto in (2,5)"));
    conn.execute(QStringLiteral("insert into formula_producto (id_formula,id_producto,"
                                "materia_seca,costo) values (2,98,90,1),(2,97,90,1)"));
    conn.execute(QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo) "
                                "values (2,99,1),(2,96,1)"));

    const std::vector<int> ids{2, 1, 7, 2};
    std::vector<worklist::WorklistFormula> formulas(ids.size());
    for (size_t k = 0; k < ids.size(); ++k)
        formulas[k].idFormula = ids[k];
    const worklist::Worklist list = worklist::readWorklist(conn, formulas, QLatin1Char(','));
    ASSERT_EQ(list.rows.size(), ids.size());
    for (size_t k = 0; k < ids.size(); ++k) {
        SCOPED_TRACE(ids[k]);
        RecordingDesktop desk;
        formulation::WorkingModel single;
        single.formulaId = ids[k];
        formulation::loadFormula(single, conn, desk, QLatin1Char(','));
        EXPECT_EQ(loaded(list.rows[k].model), loaded(single));
        QStringList said;
        for (const RecordedMessage& m : desk.messages)
            said << m.text;
        EXPECT_EQ(list.rows[k].notas, said);
    }
    EXPECT_EQ(list.rows[0].model.missingIngredients, (std::vector<int>{97, 98}));
    EXPECT_EQ(list.rows[1].notas.size(), 2); // ingredients 3 and 6 have no dry matter
    EXPECT_EQ(list.rows[2].estado, Estado::Detenida);
    EXPECT_EQ(list.rows[2].estadoTexto, QStringLiteral("No se pudo establecer la Fórmula"));
}

// The catalog read once gives each formula the composition the database gives it: contents by
// nutrient and ingredient, an ingredient deleted from the catalog no longer found (its orphan
// content still read as such), a nutrient deleted no longer listed, a key never read absent.
TEST(Worklist, CatalogGivesEachFormulaTheDatabaseComposition) {
    TestDatabase tdb;
    db::Connection& conn = tdb.conn();
    SmallCatalog cat(conn);
    for (int id = 1; id <= 4; ++id) {
        cat.ingredient(id, QStringLiteral("Ingrediente %1").arg(id), 1, 90);
        cat.nutrient(id, QStringLiteral("Nutriente %1").arg(id));
        for (int n = 1; n <= id; ++n)
            cat.content(id, n, 10.0 * id + n);
    }
    conn.execute(QStringLiteral("delete from productos where id_producto=3"));
    conn.execute(QStringLiteral("delete from propiedades where id_propiedad=2"));
    const worklist::CatalogComposition catalog(conn, {4, 2, 1, 2}, {3, 1, 4, 2});

    std::vector<formulation::NutrientRow> nutrients(3);
    std::vector<formulation::IngredientRow> ingredients(4);
    for (int k = 0; k < 3; ++k)
        nutrients[static_cast<size_t>(k)].id_propiedad = std::vector<int>{2, 4, 5}[k];
    for (int k = 0; k < 4; ++k)
        ingredients[static_cast<size_t>(k)].id_producto = std::vector<int>{4, 3, 2, 9}[k];
    const formulation::FormulaComposition read = catalog.composition(nutrients, ingredients);
    const formulation::FormulaComposition stored(conn, nutrients, ingredients);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(read.listsNutrient(n), stored.listsNutrient(n)) << n;
        for (int i = 1; i <= 9; ++i) {
            SCOPED_TRACE(QStringLiteral("%1 en %2").arg(n).arg(i).toStdString());
            EXPECT_EQ(read.listsIngredient(i), stored.listsIngredient(i));
            EXPECT_EQ(read.content(n, i), stored.content(n, i));
            EXPECT_EQ(read.find(n, i) != nullptr, stored.find(n, i) != nullptr);
        }
    }
    EXPECT_EQ(read.content(4, 4), 44);
    EXPECT_EQ(read.content(2, 3), 32); // orphan content of a deleted ingredient
    EXPECT_EQ(read.find(2, 3), nullptr);
    EXPECT_FALSE(read.listsNutrient(2));
}

// A formula's latest version in the base stands for it, never a version of another base;
// customer, code range and last change narrow the list.
TEST(Worklist, SelectionTakesTheLatestVersionOfTheBase) {
    TestDatabase tdb;
    db::Connection& conn = tdb.conn();
    conn.execute(QStringLiteral("insert into clientes (idCliente,nombre) values (7,'Tambo Sur')"));
    const auto add = [&](int id, const char* code, int version, int base, int customer,
                         const char* modified) {
        conn.execute(QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,"
                                    "version,fecha_creacion,fecha_modificacion,tipoBase,"
                                    "tipoBaseNutrientes,idBase,idCliente) values (%1,%2,'P%1',"
                                    "100,%3,#01/01/2026#,%4,1,1,%5,%6)")
                         .arg(id)
                         .arg(db::sqlCode(QString::fromLatin1(code)))
                         .arg(version)
                         .arg(QString::fromLatin1(modified))
                         .arg(base)
                         .arg(customer));
    };
    add(1, "10", 0, 1, 0, "#02/01/2026#");
    add(2, "10", 1, 1, 7, "#06/01/2026#");
    add(3, "10", 2, 2, 0, "#06/01/2026#"); // the same code in another base, numbered after
    add(4, "9", 0, 1, 7, "null");
    add(5, "200", 0, 1, 0, "#03/01/2026#");

    const auto ids = [&](const worklist::WorklistFilter& f) {
        std::vector<int> out;
        for (const worklist::WorklistFormula& w : worklist::selectWorklist(conn, f))
            out.push_back(w.idFormula);
        return out;
    };
    worklist::WorklistFilter f;
    EXPECT_EQ(ids(f), (std::vector<int>{4, 2, 5})); // codes in numeric order
    f.customer = 7;
    EXPECT_EQ(worklist::selectWorklist(conn, f).front().cliente, QStringLiteral("Tambo Sur"));
    EXPECT_EQ(ids(f), (std::vector<int>{4, 2}));
    f = {};
    f.codeFrom = QStringLiteral("10");
    f.codeTo = QStringLiteral("199");
    EXPECT_EQ(ids(f), (std::vector<int>{2}));
    f = {};
    f.modifiedBefore = QDate(2026, 5, 1); // the latest version of 10 is newer: left out
    EXPECT_EQ(ids(f), (std::vector<int>{4, 5}));
    f = {};
    f.base = 2;
    EXPECT_EQ(ids(f), (std::vector<int>{3}));
}

class WorklistCatalog : public ::testing::Test {
protected:
    // Three formulas over A (content 10), B (content 2) and C (content 30): 1 and 2 meet a
    // protein minimum of 5, formula 3 asks 40 and has no solution.
    void SetUp() override {
        SmallCatalog cat(tdb.conn());
        cat.ingredient(1, QStringLiteral("Maíz"), 0.20, 100);
        cat.ingredient(2, QStringLiteral("Harina d'avena"), 0.10, 100);
        cat.ingredient(3, QStringLiteral("Soja"), 0.40, 100);
        cat.nutrient(1, QStringLiteral("Proteína"));
        cat.content(1, 1, 10);
        cat.content(2, 1, 2);
        cat.content(3, 1, 30);
        for (int id = 1; id <= 3; ++id) {
            cat.formula(id, 100, false, false);
            tdb.conn().execute(QStringLiteral("update formulas set codigo=%1 where id_formula=%2")
                                   .arg(db::sqlCode(QString::number(id)))
                                   .arg(id));
            for (int ing = 1; ing <= 3; ++ing)
                cat.formulaIngredient(id, ing, std::nullopt, std::nullopt);
            cat.formulaNutrient(id, 1, id == 3 ? 40.0 : 5.0, std::nullopt);
        }
    }

    worklist::Worklist run(int threads = 2) {
        worklist::Worklist list = readBase(tdb.conn(), 1);
        worklist::runAll(list, threads);
        return list;
    }

    TestDatabase tdb;
};

// A null catalog price stops its formula with the run's own message; an ingredient deleted from
// the catalog is named as the status; the others go on.
TEST_F(WorklistCatalog, StopsAreStatusesAndTheOthersGoOn) {
    tdb.conn().execute(QStringLiteral("update productos set costo=null where id_producto=2"));
    tdb.conn().execute(QStringLiteral("delete from formula_producto where id_formula=1 and "
                                      "id_producto=2"));
    tdb.conn().execute(QStringLiteral("insert into formula_producto (id_formula,id_producto,"
                                      "materia_seca,costo) values (2,99,90,1)"));
    const worklist::Worklist list = run();
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].estado, Estado::Optima);
    EXPECT_EQ(list.rows[0].estadoTexto, QStringLiteral("Óptima"));
    EXPECT_EQ(list.rows[1].estado, Estado::Detenida);
    EXPECT_EQ(list.rows[1].estadoTexto,
              QStringLiteral("El ingrediente 99 de la fórmula ya no existe en el catálogo"));
    EXPECT_EQ(list.rows[2].estado, Estado::Detenida);
    EXPECT_EQ(list.rows[2].estadoTexto,
              QStringLiteral("Debe ingresar un precio para el ingrediente <Harina d'avena>"));
    EXPECT_FALSE(list.rows[2].costoActual.has_value());
}

TEST_F(WorklistCatalog, WithoutSolutionEntriesAndExits) {
    const worklist::Worklist list = run();
    EXPECT_EQ(list.rows[2].estado, Estado::SinSolucion);
    EXPECT_EQ(list.rows[2].estadoTexto, QStringLiteral("Sin solución"));
    EXPECT_FALSE(list.rows[2].costoActual.has_value());
    // The stored mixes were empty: every ingredient of a new mix enters.
    EXPECT_EQ(list.rows[0].entran,
              (QStringList{QStringLiteral("Harina d'avena"), QStringLiteral("Soja")}));
    EXPECT_TRUE(list.rows[0].salen.isEmpty());
    EXPECT_EQ(*list.rows[0].costoAnterior, 0.0);
    EXPECT_FALSE(list.rows[0].variacion.has_value());
}

// Cancelling keeps the results of the runs that ended, and starts no other.
TEST_F(WorklistCatalog, CancelKeepsTheResultsSoFar) {
    worklist::Worklist list = readBase(tdb.conn(), 1);
    const std::vector<Reformulated> three = list.rows;
    for (int copy = 0; copy < 100; ++copy)
        list.rows.insert(list.rows.end(), three.begin(), three.end());
    worklist::ParallelRuns runs(list.rows, list.catalog, QLatin1Char('.'));
    runs.start(1);
    while (runs.finished() < 1)
        std::this_thread::yield();
    runs.cancel();
    runs.wait();
    const int ran = runs.finished();
    EXPECT_LT(ran, static_cast<int>(list.rows.size()));
    EXPECT_EQ(worklist::shownRows(list.rows).size(), static_cast<size_t>(ran));
    for (int i = 0; i < ran; ++i)
        EXPECT_NE(list.rows[static_cast<size_t>(i)].estado, Estado::Pendiente);
}

// Read block by block while the runs go on, the worklist gives every row what reading it whole
// first gives: a formula with an ingredient of another base (which the base's composition does
// not hold), a formula gone meanwhile, one without solution, on one thread and on two.
TEST_F(WorklistCatalog, ReadingInBlocksBesideTheRunsGivesTheSameRows) {
    SmallCatalog cat(tdb.conn());
    cat.ingredient(4, QStringLiteral("Afrechillo"), 0.05, 100);
    tdb.conn().execute(QStringLiteral("update productos set idBase=2 where id_producto=4"));
    cat.content(4, 1, 60);
    cat.formulaIngredient(2, 4, std::nullopt, std::nullopt);
    const std::vector<worklist::WorklistFormula> formulas =
        worklist::selectWorklist(tdb.conn(), worklist::WorklistFilter{});
    ASSERT_EQ(formulas.size(), 3u);
    std::vector<worklist::WorklistFormula> withGone = formulas;
    worklist::WorklistFormula gone;
    gone.idFormula = 77;
    gone.codigo = QStringLiteral("77");
    withGone.insert(withGone.begin() + 1, gone);
    worklist::Worklist whole = worklist::readWorklist(tdb.conn(), withGone, QLatin1Char('.'));
    worklist::runAll(whole, 1);
    EXPECT_EQ(whole.rows[3].estado, Estado::SinSolucion);
    EXPECT_TRUE(whole.rows[2].entran.contains(QStringLiteral("Afrechillo")));
    for (int threads : {1, 2}) {
        worklist::Worklist blocks = worklist::newWorklist(withGone, QLatin1Char('.'));
        worklist::WorklistReading reading(tdb.conn(), blocks, 1, 1);
        reading.readCatalog();
        worklist::ParallelRuns runs(blocks.rows, blocks.catalog, QLatin1Char('.'), 0);
        runs.start(threads);
        int blocksRead = 0;
        while (reading.readBlock()) {
            runs.makeAvailable(reading.rowsRead());
            ++blocksRead;
        }
        runs.wait();
        EXPECT_EQ(blocksRead, 4);
        // Only the formula with the other base's ingredient took a composition of its own.
        ASSERT_EQ(blocks.ownCatalogs.size(), 1u);
        EXPECT_NE(blocks.rows[2].composition, nullptr);
        for (size_t i = 0; i < whole.rows.size(); ++i) {
            SCOPED_TRACE(i);
            expectSameResult(blocks.rows[i], whole.rows[i]);
            EXPECT_EQ(blocks.rows[i].notas, whole.rows[i].notas);
        }
    }
    worklist::Worklist all = worklist::newWorklist(withGone, QLatin1Char('.'));
    worklist::readAndRunAll(tdb.conn(), all, 1, 2);
    for (size_t i = 0; i < whole.rows.size(); ++i)
        expectSameResult(all.rows[i], whole.rows[i]);
}

// "Grabar versiones": each marked optimal result becomes a new version dated today with the new
// mix; a formula whose save fails leaves nothing of it, and the others are saved.
TEST_F(WorklistCatalog, SavingNewVersionsOneFormulaAtATime) {
    worklist::Worklist list = run();
    for (Reformulated& row : list.rows)
        row.marcada = true;
    // The details of formula 2 are refused by the database.
    tdb.failOn(QStringLiteral("INSERT"), QStringLiteral("formula_producto"),
               QStringLiteral("(select codigo from formulas where id_formula=NEW.id_formula)=("
                              "select codigo from formulas where id_formula=2)"));
    const QDate today(2027, 3, 15);
    const worklist::VersionsSaved saved =
        worklist::saveNewVersions(tdb.conn(), list.rows, 1, today);
    EXPECT_EQ(saved.saved, 1);
    ASSERT_EQ(saved.failures.size(), 1u);
    EXPECT_EQ(saved.failures[0].codigo, QStringLiteral("2"));
    EXPECT_TRUE(saved.failures[0].motivo.contains(QStringLiteral("fallo")));
    EXPECT_EQ(list.rows[2].idFormulaNueva, 0); // without solution: never saved

    const int newId = list.rows[0].idFormulaNueva;
    ASSERT_GT(newId, 3);
    EXPECT_EQ(*list.rows[0].versionNueva, 2); // after the stored version 1
    const db::Result header =
        tdb.conn().query(QStringLiteral("select codigo,version,fecha_creacion,cantidad from "
                                        "formulas where id_formula=") +
                         QString::number(newId));
    EXPECT_EQ(header.value(0, 0).toString().trimmed(), QStringLiteral("1"));
    EXPECT_EQ(header.value(0, 1).toInt(), 2);
    EXPECT_EQ(header.value(0, 2).toString(), QStringLiteral("2027-03-15"));
    RecordingDesktop desk;
    const formulation::WorkingModel stored = loadFormula(tdb.conn(), newId, desk);
    EXPECT_NEAR(stored.vCostoHumeda, *list.rows[0].costoActual, 1e-12);
    // Formula 2 has no second version; formula 1's first version is untouched.
    EXPECT_EQ(tdb.conn().query(QStringLiteral("select * from formulas")).rowCount(), 4);
    EXPECT_EQ(loadFormula(tdb.conn(), 1, desk).vCostoHumeda, 0.0);
}

// The versions are saved a batch to a transaction: a stop asked for after the first formula
// keeps that one saved and writes no other.
TEST_F(WorklistCatalog, StoppingTheSaveKeepsTheVersionsSavedSoFar) {
    worklist::Worklist list = run();
    for (Reformulated& row : list.rows)
        row.marcada = true;
    int asked = 0;
    const worklist::VersionsSaved saved = worklist::saveNewVersions(
        tdb.conn(), list.rows, 1, QDate(2027, 3, 15), [&](int done, int total) {
            ++asked;
            EXPECT_EQ(done, 1);
            EXPECT_EQ(total, 2);
            return false;
        });
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(saved.cancelled);
    EXPECT_EQ(saved.saved, 1);
    EXPECT_GT(list.rows[0].idFormulaNueva, 3);
    EXPECT_EQ(list.rows[1].idFormulaNueva, 0);
    EXPECT_EQ(tdb.conn().query(QStringLiteral("select * from formulas")).rowCount(), 4);
}

// The grid sorts figures as figures, empty ones last; a rise is red, a fall green.
TEST_F(WorklistCatalog, GridSortsFiguresAndColoursTheChange) {
    worklist::Worklist list = run();
    list.rows[0].costoAnterior = 0.2;
    list.rows[0].variacion = 12.5;
    list.rows[1].variacion = -3.0;
    worklist::sortWorklist(list.rows, worklist::kColVariacion, true);
    EXPECT_EQ(list.rows[0].formula.idFormula, 2);
    EXPECT_EQ(list.rows[2].formula.idFormula, 3); // none: last
    worklist::sortWorklist(list.rows, worklist::kColVariacion, false);
    EXPECT_EQ(list.rows[0].formula.idFormula, 1);
    EXPECT_EQ(list.rows[2].formula.idFormula, 3);
    const grid::GridPaint paint = worklist::paintWorklist(list.rows, QLatin1Char(','));
    EXPECT_EQ(paint.cell(1, worklist::kColVariacion).text, QStringLiteral("12,50"));
    EXPECT_EQ(paint.cell(1, worklist::kColVariacion).background, grid::colors::outOfLimits);
    EXPECT_EQ(paint.cell(2, worklist::kColVariacion).background, grid::colors::differsFromCatalog);
    EXPECT_EQ(paint.cell(1, worklist::kColMarca).text, QStringLiteral("\u2610"));
    EXPECT_TRUE(paint.cell(3, worklist::kColMarca).text.isEmpty()); // no solution: no mark
}

} // namespace
} // namespace tarvela::test
