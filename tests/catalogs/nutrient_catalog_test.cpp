#include "catalog_fixture.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/list_grids.h"
#include "catalogs/nutrient_catalog.h"

namespace tarvela::test {
namespace {

using namespace catalogs;

class NutrientCatalog : public CatalogFixture {
protected:
    QStringList listed(const QString& description) {
        const grid::GridPaint paint =
            paintNutrientList(conn().query(nutrientListStatement(description) + kOrderByNombre));
        QStringList names;
        for (size_t r = 1; r < paint.rows.size(); ++r)
            names << paint.rows[r][kNutNombre].text + "/" + paint.rows[r][kNutUnidad].text;
        return names;
    }
};

TEST_F(NutrientCatalog, ListSearchesAFragmentOrderedByDescription) {
    addNutrient(1, "Proteína Bruta");
    addNutrient(2, "Energía Metabolizable", "Mcal/kg");
    addNutrient(3, "proteína de sobrepaso");
    addNutrient(4, "Harina d'avena");
    EXPECT_EQ(nutrientListStatement("  pro "),
              "select p.id_propiedad,p.nombre,p.unidad from propiedades p where true and "
              "nombre like '%pro%'");
    EXPECT_EQ(listed(QString()), QStringList({"Energía Metabolizable/Mcal/kg", "Harina d'avena/%",
                                              "Proteína Bruta/%", "proteína de sobrepaso/%"}));
    EXPECT_EQ(listed("PROTEÍNA"), QStringList({"Proteína Bruta/%", "proteína de sobrepaso/%"}));
    EXPECT_EQ(listed("d'av"), QStringList({"Harina d'avena/%"}));
    EXPECT_TRUE(listed("inexistente").isEmpty());
}

TEST_F(NutrientCatalog, ChecksDescriptionThenUnit) {
    EXPECT_EQ(checkNutrient({"", ""}).message, "Debe ingresar la Descripción");
    EXPECT_EQ(checkNutrient({"  ", "%"}).field, NutrientField::Description);
    const auto unit = checkNutrient({"Calcio", ""});
    EXPECT_EQ(unit.message, "Debe ingresar la Unidad");
    EXPECT_EQ(unit.field, NutrientField::Unit);
    EXPECT_TRUE(checkNutrient({"Calcio", "%"}).passed());
}

TEST_F(NutrientCatalog, CreatingGivesEveryIngredientOfEveryBaseAZeroRow) {
    addNutrient(1, "Proteína");
    for (int i = 1; i <= 40; ++i)
        addIngredient(i, QString::number(i), QStringLiteral("Ingrediente %1").arg(i), 1 + i % 3);
    const int id = createNutrient(conn(), {"Calcio d'origen", "%"});
    EXPECT_EQ(id, 2);
    EXPECT_EQ(loadNutrient(conn(), id)->nombre, "Calcio d'origen");
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_propiedad=2 and valor=0"),
              40);
    EXPECT_TRUE(nutrientHasIngredients(conn(), id));

    updateNutrient(conn(), id, {"Calcio", "mg"}, nutrientStamp(conn(), id));
    EXPECT_EQ(loadNutrient(conn(), id), (NutrientRecord{"Calcio", "mg"}));
    EXPECT_THROW(updateNutrient(conn(), 99, {"Calcio", "mg"}, QString()), db::DbError);
    EXPECT_FALSE(loadNutrient(conn(), 99).has_value());
}

TEST_F(NutrientCatalog, AFailureMidwayLeavesNoRowAtAll) {
    for (int i = 1; i <= 5; ++i)
        addIngredient(i, QString::number(i), "Ingrediente");
    failInsertsInto("producto_propiedad", "NEW.id_producto = 4");
    EXPECT_THROW(createNutrient(conn(), {"Calcio", "%"}), db::DbError);
    EXPECT_EQ(count("select count(*) from propiedades"), 0);
    EXPECT_EQ(count("select count(*) from producto_propiedad"), 0);
    EXPECT_FALSE(conn().inTransaction());
}

TEST_F(NutrientCatalog, DeletingKeepsTheFormulasRows) {
    addNutrient(1, "Proteína");
    addNutrient(2, "Calcio");
    addIngredient(1, "1", "Maíz");
    addContent(1, 1, 9);
    addContent(1, 2, 0.1);
    conn().execute("insert into formula_propiedad (id_formula,id_propiedad) values (1,2)");
    EXPECT_EQ(deleteNutrientQuestion("Calcio"), "Desea eliminar el Nutriente Calcio ?");
    EXPECT_EQ(nutrientInUseQuestion("Calcio"),
              "El Nutriente << Calcio >> posee Ingredientes asignados\n\n"
              "¿Confirma la Eliminación del Nutriente?");
    deleteNutrient(conn(), 2);
    EXPECT_EQ(column("select id_propiedad from propiedades"), QStringList({"1"}));
    EXPECT_EQ(column("select id_propiedad from producto_propiedad"), QStringList({"1"}));
    EXPECT_EQ(count("select count(*) from formula_propiedad where id_propiedad=2"), 1);
    EXPECT_FALSE(nutrientHasIngredients(conn(), 2));
}

TEST(NutrientChanges, DescriptionOrAChosenUnitThatDiffers) {
    const NutrientRecord saved{"Calcio", "%"};
    EXPECT_FALSE(nutrientChanged(saved, "Calcio", QString("%")));
    EXPECT_FALSE(nutrientChanged(saved, "Calcio", std::nullopt));
    EXPECT_TRUE(nutrientChanged(saved, "Calcio ", std::nullopt));
    EXPECT_TRUE(nutrientChanged(saved, "Calcio", QString("mg")));
    EXPECT_FALSE(nutrientChanged({}, "", std::nullopt));
}

} // namespace
} // namespace tarvela::test
