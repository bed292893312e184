#include "catalog_fixture.h"
#include "catalogs/premix_ingredient.h"
#include "formulation/loading.h"

namespace tarvela::test {
namespace {

using catalogs::IngredientBoxes;
using catalogs::MixComposition;

IngredientBoxes premixBoxes(const QString& code, double costo, double materiaSeca) {
    IngredientBoxes boxes = catalogs::premixProposal(costo, materiaSeca, QLatin1Char('.'));
    boxes.codigo = code;
    boxes.nombre = QStringLiteral("Premezcla");
    boxes.unidad = QStringLiteral("Kg");
    return boxes;
}

class PremixIngredient : public CatalogFixture {
protected:
    // One ingredient as a formulation row: its shares on both bases and its dry matter.
    static formulation::IngredientRow share(int id, double ms, double seca, double humeda) {
        formulation::IngredientRow row;
        row.id_producto = id;
        row.materia_seca = ms;
        row.costo_humeda = 0.2;
        row.porcentaje_seca = seca;
        row.porcentaje_humeda = humeda;
        return row;
    }

    formulation::WorkingModel mix(std::vector<formulation::IngredientRow> rows, bool secaIng,
                                  bool secaNut) {
        formulation::WorkingModel model;
        model.vSecaIng = secaIng;
        model.vSecaNut = secaNut;
        model.ingredients = std::move(rows);
        for (int id : {1, 2}) {
            formulation::NutrientRow n;
            n.id_propiedad = id;
            model.rsPropiedades.push_back(n);
        }
        formulation::actuResultados(model, conn(), QLatin1Char('.'));
        return model;
    }
};

TEST(PremixProposal, PriceToFourDecimalsAndDryMatterToTwoHalvesToEven) {
    const IngredientBoxes boxes = catalogs::premixProposal(0.123456, 87.6543, QLatin1Char(','));
    EXPECT_EQ(boxes.costo, QStringLiteral("0,1235"));
    EXPECT_EQ(boxes.materiaSeca, QStringLiteral("87,65"));
    EXPECT_TRUE(boxes.codigo.isEmpty() && boxes.nombre.isEmpty() && boxes.unidad.isEmpty());
    EXPECT_EQ(catalogs::premixProposal(0.00125, 87.625, QLatin1Char('.')).materiaSeca, "87.62");
    EXPECT_EQ(catalogs::premixProposal(0.00135, 87.635, QLatin1Char('.')).costo, "0.0014");
    EXPECT_EQ(catalogs::premixProposal(0.00125, 87.635, QLatin1Char('.')).costo, "0.0012");
}

// A formula made of nothing but the new ingredient reaches the nutrient values of the mix it
// came from, on every pair of bases the formulation window allows.
TEST_F(PremixIngredient, AFormulaOfOnlyThePremixReproducesTheMix) {
    addNutrient(1, "Proteína");
    addNutrient(2, "Calcio");
    conn().execute("insert into productos (id_producto,codigo,nombre,unidad,costo,materia_seca,"
                   "idBase) values (1,'1','Maíz','Kg',0.2,90,1),(2,'2','Pasto','Kg',0.1,50,1)");
    addContent(1, 1, 9);
    addContent(2, 1, 16);
    addContent(2, 2, 0.5);
    const std::pair<bool, bool> bases[] = {{true, true}, {false, true}, {false, false}};
    int code = 10;
    for (const auto& [secaIng, secaNut] : bases) {
        // 60/40 as fed with dry matter 90/50: 54 and 20 dry units.
        const formulation::WorkingModel source =
            mix({share(1, 90, 54.0 / 74, 0.6), share(2, 50, 20.0 / 74, 0.4)}, secaIng, secaNut);
        EXPECT_DOUBLE_EQ(source.vMateriaSeca, 74);
        MixComposition composition{{}, !secaNut};
        for (const auto& n : source.rsPropiedades)
            composition.nutrients.push_back({n.id_propiedad, n.valor});
        const auto created = catalogs::createPremixIngredient(
            conn(), 1,
            premixBoxes(QString::number(++code), source.vCostoHumeda, source.vMateriaSeca),
            composition);
        ASSERT_FALSE(created.duplicateCode);
        EXPECT_EQ(count(QStringLiteral("select count(*) from producto_propiedad where "
                                       "id_producto=%1")
                            .arg(created.id)),
                  2);

        const formulation::WorkingModel premix =
            mix({share(created.id, 74, 1, 1)}, secaIng, secaNut);
        for (size_t k = 0; k < 2; ++k)
            EXPECT_NEAR(*premix.rsPropiedades[k].valor, *source.rsPropiedades[k].valor, 1e-12)
                << secaIng << secaNut << k;
    }
}

TEST_F(PremixIngredient, ACodeOfAnyBaseAsStoredIsADuplicate) {
    addNutrient(1, "Proteína");
    addIngredient(1, "PRE-1", "Otra", 2);
    addIngredient(2, "12345678901234567890", "Larga", 1);
    const MixComposition mix{{{1, std::nullopt}}, false};
    EXPECT_TRUE(catalogs::createPremixIngredient(conn(), 1, premixBoxes(" PRE-1 ", 1, 80), mix)
                    .duplicateCode);
    // Stored in 20 characters, a longer code is the same code.
    EXPECT_TRUE(catalogs::createPremixIngredient(conn(), 1,
                                                 premixBoxes("1234567890123456789012", 1, 80), mix)
                    .duplicateCode);
    EXPECT_EQ(count("select count(*) from productos"), 2);

    const auto created =
        catalogs::createPremixIngredient(conn(), 3, premixBoxes("PRE-2", 1, 80), mix);
    ASSERT_FALSE(created.duplicateCode);
    EXPECT_EQ(
        scalar(QStringLiteral("select codigo from productos where id_producto=%1").arg(created.id))
            .toString(),
        db::rightAlignCode("PRE-2"));
    EXPECT_EQ(
        scalar(QStringLiteral("select idBase from productos where id_producto=%1").arg(created.id))
            .toInt(),
        3);
    // A value not computed yet is stored as 0.
    EXPECT_EQ(scalar("select valor from producto_propiedad").toDouble(), 0.0);
}

TEST_F(PremixIngredient, AFailureWhileStoringWritesNothing) {
    for (int id = 1; id <= 3; ++id)
        addNutrient(id, QStringLiteral("N%1").arg(id));
    failInsertsInto("producto_propiedad", "NEW.id_propiedad = 3");
    const MixComposition mix{{{1, 1.0}, {2, 2.0}, {3, 3.0}}, false};
    EXPECT_THROW(catalogs::createPremixIngredient(conn(), 1, premixBoxes("P", 1, 80), mix),
                 db::DbError);
    EXPECT_EQ(count("select count(*) from productos"), 0);
    EXPECT_EQ(count("select count(*) from producto_propiedad"), 0);
    EXPECT_FALSE(conn().inTransaction());
}

} // namespace
} // namespace tarvela::test
