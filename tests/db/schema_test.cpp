#include "db/schema.h"
#include "db/statements.h"
#include "db/text_collation.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

// The names in lower case: the server keeps them so.
QStringList columnsOf(Connection& conn, const QString& table) {
    QStringList names = conn.columnNames(table);
    for (QString& name : names)
        name = name.toLower();
    return names;
}

QStringList lower(QStringList names) {
    for (QString& name : names)
        name = name.toLower();
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

TEST(Schema, EighteenTablesWithTheirColumnsAndKeys) {
    TestDatabase db;
    Connection& c = db.conn();
    EXPECT_EQ(columnsOf(c, "productos"),
              lower(QStringList({"id_producto", "codigo", "nombre", "unidad", "costo",
                                 "materia_seca", "idBase", "modificado"})));
    EXPECT_EQ(columnsOf(c, "propiedades"),
              lower(QStringList({"id_propiedad", "nombre", "unidad", "modificado"})));
    EXPECT_EQ(columnsOf(c, "producto_propiedad"),
              lower(QStringList({"id_producto", "id_propiedad", "valor"})));
    EXPECT_EQ(columnsOf(c, "clientes"),
              lower(QStringList({"idCliente", "nombre", "direccion", "localidad", "telefono",
                                 "mail", "modificado"})));
    EXPECT_EQ(columnsOf(c, "formulas"),
              lower(QStringList({"id_formula", "codigo", "producto", "cantidad", "version",
                                 "fecha_creacion", "fecha_modificacion", "tipoBase",
                                 "tipoBaseNutrientes", "idBase", "idCliente", "modificado"})));
    EXPECT_EQ(columnsOf(c, "formula_producto"),
              lower(QStringList({"id_formula", "id_producto", "minimo", "maximo", "cantidad_humeda",
                                 "cantidad_seca", "porcentaje_humeda", "porcentaje_seca",
                                 "materia_seca", "costo"})));
    EXPECT_EQ(columnsOf(c, "formula_propiedad"),
              lower(QStringList({"id_formula", "id_propiedad", "minimo", "maximo", "valor"})));
    EXPECT_EQ(columnsOf(c, "parametros"), lower(QStringList({"idBase", "idCliente"})));
    EXPECT_EQ(columnsOf(c, "versionado"),
              lower(QStringList({"idVersionado", "versionapnueva", "versionbdnueva"})));
    EXPECT_EQ(columnsOf(c, "auditoria"),
              QStringList({"id", "fecha", "usuario", "tabla", "clave", "accion", "detalle"}));
    EXPECT_EQ(columnsOf(c, "precios_historial"),
              QStringList({"id_producto", "fecha", "costo_anterior", "costo_nuevo",
                           "materia_seca_anterior", "materia_seca_nueva", "origen"}));
    EXPECT_EQ(columnsOf(c, "grupos"),
              lower(QStringList({"id_grupo", "nombre", "idBase", "modificado"})));
    EXPECT_EQ(columnsOf(c, "formula_grupo"),
              QStringList({"id_formula", "id_grupo", "minimo", "maximo", "valor"}));
    EXPECT_EQ(columnsOf(c, "formula_relacion"),
              QStringList({"id_formula", "id_propiedad_num", "id_propiedad_den", "minimo", "maximo",
                           "valor"}));
    EXPECT_EQ(columnsOf(c, "planes"),
              lower(QStringList({"id_plan", "nombre", "fecha", "idBase", "modificado"})));
    EXPECT_EQ(columnsOf(c, "plan_existencia"),
              QStringList({"id_plan", "id_producto", "existencia"}));
    EXPECT_EQ(c.tableNames().size(), 18);
    TARVELA_FILE_ONLY();
    EXPECT_EQ(keyOf(c, "producto_propiedad"), QStringList({"id_producto", "id_propiedad"}));
    EXPECT_EQ(keyOf(c, "formula_producto"), QStringList({"id_formula", "id_producto"}));
    EXPECT_EQ(keyOf(c, "formula_propiedad"), QStringList({"id_formula", "id_propiedad"}));
    EXPECT_EQ(keyOf(c, "productos"), QStringList({"id_producto"}));
    EXPECT_EQ(keyOf(c, "grupo_producto"), QStringList({"id_grupo", "id_producto"}));
    EXPECT_EQ(keyOf(c, "formula_grupo"), QStringList({"id_formula", "id_grupo"}));
    EXPECT_EQ(keyOf(c, "formula_relacion"),
              QStringList({"id_formula", "id_propiedad_num", "id_propiedad_den"}));
    EXPECT_EQ(keyOf(c, "plan_formula"), QStringList({"id_plan", "id_formula"}));
    EXPECT_EQ(keyOf(c, "plan_existencia"), QStringList({"id_plan", "id_producto"}));
    EXPECT_EQ(c.query("select count(*) from sqlite_master where type='table'").value(0, 0).toInt(),
              18);
    // The composition is read by nutrient too.
    const Result plan = c.query("EXPLAIN QUERY PLAN select * from producto_propiedad where "
                                "id_propiedad=3");
    EXPECT_TRUE(plan.value(0, plan.columnCount() - 1).toString().contains("INDEX"));
}

// A connection as the stock SQLCipher shell makes it: the key, and nothing registered.
class StockConnection {
public:
    explicit StockConnection(const QString& path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &handle_, SQLITE_OPEN_READWRITE,
                        nullptr);
        const QByteArray key = databasePassword().toUtf8();
        sqlite3_key(handle_, key.constData(), static_cast<int>(key.size()));
    }
    ~StockConnection() { sqlite3_close(handle_); }
    StockConnection(const StockConnection&) = delete;
    StockConnection& operator=(const StockConnection&) = delete;

    // The first column of the first row (empty without rows), or the engine's message.
    QString run(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(handle_, sql, -1, &statement, nullptr);
        QString out;
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            out =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        else if (rc != SQLITE_DONE)
            out = QString::fromUtf8(sqlite3_errmsg(handle_));
        sqlite3_finalize(statement);
        return out;
    }

private:
    sqlite3* handle_ = nullptr;
};

