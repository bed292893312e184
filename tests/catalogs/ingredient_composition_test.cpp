#include "catalog_fixture.h"

#include "catalogs/ingredient_composition.h"
#include "catalogs/list_grids.h"

namespace tarvela::test {
namespace {

using namespace catalogs;

class Composition : public CatalogFixture {
protected:
    // "name=value" of every line, in the window's order.
    QStringList lines(int ingredient, const QString& search = QString()) {
        const grid::GridPaint paint =
            paintComposition(conn().query(compositionListStatement(ingredient, search)));
        QStringList out;
        for (size_t r = 1; r < paint.rows.size(); ++r)
            out << paint.rows[r][kCompNombre].text + "=" + paint.rows[r][kCompValor].text;
        return out;
    }
};

TEST_F(Composition, HighestContentFirstTiesByNameZerosBlank) {
    addIngredient(1, "1", "Maíz");
    addIngredient(2, "2", "Vacío");
    addNutrient(1, "Proteína");
    addNutrient(2, "Calcio");
    addNutrient(3, "Fósforo");
    addNutrient(4, "Almidón d'oro");
    addContent(1, 1, 9.5);
    addContent(1, 2, 0);
    addContent(1, 3, 0);
    addContent(1, 4, 62.123456);
    addContent(2, 1, 0);
    EXPECT_EQ(lines(1),
              QStringList({"Almidón d'oro=62.12346", "Proteína=9.50000", "Calcio=", "Fósforo="}));
    EXPECT_EQ(lines(1, " d'O "), QStringList({"Almidón d'oro=62.12346"}));
    EXPECT_EQ(lines(2), QStringList({"Proteína="}));
    // No rows: one empty line, which names no nutrient.
    const grid::GridPaint none =
        paintComposition(conn().query(compositionListStatement(1, "inexistente")));
    ASSERT_EQ(none.rows.size(), 2u);
    EXPECT_EQ(rowKey(none.cell(1, kCompPropiedad).text), 0);
    EXPECT_EQ(none.cell(0, kCompValor).text, "Valor");
    EXPECT_TRUE(none.columns[kCompValor].alignRight);
}

TEST(CompositionEdit, EnterStoresEscapeDiscardsLeavingAsks) {
    const struct {
        const char* text;
        double before;
        EditKey key;
        EditStep step;
        double value;
    } cases[] = {
        {"2,5", 1, EditKey::Enter, EditStep::Store, 2.5},
        {"2.5", 1, EditKey::Escape, EditStep::Discard, 0},
        {"2.5", 1, EditKey::None, EditStep::Ask, 0},
        {"1,0", 1, EditKey::None, EditStep::Discard, 0}, // the same value: nothing to ask
        {"1", 1, EditKey::Enter, EditStep::Discard, 0},
        {"", 3, EditKey::Enter, EditStep::Store, 0},
        {"abc", 3, EditKey::Enter, EditStep::Refuse, 0},
        {"1e999", 3, EditKey::Enter, EditStep::Refuse, 0},
        {"abc", 3, EditKey::Escape, EditStep::Discard, 0},
        // Beyond what a run accepts is refused; negative contents stay allowed.
        {"100000000000000000000", 3, EditKey::Enter, EditStep::Refuse, 0},
        {"-1000000", 3, EditKey::Enter, EditStep::Store, -1000000},
        {"-0,5", 3, EditKey::Enter, EditStep::Store, -0.5},
    };
    for (const auto& c : cases) {
        const EditDecision decision = decideValueEdit(c.text, c.before, c.key);
        EXPECT_EQ(decision.step, c.step) << c.text;
        EXPECT_EQ(decision.value, c.value) << c.text;
    }
    EXPECT_EQ(decideValueEdit("1000000.5", 0, EditKey::Enter).message,
              "El valor debe estar entre -1000000 y 1000000");
    EXPECT_EQ(decideValueEdit("x", 0, EditKey::Enter).message, "El valor debe ser numérico");
    EXPECT_EQ(storeValueQuestion("2,5", "Calcio", QLatin1Char(',')),
              "Desea Grabar el Valor 2,50 para el Nutriente Calcio ?");
    EXPECT_EQ(storeValueQuestion("12.34567", "Calcio", QLatin1Char('.')),
              "Desea Grabar el Valor 12.34567 para el Nutriente Calcio ?");
    EXPECT_EQ(cellValue(""), 0);
    EXPECT_EQ(cellValue("9,50000"), 9.5);
}

TEST_F(Composition, StoreAddAndRemoveTouchOnlyTheirPair) {
    addIngredient(1, "1", "Maíz");
    addIngredient(2, "2", "Soja");
    addNutrient(1, "Proteína");
    addNutrient(2, "Calcio");
    addContent(1, 1, 9);
    addContent(2, 1, 45);
    storeCompositionValue(conn(), 1, 1, 9.75);
    EXPECT_EQ(scalar("select valor from producto_propiedad where id_producto=1").toDouble(), 9.75);
    EXPECT_EQ(scalar("select valor from producto_propiedad where id_producto=2").toDouble(), 45.0);

    EXPECT_FALSE(hasCompositionRow(conn(), 1, 2));
    addCompositionRow(conn(), 1, 2);
    EXPECT_TRUE(hasCompositionRow(conn(), 1, 2));
    EXPECT_EQ(lines(1), QStringList({"Proteína=9.75000", "Calcio="}));

    EXPECT_EQ(removeCompositionRowQuestion("Calcio"),
              "¿Confirma la eliminación del Nutriente Calcio para el Producto?");
    removeCompositionRow(conn(), 1, 1);
    EXPECT_EQ(lines(1), QStringList({"Calcio="}));
    EXPECT_EQ(lines(2), QStringList({"Proteína=45.00000"}));
    EXPECT_EQ(count("select count(*) from propiedades"), 2);
    EXPECT_EQ(count("select count(*) from productos"), 2);
}

} // namespace
} // namespace tarvela::test
