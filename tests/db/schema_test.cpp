#include "db/schema.h"
#include "db/statements.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

QStringList columnsOf(Connection& conn, const QString& table) {
    const Result r = conn.query("PRAGMA table_info(" + table + ")");
    QStringList names;
    for (int i = 0; i < r.rowCount(); ++i)
        names << r.value(i, "name").toString();
    return names;
}

QStringList keyOf(Connection& conn, const QString& table) {
    const Result r = conn.query("PRAGMA table_info(" + table + ")");
    QStringList key(r.rowCount());
    for (int i = 0; i < r.rowCount(); ++i)
        if (const int pk = r.value(i, "pk").toInt(); pk > 0)
            key[pk - 1] = r.value(i, "name").toString();
    key.removeAll(QString());
    return key;
}

TEST(Schema, NineTablesWithTheirColumnsAndKeys) {
    TestDatabase db;
    Connection& c = db.conn();
    EXPECT_EQ(columnsOf(c, "productos"), QStringList({"id_producto", "codigo", "nombre", "unidad",
                                                      "costo", "materia_seca", "idBase"}));
    EXPECT_EQ(columnsOf(c, "propiedades"), QStringList({"id_propiedad", "nombre", "unidad"}));
    EXPECT_EQ(columnsOf(c, "producto_propiedad"),
              QStringList({"id_producto", "id_propiedad", "valor"}));
    EXPECT_EQ(columnsOf(c, "clientes"),
              QStringList({"idCliente", "nombre", "direccion", "localidad", "telefono", "mail"}));
    EXPECT_EQ(columnsOf(c, "formulas"),
              QStringList({"id_formula", "codigo", "producto", "cantidad", "version",
                           "fecha_creacion", "fecha_modificacion", "tipoBase", "tipoBaseNutrientes",
                           "idBase", "idCliente"}));
    EXPECT_EQ(columnsOf(c, "formula_producto"),
              QStringList({"id_formula", "id_producto", "minimo", "maximo", "cantidad_humeda",
                           "cantidad_seca", "porcentaje_humeda", "porcentaje_seca", "materia_seca",
                           "costo"}));
    EXPECT_EQ(columnsOf(c, "formula_propiedad"),
              QStringList({"id_formula", "id_propiedad", "minimo", "maximo", "valor"}));
    EXPECT_EQ(columnsOf(c, "parametros"), QStringList({"idBase", "idCliente"}));
    EXPECT_EQ(columnsOf(c, "versionado"),
              QStringList({"idVersionado", "versionapnueva", "versionbdnueva"}));
    EXPECT_EQ(keyOf(c, "producto_propiedad"), QStringList({"id_producto", "id_propiedad"}));
    EXPECT_EQ(keyOf(c, "formula_producto"), QStringList({"id_formula", "id_producto"}));
    EXPECT_EQ(keyOf(c, "formula_propiedad"), QStringList({"id_formula", "id_propiedad"}));
    EXPECT_EQ(keyOf(c, "productos"), QStringList({"id_producto"}));
    EXPECT_EQ(c.query("select count(*) from sqlite_master where type='table'").value(0, 0).toInt(),
              9);
    // The composition is read by nutrient too.
    const Result plan = c.query("EXPLAIN QUERY PLAN select * from producto_propiedad where "
                                "id_propiedad=3");
    EXPECT_TRUE(plan.value(0, plan.columnCount() - 1).toString().contains("INDEX"));
}

TEST(Schema, OneParametrosRowAndOneVersionadoRow) {
    TestDatabase db;
    EXPECT_EQ(db.conn().query("Select idBase,idCliente from parametros").row(0),
              QVariantList({qlonglong(1), qlonglong(0)}));
    const Result v = db.conn().query("SELECT * FROM versionado ORDER BY idVersionado DESC");
    ASSERT_EQ(v.rowCount(), 1);
    EXPECT_EQ(v.value(0, "versionapnueva").toInt(), 202);
    EXPECT_EQ(v.value(0, "versionbdnueva").toInt(), 1);
    EXPECT_EQ(db.conn().query("select count(*) from parametros").value(0, 0).toInt(), 1);
}

TEST(Demo, LoadsTheCatalogWithACompleteComposition) {
    TestDatabase db(TestDatabase::Contents::Demo);
    Connection& c = db.conn();
    auto count = [&](const char* table) {
        return c.query(QString("select count(*) from ") + table).value(0, 0).toInt();
    };
    EXPECT_EQ(count("propiedades"), 17);
    EXPECT_EQ(count("productos"), 64);
    EXPECT_EQ(count("producto_propiedad"), 17 * 64);
    EXPECT_EQ(count("formulas"), 6);
    EXPECT_EQ(count("formula_producto"), 111);
    EXPECT_EQ(count("formula_propiedad"), 62);
    EXPECT_EQ(c.query("select valor from producto_propiedad where id_producto=1 and "
                      "id_propiedad=1")
                  .value(0, 0),
              QVariant(10.2));
    const Result f = c.query("select * from formulas where id_formula=1");
    EXPECT_EQ(f.value(0, "codigo").toString(), rightAlignCode("1001"));
    EXPECT_EQ(f.value(0, "fecha_creacion").toString(), "2026-12-07");
    EXPECT_EQ(f.value(0, "tipoBase").toInt(), 0);
    EXPECT_EQ(f.value(0, "idCliente").toInt(), 0);
    EXPECT_EQ(f.value(0, "producto").toString(), "RTM vaca lechera 30 L/día");
    const Result fp = c.query("select minimo,maximo from formula_producto where id_formula=1 and "
                              "id_producto=1");
    EXPECT_TRUE(fp.value(0, "minimo").isNull()); // an empty field is no limit
    EXPECT_EQ(fp.value(0, "maximo"), QVariant(300.0));
    EXPECT_EQ(c.query("SELECT max(codigo) FROM productos WHERE idbase=2").value(0, 0).toString(),
              rightAlignCode("221"));
    EXPECT_EQ(c.query("select count(*) from productos where idBase=1").value(0, 0).toInt(), 23);
}

TEST(Demo, AMissingFileWritesNothing) {
    TestDatabase db;
    QTemporaryDir empty;
    EXPECT_THROW(loadDemo(db.conn(), empty.path()), DbError);
    EXPECT_EQ(db.conn().query("select count(*) from propiedades").value(0, 0).toInt(), 0);
}

} // namespace