int count(Connection& conn, const QString& sql) {
    return conn.query(sql).value(0, 0).toInt();
}

// The stored schema names nothing that only the program registers: other tools count, insert
// and check the file, and the program still compares texts without regard to case or accents.
TEST(Schema, StockToolsReadAndWriteTheDemoDatabase) {
    TARVELA_FILE_ONLY();
    TestDatabase db(TestDatabase::Contents::Demo);
    Connection& c = db.conn();
    EXPECT_EQ(count(c, "select count(*) from sqlite_master where instr(sql, 'jet_text') > 0"), 0);
    // Every text column but the dates compares with the program's collation.
    for (const char* table : {"productos", "propiedades", "clientes", "formulas"}) {
        const Result info = c.query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        for (int r = 0; r < info.rowCount(); ++r) {
            const QString name = info.value(r, "name").toString();
            // Dates and change stamps compare as they are.
            EXPECT_EQ(isTextColumn(name), info.value(r, "type").toString() == "TEXT" &&
                                              !name.startsWith("fecha_") && name != "modificado")
                << table << "." << name.toStdString();
        }
    }
    const int products = count(c, "select count(*) from productos");
    {
        StockConnection stock(db.path());
        EXPECT_EQ(stock.run("select count(*) from productos"), QString::number(products));
        EXPECT_EQ(stock.run("insert into productos (id_producto,codigo,nombre,costo,materia_seca,"
                            "idBase) values (9001,'                9001','Ácido cítrico',1,90,1)"),
                  QString());
        EXPECT_EQ(stock.run("PRAGMA integrity_check"), "ok");
    }
    c.execute("insert into productos (id_producto,codigo,nombre,costo,materia_seca,idBase) "
              "values (9002,'                9002','ACIDO CITRICO',1,90,1)");
    EXPECT_EQ(count(c, "select count(*) from productos where nombre='ácido cítrico'"), 1);
    EXPECT_EQ(count(c, "select count(*) from productos where nombre='acido citrico'"), 1);
    const Result sorted =
        c.query("select nombre from productos where id_producto>9000 order by nombre desc");
    EXPECT_EQ(sorted.value(0, 0).toString(), "Ácido cítrico"); // A and Á sort together
    StockConnection stock(db.path());
    EXPECT_EQ(stock.run("select count(*) from productos"), QString::number(products + 2));
    EXPECT_EQ(stock.run("PRAGMA integrity_check"), "ok");
}

