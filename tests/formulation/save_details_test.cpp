#include "support/formula_fixture.h"

#include "formulas/formula_header.h"
#include "formulation/save_details.h"

namespace tarvela::test {
namespace {

using formulation::IngredientRow;
using formulation::NutrientRow;
using formulation::Opt;
using formulation::WorkingModel;

NutrientRow nutrient(int id, const QString& name, Opt minimo, Opt maximo, Opt valor) {
    NutrientRow row;
    row.id_propiedad = id;
    row.nombre = name;
    row.minimo = minimo;
    row.maximo = maximo;
    row.valor = valor;
    row.valorAnterior = 999; // not stored
    return row;
}

IngredientRow ingredient(int id, double share, Opt minimo = {}, Opt maximo = {}) {
    IngredientRow row;
    row.id_producto = id;
    row.nombre = QStringLiteral("I%1").arg(id);
    row.materia_seca = 80 + id;
    row.costo_humeda = 0.1 * id;
    row.costo_seca = 99; // computed, not stored
    row.minimo = minimo;
    row.maximo = maximo;
    row.porcentaje_humeda = share;
    row.porcentaje_seca = share / 2;
    row.cantidad_humeda = share * 1000;
    row.cantidad_seca = share * 500;
    return row;
}

class SaveDetailsTest : public FormulaFixture {
protected:
    SaveDetailsTest() { addFormula(1, "F", 0); }

    // "id:minimo:maximo:valor" per stored nutrient row, by key.
    QStringList storedNutrients(int formulaId) {
        const db::Result rows = conn().query(
            QStringLiteral("select id_propiedad,minimo,maximo,valor from formula_propiedad "
                           "where id_formula=%1 order by id_propiedad")
                .arg(formulaId));
        QStringList list;
        for (int r = 0; r < rows.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << (rows.value(r, c).isNull() ? "null" : rows.value(r, c).toString());
            list << cells.join(':');
        }
        return list;
    }

    QStringList storedIngredients(int formulaId) {
        const db::Result rows = conn().query(
            QStringLiteral("select id_producto,minimo,maximo,porcentaje_seca,porcentaje_humeda,"
                           "cantidad_seca,cantidad_humeda,materia_seca,costo from "
                           "formula_producto where id_formula=%1 order by id_producto")
                .arg(formulaId));
        QStringList list;
        for (int r = 0; r < rows.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rows.columnCount(); ++c)
                cells << (rows.value(r, c).isNull() ? "null" : rows.value(r, c).toString());
            list << cells.join(':');
        }
        return list;
    }

    WorkingModel model;
};

TEST_F(SaveDetailsTest, InsertsUpdatesAndDeletesByKey) {
    conn().execute("insert into formula_propiedad values (1,2,1,2,3),(1,4,1,2,3),(1,9,1,2,3)");
    conn().execute("insert into formula_producto (id_formula,id_producto,minimo) values "
                   "(1,3,5),(1,5,5),(1,8,5)");
    model.formulaId = 1;
    model.vSecaIng = false;
    model.rsPropiedades = {nutrient(9, "Zinc", 0.5, {}, 1.25), nutrient(1, "Agua", {}, 10, 4),
                           nutrient(4, "Calcio", 2, 3, 2.5), nutrient(6, "Fósforo", {}, {}, 0)};
    model.ingredients = {ingredient(8, 0.25, 10, 300), ingredient(1, 0.75, {}, {}),
                         ingredient(4, 0)};
    formulation::saveDetails(model, conn());

    EXPECT_EQ(storedNutrients(1),
              QStringList({"1:null:10:4", "4:2:3:2.5", "6:null:null:0", "9:0.5:null:1.25"}));
    EXPECT_EQ(storedIngredients(1),
              QStringList({"1:null:null:0.375:0.75:375:750:81:0.1", "4:null:null:0:0:0:0:84:0.4",
                           "8:10:300:0.125:0.25:125:250:88:0.8"}));

    // Afterwards the nutrients are in name order and the ingredients in display order.
    QStringList names;
    for (const auto& row : model.rsPropiedades)
        names << row.nombre;
    EXPECT_EQ(names, QStringList({"Agua", "Calcio", "Fósforo", "Zinc"}));
    EXPECT_EQ(model.ingredients.front().id_producto, 1);
    EXPECT_EQ(model.ingredients.back().id_producto, 4);
}

TEST_F(SaveDetailsTest, ClearedLimitsAreStoredAsNullAndNoNutrientsLeaveNoRows) {
    conn().execute("insert into formula_propiedad values (1,2,1,2,3),(1,4,1,2,3)");
    conn().execute("insert into formula_producto (id_formula,id_producto,minimo,maximo) values "
                   "(1,3,5,6)");
    model.formulaId = 1;
    model.ingredients = {ingredient(3, 1)};
    formulation::saveDetails(model, conn());
    EXPECT_TRUE(storedNutrients(1).isEmpty());
    ASSERT_EQ(storedIngredients(1).size(), 1);
    EXPECT_TRUE(storedIngredients(1)[0].startsWith("3:null:null:"));
}

TEST_F(SaveDetailsTest, OtherFormulasAreUntouched) {
    addFormula(2, "F", 1);
    conn().execute("insert into formula_propiedad values (1,2,1,2,3)");
    conn().execute("insert into formula_producto (id_formula,id_producto) values (1,3)");
    model.formulaId = 2;
    model.rsPropiedades = {nutrient(5, "N", 1, 2, 1.5)};
    model.ingredients = {ingredient(7, 1)};
    formulation::saveDetails(model, conn());
    EXPECT_EQ(storedNutrients(1), QStringList({"2:1:2:3"}));
    EXPECT_EQ(storedIngredients(1).size(), 1);
    EXPECT_EQ(storedNutrients(2), QStringList({"5:1:2:1.5"}));
}

// The header and the details written as the formulation window saves them, in one unit: a
// failure while writing the ingredients leaves everything as it was.
TEST_F(SaveDetailsTest, FailureInTheMiddleOfASaveLeavesTheDatabaseUnchanged) {
    conn().execute("insert into formula_propiedad values (1,2,1,2,3)");
    conn().execute("insert into formula_producto (id_formula,id_producto,minimo) values (1,3,5)");
    conn().execute("CREATE TRIGGER fallo BEFORE INSERT ON formula_producto "
                   "BEGIN SELECT RAISE(ABORT,'fallo'); END");
    current.formulaId = 1;
    model.formulaId = 1;
    model.rsPropiedades = {nutrient(5, "N", 1, 2, 1.5)};
    model.ingredients = {ingredient(7, 1)};

    {
        db::Transaction transaction(conn());
        formulas::FormulaHeaderEditor editor(conn(), desktop, current, true, true);
        ASSERT_TRUE(editor.load());
        const formulas::SaveResult saved =
            editor.confirm(QStringLiteral("G"), QStringLiteral("Nuevo"), true);
        ASSERT_EQ(saved.outcome, formulas::SaveOutcome::Confirmed);
        model.formulaId = formulas::writeHeader(conn(), editor.toWrite()).formulaId;
        EXPECT_THROW(formulation::saveDetails(model, conn()), db::DbError);
    }
    EXPECT_EQ(count("select count(*) from formulas"), 1);
    EXPECT_EQ(scalar("select trim(codigo) from formulas").toString(), "F");
    EXPECT_EQ(storedNutrients(1), QStringList({"2:1:2:3"}));
    EXPECT_EQ(count("select count(*) from formula_propiedad"), 1);
    EXPECT_EQ(storedIngredients(1).size(), 1);
}

} // namespace
} // namespace tarvela::test
