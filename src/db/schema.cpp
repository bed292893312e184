#include "db/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarvela::db {

namespace {

// Texts compare without regard to case, accented letters next to their plain ones; dates are
// held as 'yyyy-mm-dd' texts.
const char* const schemaStatements[] = {
    "CREATE TABLE productos ("
    " id_producto INTEGER NOT NULL PRIMARY KEY,"
    " codigo TEXT COLLATE jet_text,"
    " nombre TEXT COLLATE jet_text,"
    " unidad TEXT COLLATE jet_text,"
    " costo REAL,"
    " materia_seca REAL,"
    " idBase INTEGER)",
    "CREATE INDEX productos_base_codigo ON productos (idBase, codigo)",
    "CREATE INDEX productos_codigo ON productos (codigo)",

    "CREATE TABLE propiedades ("
    " id_propiedad INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT COLLATE jet_text,"
    " unidad TEXT COLLATE jet_text)",

    "CREATE TABLE producto_propiedad ("
    " id_producto INTEGER NOT NULL,"
    " id_propiedad INTEGER NOT NULL,"
    " valor REAL,"
    " PRIMARY KEY (id_producto, id_propiedad)) WITHOUT ROWID",
    "CREATE INDEX producto_propiedad_propiedad ON producto_propiedad (id_propiedad, "
    "id_producto, valor)",

    "CREATE TABLE clientes ("
    " idCliente INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT COLLATE jet_text,"
    " direccion TEXT COLLATE jet_text,"
    " localidad TEXT COLLATE jet_text,"
    " telefono TEXT COLLATE jet_text,"
    " mail TEXT COLLATE jet_text)",

    "CREATE TABLE formulas ("
    " id_formula INTEGER NOT NULL PRIMARY KEY,"
    " codigo TEXT COLLATE jet_text,"
    " producto TEXT COLLATE jet_text,"
    " cantidad REAL,"
    " version INTEGER,"
    " fecha_creacion TEXT,"
    " fecha_modificacion TEXT,"
    " tipoBase INTEGER,"
    " tipoBaseNutrientes INTEGER,"
    " idBase INTEGER,"
    " idCliente INTEGER)",
    "CREATE INDEX formulas_base_codigo ON formulas (idBase, codigo)",
    "CREATE INDEX formulas_codigo_version ON formulas (codigo, version)",
    "CREATE INDEX formulas_cliente ON formulas (idCliente)",

    "CREATE TABLE formula_producto ("
    " id_formula INTEGER NOT NULL,"
    " id_producto INTEGER NOT NULL,"
    " minimo REAL,"
    " maximo REAL,"
    " cantidad_humeda REAL,"
    " cantidad_seca REAL,"
    " porcentaje_humeda REAL,"
    " porcentaje_seca REAL,"
    " materia_seca REAL,"
    " costo REAL,"
    " PRIMARY KEY (id_formula, id_producto)) WITHOUT ROWID",
    "CREATE INDEX formula_producto_producto ON formula_producto (id_producto)",

    "CREATE TABLE formula_propiedad ("
    " id_formula INTEGER NOT NULL,"
    " id_propiedad INTEGER NOT NULL,"
    " minimo REAL,"
    " maximo REAL,"
    " valor REAL,"
    " PRIMARY KEY (id_formula, id_propiedad)) WITHOUT ROWID",
    "CREATE INDEX formula_propiedad_propiedad ON formula_propiedad (id_propiedad)",

    "CREATE TABLE parametros ("
    " idBase INTEGER,"
    " idCliente INTEGER)",

    "CREATE TABLE versionado ("
    " idVersionado INTEGER NOT NULL PRIMARY KEY,"
    " versionapnueva INTEGER,"
    " versionbdnueva INTEGER)",

    "INSERT INTO parametros (idBase, idCliente) VALUES (1, 0)",
    "INSERT INTO versionado (idVersionado, versionapnueva, versionbdnueva) VALUES (1, 202, 1)",
};

bool hasDemoFiles(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QStringLiteral("nutrientes.csv"))).isFile();
}

} // namespace

void createSchema(Connection& conn) {
    Transaction transaction(conn);
    for (const char* statement : schemaStatements)
        conn.execute(QString::fromUtf8(statement));
    transaction.commit();
}

QString demoDataDir() {
    if (QCoreApplication::instance()) {
        const QString installed =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("data"));
        if (hasDemoFiles(installed))
            return installed;
    }
    return QStringLiteral(TARVELA_DATA_DIR);
}

const QString& databasePassword() {
    static const QString password = Connection::passwordOf(Connection::defaultConnectionString());
    return password;
}

} // namespace tarvela::db
