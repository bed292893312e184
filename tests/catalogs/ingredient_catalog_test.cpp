#include "catalog_fixture.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/ingredient_catalog.h"
#include "catalogs/ingredient_search.h"
#include "catalogs/list_grids.h"

namespace tarvela::test {
namespace {

using namespace catalogs;

class IngredientCatalog : public CatalogFixture {
protected:
    // "code name" of every ingredient the search lists, in the list's order.
    QStringList listed(const IngredientFilter& filter) {
        const IngredientSearch search = buildIngredientSearch(filter);
        EXPECT_FALSE(search.sql.isEmpty()) << search.refusal.message.toStdString();
        const grid::GridPaint paint =
            paintIngredientList(conn().query(search.sql + kOrderByNombre), QLatin1Char(','));
        QStringList lines;
        for (size_t r = 1; r < paint.rows.size(); ++r)
            lines << paint.rows[r][kIngCodigo].text + " " + paint.rows[r][kIngNombre].text;
        return lines;
    }

    static IngredientBoxes boxes(const QString& code = "105", const QString& price = "0,25",
                                 const QString& dryMatter = "88") {
        return {code, "Harina d'avena", "Kg", price, dryMatter};
    }
};

TEST_F(IngredientCatalog, SearchStatementPutsEveryCriterionInItsPlace) {
    IngredientFilter filter;
    filter.base = 2;
    filter.codeFrom = "10";
    filter.codeTo = "125";
    filter.description = " d'av ";
    filter.unit = "Kg";
    filter.costFrom = "0,1";
    filter.costTo = "1.5";
    filter.nutrientId = 7;
    filter.valueFrom = "18";
    filter.valueTo = "20,25";
    const IngredientSearch search = buildIngredientSearch(filter);
    EXPECT_TRUE(search.refusal.passed());
    EXPECT_EQ(search.sql,
              "select p.id_producto,p.codigo,p.nombre,p.unidad,Format(p.costo,'0.0000') as costo,"
              "p.materia_seca from productos p,producto_propiedad pp where idBase = 2"
              " and p.codigo>='                  10' and p.codigo<='                 125'"
              " and p.nombre like '%d''av%' and p.unidad='Kg' and p.costo>=0.1 and p.costo<=1.5"
              " and p.id_producto=pp.id_producto and pp.id_propiedad=7 and pp.valor>=18"
              " and pp.valor<=20.25");
    // Without a nutrient the value boxes are checked but not used.
    filter = {};
    filter.valueFrom = "3";
    EXPECT_EQ(buildIngredientSearch(filter).sql,
              "select p.id_producto,p.codigo,p.nombre,p.unidad,Format(p.costo,'0.0000') as costo,"
              "p.materia_seca from productos p where idBase = 1");
}

TEST_F(IngredientCatalog, SearchRefusesPricesThenValuesThatAreNotFiniteNumbers) {
    IngredientFilter filter;
    filter.costTo = "abc";
    filter.valueFrom = "x";
    auto refusal = buildIngredientSearch(filter).refusal;
    EXPECT_EQ(refusal.message, "El Precio de Costo debe ser numérico");
    EXPECT_EQ(refusal.field, IngredientFilterBox::CostTo);
    filter.costTo = " 2 ";
    refusal = buildIngredientSearch(filter).refusal;
    EXPECT_EQ(refusal.message, "El rango de Nutrientes debe ser numérico");
    EXPECT_EQ(refusal.field, IngredientFilterBox::ValueFrom);
    for (const char* odd : {"1e999", "nan", "inf", "1.2.3", "1,5,0"}) {
        filter = {};
        filter.costFrom = odd;
        EXPECT_EQ(buildIngredientSearch(filter).refusal.field, IngredientFilterBox::CostFrom)
            << odd;
    }
}

TEST_F(IngredientCatalog, SearchFindsOnlyTheCurrentBase) {
    addNutrient(1, "Proteína");
    addIngredient(1, "7", "Maíz", 1, 0.2);
    addIngredient(2, "10", "Harina d'avena", 1, 0.35);
    addIngredient(3, "125", "afrechillo", 1, 0.13, "%");
    addIngredient(4, "1000", "Soja", 1, 0.5);
    addIngredient(5, "10", "Maíz", 2, 0.2);
    addContent(1, 1, 9);
    addContent(2, 1, 12);
    addContent(3, 1, 15.5);
    IngredientFilter filter;
    EXPECT_EQ(listed(filter),
              QStringList({"125 afrechillo", "10 Harina d'avena", "7 Maíz", "1000 Soja"}));
    filter.codeFrom = "10";
    filter.codeTo = "125";
    EXPECT_EQ(listed(filter), QStringList({"125 afrechillo", "10 Harina d'avena"}));
    filter = {};
    filter.description = "d'AV";
    EXPECT_EQ(listed(filter), QStringList({"10 Harina d'avena"}));
    filter = {};
    filter.unit = "%";
    filter.costTo = "0,2";
    EXPECT_EQ(listed(filter), QStringList({"125 afrechillo"}));
    filter = {};
    filter.nutrientId = 1;
    EXPECT_EQ(listed(filter).size(), 3);
    filter.valueFrom = "10";
    filter.valueTo = "15,5";
    EXPECT_EQ(listed(filter), QStringList({"125 afrechillo", "10 Harina d'avena"}));
    filter.base = 2;
    EXPECT_TRUE(listed(filter).isEmpty());
}

TEST_F(IngredientCatalog, ListGridShowsCodesTrimmedAndRightAligned) {
    addIngredient(1, "7", "Maíz", 1, 0.2);
    const grid::GridPaint paint = paintIngredientList(
        conn().query(buildIngredientSearch({}).sql + kOrderByNombre), QLatin1Char('.'));
    ASSERT_EQ(paint.rows.size(), 2u);
    const QStringList headings = {"", "Código", "Descripción", "Unidad", "Costo", ""};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(paint.cell(0, c).text, headings[c]);
    EXPECT_EQ(paint.cell(1, kIngCodigo).text, "7");
    EXPECT_EQ(paint.cell(1, kIngCosto).text, "0.2000");
    EXPECT_TRUE(paint.columns[kIngCodigo].alignRight);
    EXPECT_TRUE(paint.columns[kIngCosto].alignRight);
    for (int hidden : {kIngId, kIngMateriaSeca})
        EXPECT_EQ(paint.columns[static_cast<size_t>(hidden)].widthTwips, 0);
    EXPECT_EQ(rowKey(paint.cell(1, kIngId).text), 1);
    EXPECT_EQ(rowKey(""), 0);
}

TEST_F(IngredientCatalog, ChecksInTheWindowsOrder) {
    const struct {
        IngredientBoxes boxes;
        IngredientField field;
        const char* message;
    } cases[] = {
        {{"", "", "", "", ""}, IngredientField::Code, "Debe ingresar el Código"},
        {{"1", " ", "", "", ""}, IngredientField::Description, "Debe ingresar la Descripción"},
        {{"1", "Maíz", "", "", ""}, IngredientField::Unit, "Debe ingresar la Unidad"},
        {{"1", "Maíz", "Kg", "", "x"},
         IngredientField::Price,
         "Debe ingresar el Costo por Unidad de Producto"},
        {{"1", "Maíz", "Kg", "1e999", ""},
         IngredientField::Price,
         "Debe ingresar el Costo por Unidad de Producto"},
        {{"1", "Maíz", "Kg", "-5", "88"},
         IngredientField::Price,
         "El Costo por Unidad de Producto no puede ser negativo"},
        {{"1", "Maíz", "Kg", "0,2", "nan"},
         IngredientField::DryMatter,
         "Debe ingresar el Porcentaje de Materia Seca del Producto"},
        {{"1", "Maíz", "Kg", "0,2", "100,01"},
         IngredientField::DryMatter,
         "El valor debe estar comprendido entre 0 y 100"},
        {{"1", "Maíz", "Kg", "0,2", "-1"},
         IngredientField::DryMatter,
         "El valor debe estar comprendido entre 0 y 100"},
    };
    for (const auto& c : cases) {
        const auto check = checkIngredient(c.boxes);
        EXPECT_EQ(check.message, QString::fromUtf8(c.message));
        EXPECT_EQ(check.field, c.field) << c.message;
    }
    EXPECT_TRUE(checkIngredient({"1", "Maíz", "Kg", "0,2", "100"}).passed());
    EXPECT_TRUE(checkIngredient({"1", "Maíz", "Kg", "0.2", "0"}).passed());
    EXPECT_TRUE(checkIngredient({"1", "Maíz", "Kg", "0", "0"}).passed());
}

// The question before deleting an item names how many formulas use it and the first ten codes.
TEST(UsedInFormulas, CountsEveryFormulaAndNamesTheFirstTen) {
    EXPECT_EQ(usedInFormulasText({"7"}), "se usa en 1 fórmula (7)");
    QStringList codes;
    for (int c = 1; c <= 12; ++c)
        codes << QString::number(c);
    EXPECT_EQ(usedInFormulasText(codes),
              "se usa en 12 fórmulas (1, 2, 3, 4, 5, 6, 7, 8, 9, 10 y 2 más)");
}

TEST_F(IngredientCatalog, CreatingStoresTheRowAndAZeroRowPerNutrient) {
    addNutrient(1, "Proteína");
    addNutrient(2, "Energía");
    addNutrient(3, "Calcio");
    addIngredient(4, "104", "Afrechillo", 1);
    addIngredient(5, "105", "Soja", 2);
    const IngredientCreation created = createIngredient(conn(), 1, boxes());
    EXPECT_FALSE(created.duplicateCode);
    EXPECT_EQ(created.id, 6);
    EXPECT_EQ(
        loadIngredient(conn(), 6, QLatin1Char(',')),
        (IngredientBoxes{QString(17, ' ') + "105", "Harina d'avena", "Kg", "0,2500", "88,00"}));
    EXPECT_EQ(count("select count(*) from producto_propiedad where id_producto=6 and valor=0"), 3);
    EXPECT_EQ(count("select idBase from productos where id_producto=6"), 1);
    EXPECT_EQ(lastIngredientCode(conn(), 1), QString(17, ' ') + "105");
    EXPECT_EQ(ingredientName(conn(), 6), "Harina d'avena");

    // The code is taken in base 1, whatever the blanks typed around it.
    EXPECT_TRUE(createIngredient(conn(), 1, boxes(" 104 ")).duplicateCode);
    EXPECT_EQ(count("select count(*) from productos"), 3);

    EXPECT_TRUE(updateIngredient(conn(), 6, {"999", "Avena", "Ton", "1.5", "90"}));
    EXPECT_EQ(loadIngredient(conn(), 6, QLatin1Char('.')),
              (IngredientBoxes{QString(17, ' ') + "105", "Avena", "Ton", "1.5000", "90.00"}));
    EXPECT_FALSE(updateIngredient(conn(), 60, boxes()));
    EXPECT_FALSE(loadIngredient(conn(), 60, QLatin1Char('.')).has_value());
}

TEST_F(IngredientCatalog, AFailureMidwayLeavesNoRowAtAll) {
    for (int n = 1; n <= 4; ++n)
        addNutrient(n, QStringLiteral("Nutriente %1").arg(n));
    failInsertsInto("producto_propiedad", "NEW.id_propiedad = 3");
    EXPECT_THROW(createIngredient(conn(), 1, boxes()), db::DbError);
    EXPECT_EQ(count("select count(*) from productos"), 0);
    EXPECT_EQ(count("select count(*) from producto_propiedad"), 0);
}

TEST_F(IngredientCatalog, DeletingKeepsTheFormulasRows) {
    addNutrient(1, "Proteína");
    addIngredient(1, "1", "Maíz");
    addIngredient(2, "2", "Soja");
    addContent(1, 1, 9);
    addContent(2, 1, 45);
    conn().execute("insert into formula_producto (id_formula,id_producto) values (1,2)");
    EXPECT_EQ(deleteIngredientQuestion("Soja"), "Desea eliminar el Ingrediente Soja ?");
    EXPECT_EQ(ingredientInUseQuestion("Soja"),
              "El Ingrediente << Soja >> posee nutrientes asignados\n\n"
              "¿Confirma la Eliminación del Ingrediente?");
    EXPECT_TRUE(ingredientHasNutrients(conn(), 2));
    deleteIngredient(conn(), 2);
    EXPECT_EQ(column("select id_producto from productos"), QStringList({"1"}));
    EXPECT_EQ(column("select id_producto from producto_propiedad"), QStringList({"1"}));
    EXPECT_EQ(count("select count(*) from formula_producto where id_producto=2"), 1);
}

TEST(IngredientBoxRules, ChangesAndNumberBoxes) {
    const IngredientBoxes saved{"105", "Maíz", "Kg", "0,2000", "88,00"};
    EXPECT_FALSE(ingredientChanged(saved, saved, QString("Kg")));
    EXPECT_FALSE(ingredientChanged(saved, {"105", "Maíz", "Kg", "0.2", "88"}, std::nullopt));
    EXPECT_TRUE(ingredientChanged(saved, {"106", "Maíz", "Kg", "0,2000", "88,00"}, std::nullopt));
    EXPECT_TRUE(ingredientChanged(saved, saved, QString("Ton")));
    EXPECT_TRUE(ingredientChanged(saved, {"105", "Maíz", "Kg", "0,21", "88"}, std::nullopt));
    EXPECT_TRUE(ingredientChanged(saved, {"105", "Maíz", "Kg", "0,2", "87"}, std::nullopt));
    // A price that is not a number, or nothing saved to compare with, is not a change.
    EXPECT_FALSE(ingredientChanged(saved, {"105", "Maíz", "Kg", "x", "88"}, std::nullopt));
    EXPECT_FALSE(ingredientChanged({}, {"", "", "", "0,5", "90"}, std::nullopt));

    EXPECT_EQ(priceBoxText("0,25", QLatin1Char(',')), "0,2500");
    EXPECT_EQ(priceBoxText("1.23456", QLatin1Char('.')), "1.2346");
    EXPECT_FALSE(priceBoxText("", QLatin1Char('.')).has_value());
    EXPECT_FALSE(priceBoxText("1e999", QLatin1Char('.')).has_value());
    EXPECT_EQ(dryMatterBoxText("88.456", QLatin1Char(',')), "88,46");
    EXPECT_EQ(dryMatterBoxText("ochenta", QLatin1Char(',')), "ochenta");
}

} // namespace
} // namespace tarvela::test
