// The statements of the system, as the windows word them, against the real engine.
#include "db/statements.h"
#include "support/test_database.h"
#include "text/format.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

class Engine : public ::testing::Test {
protected:
    void addProduct(int id, const QString& code, const QString& name, double cost = 0.2,
                    int base = 1) {
        db.conn().execute("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                          "materia_seca,idBase) values (" +
                          sqlInt(id) + "," + sqlCode(code) + "," + sqlText(name) + ",'Kg'," +
                          sqlReal(cost) + ",88," + sqlInt(base) + ")");
    }
    void addFormula(int id, const QString& code, int customer, const QDate& created,
                    const QDate& modified, int base = 2) {
        db.conn().execute("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                          "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,idBase, "
                          "idCliente) values (" +
                          sqlInt(id) + "," + sqlCode(code) + ",'Alimento MAIZ " + sqlInt(id) +
                          "',1000,1," + sqlDate(created) + "," + sqlDate(modified) + ",1,1," +
                          sqlInt(base) + "," + sqlInt(customer) + ")");
    }
    TestDatabase db;
};

TEST_F(Engine, RightAlignedCodesSortAsNumbers) {
    addProduct(1, "125", "a");
    addProduct(2, "7", "b");
    addProduct(3, "10", "c");
    const Result max = db.conn().query("SELECT max(codigo) FROM productos WHERE idbase=1");
    EXPECT_EQ(max.value(0, 0).toString(), rightAlignCode("125"));
    const Result ordered = db.conn().query("select codigo from productos order by codigo");
    ASSERT_EQ(ordered.rowCount(), 3);
    EXPECT_EQ(ordered.value(0, 0).toString().trimmed(), "7");
    EXPECT_EQ(ordered.value(1, 0).toString().trimmed(), "10");
    EXPECT_EQ(ordered.value(2, 0).toString().trimmed(), "125");
    const Result trimmed =
        db.conn().query("select id_producto from productos where trim(codigo)='10'");
    ASSERT_EQ(trimmed.rowCount(), 1);
    EXPECT_EQ(trimmed.value(0, 0).toInt(), 3);
    const Result range = db.conn().query("select id_producto from productos p where true and "
                                         "p.codigo>=" +
                                         sqlCode("8") + " and p.codigo<=" + sqlCode("125"));
    EXPECT_EQ(range.rowCount(), 2);
}

