// Two workstations on one catalog: a save never overwrites a change it did not see, new keys
// never collide, and every change is recorded with who made it, in the change's transaction.
#include "catalogs/customer_catalog.h"
#include "catalogs/group_catalog.h"
#include "catalogs/ingredient_catalog.h"
#include "catalogs/ingredient_composition.h"
#include "catalogs/nutrient_catalog.h"
#include "db/change_log.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>

using namespace tarvela;
using tarvela::test::TestDatabase;

namespace {

class ChangeLog : public ::testing::Test {
protected:
    QVariant scalar(db::Connection& conn, const QString& sql) {
        const db::Result r = conn.query(sql);
        return r.isEmpty() ? QVariant() : r.value(0, 0);
    }

    TestDatabase database{TestDatabase::Contents::Demo};
};

TEST_F(ChangeLog, TheSecondSaveOfOneIngredientIsRefusedAndNothingIsLost) {
    db::Connection& first = database.conn();
    auto second = database.openAnother();
    const auto boxes = *catalogs::loadIngredient(first, 1, QLatin1Char('.'));
    const QString stampFirst = catalogs::ingredientStamp(first, 1);
    const QString stampSecond = catalogs::ingredientStamp(*second, 1);

    catalogs::IngredientBoxes mine = boxes;
    mine.nombre = "Maíz partido";
    catalogs::updateIngredient(first, 1, mine, stampFirst);

    catalogs::IngredientBoxes theirs = boxes;
    theirs.costo = "9.5";
    try {
        catalogs::updateIngredient(*second, 1, theirs, stampSecond);
        FAIL() << "the second save was not refused";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.failure(), db::DbFailure::Changed);
        EXPECT_TRUE(error.toldToUser());
        EXPECT_TRUE(error.description().startsWith("El registro fue modificado por " +
                                                   first.userName() + " el "))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().endsWith("; vuelva a abrirlo para ver los cambios."));
    }
    const auto stored = *catalogs::loadIngredient(*second, 1, QLatin1Char('.'));
    EXPECT_EQ(stored.nombre, "Maíz partido");
    EXPECT_EQ(stored.costo, boxes.costo);

    // Opened again, the second workstation saves over what it now sees.
    theirs.nombre = stored.nombre;
    catalogs::updateIngredient(*second, 1, theirs, catalogs::ingredientStamp(*second, 1));
    EXPECT_EQ(catalogs::loadIngredient(first, 1, QLatin1Char('.'))->costo, "9.5000");

    // A nutrient deleted meanwhile is refused too.
    const QString nutrientStamp = catalogs::nutrientStamp(*second, 1);
    catalogs::deleteNutrient(first, 1);
    EXPECT_THROW(catalogs::updateNutrient(*second, 1, {"Otro", "%"}, nutrientStamp), db::DbError);
    EXPECT_FALSE(catalogs::loadNutrient(first, 1).has_value());
}

TEST_F(ChangeLog, EveryChangeIsRecordedNewestFirst) {
    db::Connection& conn = database.conn();
    const int id = catalogs::createCustomer(conn, {"Tambo", "Ruta 5", "", "", ""});
    catalogs::updateCustomer(conn, id, {"Tambo d'Or", "Ruta 5", "", "", ""},
                             catalogs::customerStamp(conn, id));
    ASSERT_EQ(catalogs::deleteCustomer(conn, id), catalogs::CustomerDeletion::Deleted);

    const auto history = db::changeHistory(conn, "clientes", QString::number(id));
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].accion, "baja");
    EXPECT_EQ(history[1].accion, "modificación");
    EXPECT_EQ(history[1].detalle, "nombre: \"Tambo\" → \"Tambo d'Or\"");
    EXPECT_EQ(history[2].accion, "alta");
    EXPECT_TRUE(history[2].detalle.contains("nombre: \"Tambo\""))
        << history[2].detalle.toStdString();
    for (const auto& record : history)
        EXPECT_EQ(record.usuario, conn.userName());
    EXPECT_FALSE(conn.userName().isEmpty());

    // Composition values are part of the ingredient's record.
    catalogs::storeCompositionValue(conn, 2, 3, 12.5);
    const auto ingredient = db::changeHistory(conn, "productos", "2");
    ASSERT_FALSE(ingredient.empty());
    EXPECT_TRUE(ingredient[0].detalle.startsWith("composición "))
        << ingredient[0].detalle.toStdString();
    EXPECT_TRUE(ingredient[0].detalle.endsWith(" → 12.5"));
}

TEST_F(ChangeLog, GroupsAreStampedAndRecordedWithTheirMembers) {
    db::Connection& first = database.conn();
    auto second = database.openAnother();
    const int id = catalogs::createGroup(first, 1, {"Harinas", {{1, "", ""}}});
    const QString stampSecond = catalogs::groupStamp(*second, id);
    catalogs::GroupRecord group = *catalogs::loadGroup(first, id);
    const QString code = group.miembros.at(0).codigo;
    group.nombre = "Harinas d'oleaginosas";
    catalogs::updateGroup(first, id, group, catalogs::groupStamp(first, id));
    EXPECT_THROW(catalogs::updateGroup(*second, id, {"Otro", {}}, stampSecond), db::DbError);
    EXPECT_EQ(*catalogs::loadGroup(first, id), group);

    group.miembros.clear();
    catalogs::updateGroup(first, id, group, catalogs::groupStamp(first, id));
    const auto history = db::changeHistory(first, "grupos", QString::number(id));
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].detalle, "ingredientes: " + code + " → ");
    EXPECT_EQ(history[1].detalle, "nombre: \"Harinas\" → \"Harinas d'oleaginosas\"");
    EXPECT_EQ(history[2].accion, "alta");
}

TEST_F(ChangeLog, TheRecordGoesAndComesWithItsChange) {
    db::Connection& conn = database.conn();
    const QString count = "select count(*) from auditoria";
    const int before = scalar(conn, count).toInt();
    {
        db::Transaction unit(conn);
        catalogs::updateNutrient(conn, 2, {"Proteína bruta", "%"},
                                 catalogs::nutrientStamp(conn, 2));
        EXPECT_EQ(scalar(conn, count).toInt(), before + 1);
    } // not committed
    EXPECT_EQ(scalar(conn, count).toInt(), before);
    EXPECT_NE(catalogs::loadNutrient(conn, 2)->nombre, "Proteína bruta");

    // A save that fails halfway keeps neither its rows nor its record.
    database.failOn("INSERT", "producto_propiedad");
    EXPECT_THROW(catalogs::createNutrient(conn, {"Nuevo", "%"}), db::DbError);
    EXPECT_EQ(scalar(conn, count).toInt(), before);
}

// Two workstations adding nutrients at once: each key is computed after the other's row is in.
TEST_F(ChangeLog, NewKeysOfTwoWorkstationsNeverCollide) {
    const int rounds = 4;
    std::vector<int> keys;
    std::mutex guard;
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; ++w)
        workers.emplace_back([&, w] {
            auto conn = database.openAnother();
            for (int r = 0; r < rounds; ++r) {
                const int key = catalogs::createNutrient(
                    *conn, {QStringLiteral("N%1-%2").arg(w).arg(r), QStringLiteral("%")});
                std::lock_guard<std::mutex> lock(guard);
                keys.push_back(key);
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
    EXPECT_EQ(keys.size(), 2u * rounds);
}

} // namespace
