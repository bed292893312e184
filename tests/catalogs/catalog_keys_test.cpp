#include "catalog_fixture.h"

#include "catalogs/catalog_keys.h"
#include "catalogs/nutrient_catalog.h"
#include "db/keys.h"

namespace tarvela::test {
namespace {

using catalogs::Catalog;
using catalogs::nextCatalogKey;

using CatalogKeys = CatalogFixture;

TEST_F(CatalogKeys, EmptyCatalogsStartAtOneAndCleanOnesAtMaxPlusOne) {
    for (Catalog catalog : {Catalog::Nutrients, Catalog::Ingredients, Catalog::Customers})
        EXPECT_EQ(nextCatalogKey(conn(), catalog), 1);
    addNutrient(4, "Calcio");
    addIngredient(9, "9", "Maíz");
    addCustomer(3, "Tambo");
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Nutrients), 5);
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Ingredients), 10);
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Customers), 4);
}

// A deleted item's key stays with the formulas that still name it: the next item created does not
// inherit them.
TEST_F(CatalogKeys, KeysOfDeletedItemsThatFormulasNameAreNotGivenAgain) {
    addNutrient(1, "Proteína");
    addNutrient(2, "Fósforo");
    addIngredient(1, "1", "Maíz");
    addIngredient(2, "2", "Soja");
    addFormula(1, "100", 0, 1, "Recría", 5);
    conn().execute("insert into formula_propiedad (id_formula,id_propiedad) values (1,2)");
    conn().execute("insert into formula_producto (id_formula,id_producto) values (1,2)");
    conn().execute("delete from propiedades where id_propiedad=2");
    conn().execute("delete from productos where id_producto=2");
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Nutrients), 3);
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Ingredients), 3);
    // The customer of a formula, and the saved customer filter.
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Customers), 6);
    conn().execute("update parametros set idCliente=8");
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Customers), 9);
    // Composition rows left of an ingredient count too.
    addContent(7, 1, 0.5);
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Ingredients), 8);
}

TEST_F(CatalogKeys, SixteenBitCeilingIsCheckedBeforeAnythingIsWritten) {
    addNutrient(32766, "Penúltimo");
    addIngredient(1, "1", "Maíz");
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Nutrients), 32767);
    conn().execute("insert into formula_propiedad (id_formula,id_propiedad) values (1,32767)");
    EXPECT_THROW(nextCatalogKey(conn(), Catalog::Nutrients), db::KeyError);
    EXPECT_THROW(catalogs::createNutrient(conn(), {"Nuevo", "%"}), db::KeyError);
    EXPECT_EQ(count("select count(*) from propiedades"), 1);
    EXPECT_EQ(count("select count(*) from producto_propiedad"), 0);
    // Customers travel as 32-bit values.
    addCustomer(40000, "Grande");
    EXPECT_EQ(nextCatalogKey(conn(), Catalog::Customers), 40001);
}

} // namespace
} // namespace tarvela::test