TEST_F(Engine, LongCodeIsStoredAsItsFirstTwentyCharacters) {
    addProduct(1, "ABCDEFGHIJKLMNOPQRSTUVWXY", "largo");
    const Result r = db.conn().query("select codigo from productos where id_producto=1");
    EXPECT_EQ(r.value(0, "codigo").toString(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(Engine, LeftJoinKeepsFormulasWithoutCustomer) {
    db.conn().execute("insert into clientes (idCliente,nombre) values (3,'Estancia')");
    addFormula(1, "100", 0, QDate(2026, 1, 10), QDate(2026, 2, 1));
    addFormula(2, "101", 3, QDate(2026, 1, 11), QDate(2026, 2, 2));
    const Result r =
        db.conn().query("SELECT f.*,c.nombre as nombrecliente FROM Formulas f LEFT "
                        "JOIN clientes c ON f.idcliente=c.idcliente WHERE id_formula=1");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_TRUE(r.value(0, "nombrecliente").isNull());
    EXPECT_EQ(r.value(0, "idCliente").toInt(), 0);
    EXPECT_EQ(r.value(0, "fecha_creacion").toString(), "2026-01-10");
    const Result both = db.conn().query("SELECT f.*,c.nombre as nombrecliente FROM Formulas f LEFT "
                                        "JOIN clientes c ON f.idcliente=c.idcliente");
    EXPECT_EQ(both.rowCount(), 2);
}

// The formula list's search with a nutrient and an ingredient selected: joins nested in
// parentheses, date bounds with null dates, a like filter and the ordering.
TEST_F(Engine, FormulaListSearchWithNestedJoins) {
    addFormula(1, "100", 0, QDate(2026, 1, 10), QDate(2026, 2, 1));
    addFormula(2, "1000", 0, QDate(2026, 1, 11), QDate(2026, 3, 1));
    addFormula(3, "99", 0, QDate(2026, 1, 12), QDate(2026, 4, 1));
    addFormula(4, "150", 0, QDate(2026, 1, 12), QDate(2026, 4, 1), 1); // other base
    db.conn().execute("update formulas set fecha_creacion=null where id_formula=2");
    for (int f = 1; f <= 4; ++f) {
        db.conn().execute("insert into formula_propiedad (id_formula,id_propiedad,minimo,maximo,"
                          "valor) values (" +
                          sqlInt(f) + ",7,null,null," + sqlReal(17.5 + f) + ")");
        db.conn().execute("insert into formula_producto (id_formula,id_producto,minimo,maximo) "
                          "values (" +
                          sqlInt(f) + ",5,null,300)");
    }
    QString sql = "SELECT f.id_formula,f.codigo,f.producto,f.cantidad,f.version,Format(f."
                  "fecha_creacion,'dd/mm/yyyy') as fecha_Creacion,Format(f.fecha_modificacion,'dd/"
                  "mm/yyyy') as fecha_Modificacion, c.nombre FROM ";
    sql += " ( ";
    sql += " ( ";
    sql += " (Formulas f LEFT JOIN clientes c ON f.idcliente=c.idcliente) ";
    sql += " INNER JOIN formula_propiedad fn ON f.id_formula=fn.id_formula) ";
    sql += " INNER JOIN formula_producto fi ON f.id_formula=fi.id_formula) ";
    sql += " WHERE idBase = 2";
    sql += " AND f.codigo>=" + sqlCode("100");
    sql += " AND f.producto LIKE '%maiz%'";
    sql += " and (f.fecha_creacion<=" + sqlDate(QDate(2026, 1, 10)) +
           " or (f.fecha_creacion IS NULL))";
    sql += " and f.fecha_modificacion>=" + sqlDate(QDate(2026, 1, 1));
    sql += " and fn.id_propiedad=7 and fn.valor>=18";
    sql += " and fi.id_producto=5";
    sql += " ORDER BY f.fecha_modificacion DESC";
    const Result r = db.conn().query(sql);
    ASSERT_EQ(r.rowCount(), 2);
    EXPECT_EQ(r.value(0, "id_formula").toInt(), 2); // modified later; creation date null
    EXPECT_EQ(r.value(1, "id_formula").toInt(), 1);
    EXPECT_EQ(r.value(0, "fecha_Creacion"), QVariant());
    EXPECT_EQ(r.value(1, "fecha_creacion").toString(), "10/01/2026");
    EXPECT_EQ(r.value(1, "fecha_Modificacion").toString(), "01/02/2026");
    EXPECT_TRUE(r.value(1, "nombre").isNull());
    EXPECT_EQ(r.columnCount(), 8);
}

TEST_F(Engine, MixedCaseNamesStarPlusColumnAndConstantItems) {
    addProduct(1, "1", "Maíz", 0.2);
    addProduct(2, "2", "Avena", 0.15);
    db.conn().execute("insert into propiedades (id_propiedad,nombre,unidad) values (1,'PB','%')");
    db.conn().execute("insert into propiedades (id_propiedad,nombre,unidad) values (2,'EM','%')");
    for (int p = 1; p <= 2; ++p)
        for (int q = 1; q <= 2; ++q)
            db.conn().execute("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                              "values (" +
                              sqlInt(p) + "," + sqlInt(q) + "," + sqlReal(p == 1 ? 5.0 : 3.0) +
                              ")");
    const Result star =
        db.conn().query("select pp.*,p.materia_seca from producto_propiedad pp, productos p where "
                        "pp.id_producto=p.id_producto and pp.id_producto=1");
    EXPECT_EQ(star.columns(),
              QStringList({"id_producto", "id_propiedad", "valor", "materia_seca"}));
    EXPECT_EQ(star.rowCount(), 2);
    const Result sorted =
        db.conn().query("SELECT pp.id_propiedad,pp.valor,p.nombre,'' as sep1 FROM "
                        "producto_propiedad pp,Propiedades p WHERE pp.id_propiedad=p.id_propiedad "
                        "and pp.id_producto=2 order by pp.valor DESC,p.nombre");
    ASSERT_EQ(sorted.rowCount(), 2);
    EXPECT_EQ(sorted.value(0, "NOMBRE").toString(), "EM"); // equal values: by name
    EXPECT_EQ(sorted.value(0, "sep1").toString(), "");
    const Result mixed = db.conn().query("SELECT nombre FROM productos WHERE id_Producto=1");
    EXPECT_EQ(mixed.value(0, 0).toString(), "Maíz");
    EXPECT_EQ(db.conn().query("select count(*) from Producto_Propiedad where valor<>5").value(0, 0),
              QVariant(qlonglong(2)));
    EXPECT_EQ(db.conn().query("select max(id_propiedad) from propiedades").value(0, 0).toInt(), 2);
    EXPECT_EQ(db.conn().execute("UPDATE producto_propiedad SET valor=7.25 WHERE id_Producto=1"), 2);
}

TEST_F(Engine, FormatFollowsTheWorkstationSeparator) {
    addProduct(1, "1", "Maíz", 0.2);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    const QString sql = "select p.id_producto,p.codigo,p.nombre,p.unidad,Format(p.costo,'0.0000') "
                        "as costo,p.materia_seca from productos p";
    EXPECT_EQ(db.conn().query(sql).value(0, "costo"), QVariant(QString("0,2000")));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(db.conn().query(sql).value(0, "costo"), QVariant(QString("0.2000")));
    QLocale::setDefault(saved);
    EXPECT_EQ(db.conn()
                  .query("select Format(99.995,'#####0.00'), Format(null,'0.00'), "
                         "Format(3.1815,'#####0.00000')")
                  .row(0),
              QVariantList({QString("100.00"), QVariant(), QString("3.18150")}));
}

TEST_F(Engine, LikeFoldsCaseOfAccentedLetters) {
    addProduct(1, "1", "Maíz grano partido");
    addProduct(2, "2", "MAÍZ QUEBRADO");
    addProduct(3, "3", "Maiz sin acento");
    const Result r = db.conn().query(
        "select p.id_producto from productos p where true and p.nombre like '%maíz%' order by 1");
    ASSERT_EQ(r.rowCount(), 2);
    EXPECT_EQ(r.value(0, 0).toInt(), 1);
    EXPECT_EQ(r.value(1, 0).toInt(), 2);
    EXPECT_EQ(db.conn().query("select 1 from productos where nombre like 'M_iz%'").rowCount(), 1);
    const Result names = db.conn().query("select nombre from productos order by nombre");
    EXPECT_EQ(names.value(2, 0).toString(), "Maiz sin acento"); // accents do not move a name
}

TEST_F(Engine, TextsSortWithoutRegardToCaseOrAccents) {
    addProduct(1, "1", "Zinc");
    addProduct(2, "2", "avena");
    addProduct(3, "3", "Ácido");
    addProduct(4, "4", "Burlanda");
    const Result r = db.conn().query("select nombre from productos order by nombre");
    QStringList names;
    for (int i = 0; i < r.rowCount(); ++i)
        names << r.value(i, 0).toString();
    EXPECT_EQ(names, QStringList({"Ácido", "avena", "Burlanda", "Zinc"}));
    EXPECT_EQ(db.conn().query("select id_producto from productos where nombre='ZINC'").rowCount(),
              1);
}

TEST_F(Engine, QuotesInEveryKindOfTextValue) {
    const QString q = "Harina d'avena";
    addProduct(1, "D'1", q);
    db.conn().execute("insert into propiedades (id_propiedad,nombre,unidad) values (1," +
                      sqlText("Prot'eína") + "," + sqlText("mg'") + ")");
    db.conn().execute("insert into clientes (idCliente,nombre,direccion,localidad,telefono,mail) "
                      "values (1," +
                      sqlText("O'Brien") + "," + sqlText("Av. D'Elía 12") + "," +
                      sqlText("Villa D'Agostino") + "," + sqlText("'0341'") + "," +
                      sqlText("o'brien@example.com") + ")");
    db.conn().execute("insert into formulas (id_formula,codigo,producto,cantidad,version) values "
                      "(1," +
                      sqlCode("F'1") + "," + sqlText("Ración d'engorde") + ",1000,1)");
    EXPECT_EQ(db.conn()
                  .query("select nombre from productos where codigo=" + sqlCode("D'1"))
                  .value(0, 0)
                  .toString(),
              q);
    EXPECT_EQ(db.conn()
                  .query("select p.nombre from productos p where true and p.nombre like " +
                         sqlText("%d'avena%"))
                  .rowCount(),
              1);
    const Result c = db.conn().query("select * from clientes where idCliente=1");
    EXPECT_EQ(c.value(0, "nombre").toString(), "O'Brien");
    EXPECT_EQ(c.value(0, "direccion").toString(), "Av. D'Elía 12");
    EXPECT_EQ(c.value(0, "localidad").toString(), "Villa D'Agostino");
    EXPECT_EQ(c.value(0, "telefono").toString(), "'0341'");
    EXPECT_EQ(c.value(0, "mail").toString(), "o'brien@example.com");
    const Result p = db.conn().query("select * from propiedades");
    EXPECT_EQ(p.value(0, "nombre").toString(), "Prot'eína");
    EXPECT_EQ(p.value(0, "unidad").toString(), "mg'");
    const Result f = db.conn().query("select producto,codigo from formulas");
    EXPECT_EQ(f.value(0, "producto").toString(), "Ración d'engorde");
    EXPECT_EQ(f.value(0, "codigo").toString().trimmed(), "F'1");
    db.conn().execute("UPDATE formulas SET codigo=" + sqlCode("G'2") +
                      " WHERE codigo=" + sqlCode("F'1"));
    EXPECT_EQ(db.conn().query("select codigo from formulas").value(0, 0).toString().trimmed(),
              "G'2");
}

} // namespace
