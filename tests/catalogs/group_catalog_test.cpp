#include "catalog_fixture.h"

#include "catalogs/group_catalog.h"
#include "catalogs/ingredient_catalog.h"
#include "catalogs/nutrient_catalog.h"

namespace tarvela::test {
namespace {

using namespace catalogs;

class GroupCatalog : public CatalogFixture {
protected:
    void SetUp() override {
        addIngredient(1, "101", "Maíz");
        addIngredient(2, "102", "Sorgo");
        addIngredient(3, "103", "Soja");
        addIngredient(4, "201", "Maíz", 2);
    }
    GroupRecord cereals() { return {"Cereales", {{1, "101", "Maíz"}, {2, "102", "Sorgo"}}}; }
};

// Created, listed by base with its member count, loaded, renamed with other members; names
// with quotes are stored as typed.
TEST_F(GroupCatalog, CreatedListedLoadedAndUpdated) {
    EXPECT_EQ(checkGroup({"  ", {}}).message, "Debe ingresar el Nombre");
    const int id = createGroup(conn(), 1, cereals());
    EXPECT_EQ(id, 1);
    createGroup(conn(), 2, {"Cereales", {{4, "201", "Maíz"}}});
    EXPECT_EQ(column(groupListStatement(1, "cere")), QStringList({"1"}));
    EXPECT_EQ(conn().query(groupListStatement(1, QString())).value(0, "miembros").toInt(), 2);
    EXPECT_TRUE(column(groupListStatement(1, "x'y")).isEmpty());
    EXPECT_EQ(loadGroup(conn(), id), cereals());

    GroupRecord changed{"Granos d'invierno", {{3, "103", "Soja"}}};
    updateGroup(conn(), id, changed, groupStamp(conn(), id));
    EXPECT_EQ(loadGroup(conn(), id), changed);
    EXPECT_THROW(updateGroup(conn(), 99, changed, QString()), db::DbError);
    EXPECT_FALSE(loadGroup(conn(), 99).has_value());
}

// A failed write leaves nothing half done; a new key never reuses one that formulas still name.
TEST_F(GroupCatalog, OneTransactionPerChangeAndKeysPastThoseReferenced) {
    conn().execute("insert into formula_grupo values (7,5,null,600,null)");
    failInsertsInto("grupo_producto", "NEW.id_producto = 2");
    EXPECT_THROW(createGroup(conn(), 1, cereals()), db::DbError);
    EXPECT_TRUE(column("select id_grupo from grupos").isEmpty());
    database.stopFailing("INSERT", "grupo_producto");
    EXPECT_EQ(createGroup(conn(), 1, cereals()), 6);
}

// Deleting a group used by formulas names how many; its limits go with it. Deleting an
// ingredient takes it out of its groups; deleting a nutrient of a ratio names the formulas.
TEST_F(GroupCatalog, DeletionsKeepNoDanglingRows) {
    const int id = createGroup(conn(), 1, cereals());
    conn().execute("insert into formula_grupo values (1,1,null,600,null),(2,1,100,null,null)");
    EXPECT_EQ(formulasUsingGroup(conn(), id), 2);
    EXPECT_EQ(groupInUseQuestion("Cereales", 2),
              "El Grupo << Cereales >> se usa en 2 fórmulas\n\nSus límites se quitarán de esas "
              "fórmulas. ¿Confirma la Eliminación del Grupo?");

    deleteIngredient(conn(), 2);
    EXPECT_EQ(column("select id_producto from grupo_producto"), QStringList({"1"}));

    deleteGroup(conn(), id);
    EXPECT_TRUE(column("select id_grupo from grupos").isEmpty());
    EXPECT_TRUE(column("select id_grupo from grupo_producto").isEmpty());
    EXPECT_TRUE(column("select id_grupo from formula_grupo").isEmpty());

    addNutrient(9, "Calcio");
    addNutrient(11, "Fósforo disp.");
    conn().execute("insert into formula_relacion values (1,9,11,1.5,2,null),(3,9,11,1.5,2,null)");
    EXPECT_EQ(formulasWithRatioOf(conn(), 11), 2);
    EXPECT_EQ(formulasWithRatioOf(conn(), 1), 0);
    deleteNutrient(conn(), 11);
    EXPECT_TRUE(column("select id_formula from formula_relacion").isEmpty());
}

} // namespace
} // namespace tarvela::test
