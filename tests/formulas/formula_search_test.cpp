#include "support/formula_fixture.h"

#include "formulas/formula_list_grid.h"
#include "formulas/formula_search.h"

namespace tarvela::test {
namespace {

using formulas::buildSearchStatement;
using formulas::FilterBox;
using formulas::SearchFilter;

const QLocale kDayFirst(QLocale::Spanish, QLocale::Argentina);
const QLocale kMonthFirst(QLocale::English, QLocale::UnitedStates);

TEST(FormulaSearchStatement, WorkedExample) {
    SearchFilter filter;
    filter.base = 2;
    filter.codeFrom = QStringLiteral("100");
    filter.product = QStringLiteral("MAIZ");
    filter.nutrientId = 7;
    filter.valueFrom = QStringLiteral("18");
    const auto statement = buildSearchStatement(filter, kDayFirst);
    EXPECT_EQ(statement.invalid, FilterBox::None);
    EXPECT_EQ(statement.sql,
              "SELECT f.id_formula,f.codigo,f.producto,f.cantidad,f.version,"
              "Format(f.fecha_creacion,'dd/mm/yyyy') as fecha_Creacion,"
              "Format(f.fecha_modificacion,'dd/mm/yyyy') as fecha_Modificacion, c.nombre FROM "
              " (  (Formulas f LEFT JOIN clientes c ON f.idcliente=c.idcliente) "
              " INNER JOIN formula_propiedad fn ON f.id_formula=fn.id_formula) "
              " WHERE idBase = 2 AND f.codigo>='                 100'"
              " AND f.producto LIKE '%MAIZ%'"
              " and fn.id_propiedad=7 and fn.valor>=18"
              " ORDER BY f.fecha_modificacion DESC");
}

TEST(FormulaSearchStatement, EveryFilterInItsPlace) {
    SearchFilter filter;
    filter.codeTo = QStringLiteral("2");
    filter.product = QStringLiteral(" d'avena ");
    filter.createdFrom = QStringLiteral("31/12/2025");
    filter.createdTo = QStringLiteral("1/2/26");
    filter.modifiedFrom = QStringLiteral("2026-03-04");
    filter.modifiedTo = QStringLiteral("05-03-2026");
    filter.nutrientId = 3;
    filter.valueFrom = QStringLiteral("1,5");
    filter.valueTo = QStringLiteral("2.25");
    filter.ingredientId = 11;
    filter.customerId = 4;
    const QString sql = buildSearchStatement(filter, kDayFirst).sql;
    EXPECT_TRUE(sql.contains(" (  ( "
                             " (Formulas f LEFT JOIN clientes c ON f.idcliente=c.idcliente) "
                             " INNER JOIN formula_propiedad fn ON f.id_formula=fn.id_formula) "
                             " INNER JOIN formula_producto fi ON f.id_formula=fi.id_formula) "
                             " WHERE idBase = 1"))
        << sql.toStdString();
    EXPECT_TRUE(sql.endsWith(
        " AND f.codigo<='                   2' AND f.producto LIKE '%d''avena%'"
        " and f.fecha_creacion>=#12/31/2025#"
        " and (f.fecha_creacion<=#02/01/2026# or (f.fecha_creacion IS NULL))"
        " and f.fecha_modificacion>=#03/04/2026#"
        " and (f.fecha_modificacion<=#03/05/2026# or (f.fecha_modificacion IS NULL))"
        " and fn.id_propiedad=3 and fn.valor>=1.5 and fn.valor<=2.25"
        " and fi.id_producto=11 AND f.idCliente = 4 ORDER BY f.fecha_modificacion DESC"))
        << sql.toStdString();
}

TEST(FormulaSearchStatement, RefusedBoxes) {
    SearchFilter filter;
    filter.createdFrom = QStringLiteral("1/1/2026");
    filter.modifiedFrom = QStringLiteral("31/02/2026");
    filter.modifiedTo = QStringLiteral("hoy");
    auto statement = buildSearchStatement(filter, kDayFirst);
    EXPECT_TRUE(statement.sql.isEmpty());
    EXPECT_EQ(statement.invalid, FilterBox::ModifiedFrom);
    EXPECT_EQ(statement.message, "La fecha no es Válida");

    SearchFilter values;
    values.nutrientId = 2;
    values.valueFrom = QStringLiteral("5");
    values.valueTo = QStringLiteral("abc");
    statement = buildSearchStatement(values, kDayFirst);
    EXPECT_EQ(statement.invalid, FilterBox::ValueTo);
    EXPECT_EQ(statement.message, "Debe ingresar un valor numérico Válido");

    values.nutrientId = 0; // the value boxes count only with a nutrient
    EXPECT_EQ(buildSearchStatement(values, kDayFirst).invalid, FilterBox::None);
}

TEST(FormulaSearchStatement, DatesFollowTheWorkstationOrder) {
    EXPECT_EQ(formulas::parseUserDate("03/04/2026", kDayFirst), QDate(2026, 4, 3));
    EXPECT_EQ(formulas::parseUserDate("03/04/2026", kMonthFirst), QDate(2026, 3, 4));
    EXPECT_EQ(formulas::parseUserDate("2026-04-03", kMonthFirst), QDate(2026, 4, 3));
    EXPECT_EQ(formulas::parseUserDate("1/2/99", kDayFirst), QDate(1999, 2, 1));
    EXPECT_FALSE(formulas::parseUserDate("13/13/2026", kDayFirst));
    EXPECT_FALSE(formulas::parseUserDate("29/02/2025", kDayFirst));
    EXPECT_FALSE(formulas::parseUserDate("1/2", kDayFirst));
    EXPECT_TRUE(formulas::isValidDateBox("   ", kDayFirst));
}

class FormulaSearchTest : public FormulaFixture {
protected:
    QStringList codes(const SearchFilter& filter) {
        const auto statement = buildSearchStatement(filter, kDayFirst);
        EXPECT_FALSE(statement.sql.isEmpty());
        const db::Result result = conn().query(statement.sql);
        QStringList list;
        for (int r = 0; r < result.rowCount(); ++r)
            list << result.value(r, "codigo").toString().trimmed() + "/" +
                        result.value(r, "version").toString();
        list.sort();
        return list;
    }
};

TEST_F(FormulaSearchTest, CodeBoundsCompareTheAlignedCodes) {
    addFormula(1, "99", 0);
    addFormula(2, "100", 0);
    addFormula(3, "1000", 0);
    addFormula(4, "5000", 0, 2);
    SearchFilter filter;
    filter.codeFrom = QStringLiteral("100");
    EXPECT_EQ(codes(filter), QStringList({"100/0", "1000/0"}));
    filter.codeFrom.clear();
    filter.codeTo = QStringLiteral("100");
    EXPECT_EQ(codes(filter), QStringList({"100/0", "99/0"}));
}

TEST_F(FormulaSearchTest, UpperDateBoundsKeepNullDatesLowerBoundsDropThem) {
    addFormula(1, "A", 0, 1, "P", 0, "#01/10/2026#", "#01/10/2026#");
    addFormula(2, "B", 0, 1, "P", 0, "null", "null");
    addFormula(3, "C", 0, 1, "P", 0, "#06/10/2026#", "#06/10/2026#");
    SearchFilter filter;
    filter.createdTo = QStringLiteral("31/01/2026");
    EXPECT_EQ(codes(filter), QStringList({"A/0", "B/0"}));
    filter = {};
    filter.createdFrom = QStringLiteral("01/01/2026");
    EXPECT_EQ(codes(filter), QStringList({"A/0", "C/0"}));
    filter = {};
    filter.modifiedTo = QStringLiteral("10/01/2026");
    EXPECT_EQ(codes(filter), QStringList({"A/0", "B/0"}));
    filter = {};
    filter.modifiedFrom = QStringLiteral("11/01/2026");
    EXPECT_EQ(codes(filter), QStringList({"C/0"}));
}

TEST_F(FormulaSearchTest, ProductNutrientIngredientAndCustomerFilters) {
    addCustomer(5, QStringLiteral("Cliente 5"));
    addFormula(1, "A", 0, 1, QStringLiteral("Maíz y d'avena"), 5);
    addFormula(2, "B", 0, 1, QStringLiteral("Sorgo"));
    conn().execute("insert into formula_propiedad (id_formula,id_propiedad,minimo,maximo,valor) "
                   "values (1,7,null,null,20),(2,7,null,null,12)");
    conn().execute("insert into formula_producto (id_formula,id_producto) values (2,30)");

    SearchFilter filter;
    filter.product = QStringLiteral("MAÍZ Y D'AV");
    EXPECT_EQ(codes(filter), QStringList({"A/0"}));

    filter = {};
    filter.nutrientId = 7;
    EXPECT_EQ(codes(filter), QStringList({"A/0", "B/0"}));
    filter.valueTo = QStringLiteral("15");
    EXPECT_EQ(codes(filter), QStringList({"B/0"}));

    filter = {};
    filter.ingredientId = 30;
    EXPECT_EQ(codes(filter), QStringList({"B/0"}));

    filter = {};
    filter.customerId = 5;
    EXPECT_EQ(codes(filter), QStringList({"A/0"}));
}

TEST_F(FormulaSearchTest, GridShowsTrimmedCodesAndHidesIdentifiers) {
    addCustomer(5, QStringLiteral("Cliente 5"));
    addFormula(1, "A1", 2, 1, QStringLiteral("Pollos"), 5);
    const db::Result result = conn().query(buildSearchStatement({}, kDayFirst).sql);
    const auto paint = formulas::paintFormulaList(result, QLatin1Char(','));
    ASSERT_EQ(paint.rows.size(), 2u);
    EXPECT_EQ(paint.cell(0, 1).text, "Código");
    EXPECT_EQ(paint.cell(0, 6).text, "Modificada");
    EXPECT_EQ(paint.cell(0, 3).background, QColor(128, 128, 128));
    EXPECT_EQ(paint.cell(0, 3).foreground, QColor(255, 255, 255));
    EXPECT_EQ(paint.cell(1, 0).text, "1");
    EXPECT_EQ(paint.cell(1, 1).text, "A1");
    EXPECT_EQ(paint.cell(1, 4).text, "2");
    EXPECT_EQ(paint.cell(1, 6).text, "20/02/2026");
    EXPECT_EQ(paint.cell(1, 7).text, "Cliente 5");
    std::vector<int> widths;
    for (const auto& column : paint.columns)
        widths.push_back(column.widthTwips);
    EXPECT_EQ(widths, (std::vector<int>{0, 1000, 2900, 0, 700, 0, 1100, 3000}));
}

TEST_F(FormulaSearchTest, DeletingOneVersionKeepsTheOthers) {
    for (int id = 1; id <= 3; ++id) {
        addFormula(id, "F", id - 1);
        conn().execute(QStringLiteral("insert into formula_producto (id_formula,id_producto) "
                                      "values (%1,1)")
                           .arg(id));
        conn().execute(QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad) "
                                      "values (%1,1)")
                           .arg(id));
    }
    formulas::deleteFormulaVersion(conn(), 2);
    EXPECT_EQ(codes({}), QStringList({"F/0", "F/2"}));
    EXPECT_EQ(count("select count(*) from formula_producto where id_formula=2"), 0);
    EXPECT_EQ(count("select count(*) from formula_propiedad where id_formula=2"), 0);
    EXPECT_EQ(count("select count(*) from formula_producto"), 2);
    EXPECT_EQ(count("select count(*) from formula_propiedad"), 2);
}

TEST_F(FormulaSearchTest, DeleteIsAllOrNothing) {
    addFormula(1, "F", 0);
    conn().execute("insert into formula_propiedad (id_formula,id_propiedad) values (1,1)");
    database.failOn("DELETE", "formulas");
    EXPECT_THROW(formulas::deleteFormulaVersion(conn(), 1), db::DbError);
    EXPECT_EQ(count("select count(*) from formula_propiedad"), 1);
}

TEST_F(FormulaSearchTest, CustomerFilterIsRemembered) {
    formulas::saveCustomerFilter(conn(), 6);
    EXPECT_EQ(count("select idcliente from parametros"), 6);
    formulas::saveCustomerFilter(conn(), std::nullopt);
    EXPECT_EQ(count("select idcliente from parametros"), 0);
}

} // namespace
} // namespace tarvela::test