// Files of the earlier schema, whose text columns named the program's collation: the stock shell
// cannot read them; the program rebuilds the tables with their rows and indexes.
TEST(Schema, FilesOfTheEarlierSchemaAreUpgraded) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    {
        auto conn = Connection::create(path, databasePassword());
        createSchema(*conn);
        conn->execute("DROP TABLE productos");
        conn->execute("CREATE TABLE productos (id_producto INTEGER NOT NULL PRIMARY KEY, codigo "
                      "TEXT COLLATE jet_text, nombre TEXT COLLATE jet_text, unidad TEXT COLLATE "
                      "jet_text, costo REAL, materia_seca REAL, idBase INTEGER)");
        conn->execute("CREATE INDEX productos_codigo ON productos (codigo)");
        conn->execute("insert into productos (id_producto,codigo,nombre) values (1,'  1','maíz'),"
                      "(2,'  2','Avena'),(3,'  3','MAIZ')");
        // Nor had it the tables of groups and of ratio and group limits, nor those of plans.
        for (const char* table : {"grupos", "grupo_producto", "formula_grupo", "formula_relacion",
                                  "planes", "plan_formula", "plan_existencia"})
            conn->execute(QStringLiteral("DROP TABLE ") + table);
    }
    EXPECT_TRUE(StockConnection(path).run("select count(*) from productos").contains("jet_text"));

    auto conn = Connection::open(path, databasePassword());
    upgradeSchema(*conn);
    upgradeSchema(*conn); // nothing left to do
    EXPECT_EQ(count(*conn, "select count(*) from sqlite_master where instr(sql,'jet_text') > 0"),
              0);
    EXPECT_EQ(count(*conn, "select count(*) from sqlite_master where type='index' and "
                           "tbl_name='productos'"),
              2);
    const Result rows = conn->query("select nombre from productos order by nombre, id_producto");
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.value(0, 0).toString(), "Avena");
    EXPECT_EQ(rows.value(1, 0).toString(), "MAIZ");
    EXPECT_EQ(rows.value(2, 0).toString(), "maíz");
    EXPECT_EQ(count(*conn, "select count(*) from sqlite_master where type='index' and name in "
                           "('grupo_producto_producto','formula_grupo_grupo')"),
              2);
    conn.reset();
    StockConnection stock(path);
    EXPECT_EQ(stock.run("select count(*) from productos"), "3");
    EXPECT_EQ(stock.run("insert into grupos (id_grupo,nombre,idBase) values (1,'Cereales',1)"),
              QString());
    EXPECT_EQ(stock.run("insert into formula_relacion values (1,9,11,1.5,2,null)"), QString());
    EXPECT_EQ(stock.run("insert into plan_existencia values (1,7,12000)"), QString());
    EXPECT_EQ(stock.run("select count(*) from grupos"), "1");
    EXPECT_EQ(stock.run("PRAGMA integrity_check"), "ok");
}

// A file made before an index or the price history was part of the schema gets them when it is
// opened.
TEST(Schema, MissingIndexesAreAddedOnOpening) {
    TestDatabase db;
    Connection& conn = db.conn();
    conn.execute("DROP TABLE precios_historial");
    const auto indexes = [&] {
        const QStringList present = conn.indexNames();
        return present.count("formulas_cliente") + present.count("producto_propiedad_propiedad");
    };
    conn.execute("DROP INDEX formulas_cliente");
    conn.execute("DROP INDEX producto_propiedad_propiedad");
    EXPECT_EQ(indexes(), 0);
    upgradeSchema(conn);
    EXPECT_EQ(indexes(), 2);
    EXPECT_TRUE(conn.tableNames().contains("precios_historial"));
    EXPECT_TRUE(conn.indexNames().contains("precios_historial_producto"));
    upgradeSchema(conn); // nothing left to do
    EXPECT_EQ(indexes(), 2);
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
    EXPECT_EQ(count("formulas"), 7);
    EXPECT_EQ(count("formula_producto"), 131);
    EXPECT_EQ(count("formula_propiedad"), 74);
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
