#include "db/schema.h"

#include "db/server_functions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <iterator>

namespace tarvela::db {

// Dates are held as 'yyyy-mm-dd' texts. The text columns name no collation: the program's
// statements apply its own (see db/text_collation.h), and other tools read the file as it is.
// The statements are the file's SQL; the server takes them translated (REAL as DOUBLE PRECISION,
// an INTEGER PRIMARY KEY that the engine numbers as an identity column). The change stamp
// modificado of catalog items, groups, formulas and plans is the time of their last change,
// 'yyyy-mm-dd hh:mm:ss.zzz'; auditoria records every change with who made it.
const char* const kSchemaStatements[] = {
    "CREATE TABLE productos ("
    " id_producto INTEGER NOT NULL PRIMARY KEY,"
    " codigo TEXT,"
    " nombre TEXT,"
    " unidad TEXT,"
    " costo REAL,"
    " materia_seca REAL,"
    " idBase INTEGER,"
    " modificado TEXT)",
    "CREATE INDEX productos_base_codigo ON productos (idBase, codigo)",
    "CREATE INDEX productos_codigo ON productos (codigo)",

    "CREATE TABLE propiedades ("
    " id_propiedad INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " unidad TEXT,"
    " modificado TEXT)",

    "CREATE TABLE producto_propiedad ("
    " id_producto INTEGER NOT NULL,"
    " id_propiedad INTEGER NOT NULL,"
    " valor REAL,"
    " PRIMARY KEY (id_producto, id_propiedad)) WITHOUT ROWID",
    "CREATE INDEX producto_propiedad_propiedad ON producto_propiedad (id_propiedad, "
    "id_producto, valor)",

    "CREATE TABLE clientes ("
    " idCliente INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " direccion TEXT,"
    " localidad TEXT,"
    " telefono TEXT,"
    " mail TEXT,"
    " modificado TEXT)",

    "CREATE TABLE formulas ("
    " id_formula INTEGER NOT NULL PRIMARY KEY,"
    " codigo TEXT,"
    " producto TEXT,"
    " cantidad REAL,"
    " version INTEGER,"
    " fecha_creacion TEXT,"
    " fecha_modificacion TEXT,"
    " tipoBase INTEGER,"
    " tipoBaseNutrientes INTEGER,"
    " idBase INTEGER,"
    " idCliente INTEGER,"
    " modificado TEXT)",
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

    "CREATE TABLE grupos ("
    " id_grupo INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " idBase INTEGER,"
    " modificado TEXT)",

    "CREATE TABLE grupo_producto ("
    " id_grupo INTEGER NOT NULL,"
    " id_producto INTEGER NOT NULL,"
    " PRIMARY KEY (id_grupo, id_producto)) WITHOUT ROWID",
    "CREATE INDEX grupo_producto_producto ON grupo_producto (id_producto)",

    "CREATE TABLE formula_grupo ("
    " id_formula INTEGER NOT NULL,"
    " id_grupo INTEGER NOT NULL,"
    " minimo REAL,"
    " maximo REAL,"
    " valor REAL,"
    " PRIMARY KEY (id_formula, id_grupo)) WITHOUT ROWID",
    "CREATE INDEX formula_grupo_grupo ON formula_grupo (id_grupo)",

    "CREATE TABLE formula_relacion ("
    " id_formula INTEGER NOT NULL,"
    " id_propiedad_num INTEGER NOT NULL,"
    " id_propiedad_den INTEGER NOT NULL,"
    " minimo REAL,"
    " maximo REAL,"
    " valor REAL,"
    " PRIMARY KEY (id_formula, id_propiedad_num, id_propiedad_den)) WITHOUT ROWID",

    "CREATE TABLE planes ("
    " id_plan INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " fecha TEXT,"
    " idBase INTEGER,"
    " modificado TEXT)",

    "CREATE TABLE plan_formula ("
    " id_plan INTEGER NOT NULL,"
    " id_formula INTEGER NOT NULL,"
    " cantidad REAL,"
    " PRIMARY KEY (id_plan, id_formula)) WITHOUT ROWID",

    "CREATE TABLE plan_existencia ("
    " id_plan INTEGER NOT NULL,"
    " id_producto INTEGER NOT NULL,"
    " existencia REAL,"
    " PRIMARY KEY (id_plan, id_producto)) WITHOUT ROWID",

    "CREATE TABLE parametros ("
    " idBase INTEGER,"
    " idCliente INTEGER)",

    "CREATE TABLE versionado ("
    " idVersionado INTEGER NOT NULL PRIMARY KEY,"
    " versionapnueva INTEGER,"
    " versionbdnueva INTEGER)",

    "CREATE TABLE auditoria ("
    " id INTEGER PRIMARY KEY,"
    " fecha TEXT NOT NULL,"
    " usuario TEXT NOT NULL,"
    " tabla TEXT NOT NULL,"
    " clave TEXT NOT NULL,"
    " accion TEXT NOT NULL,"
    " detalle TEXT)",
    "CREATE INDEX auditoria_tabla_clave ON auditoria (tabla, clave, id)",

    // One row per change of an ingredient's price or dry matter made from a file: the values
    // before and after, when ('yyyy-mm-dd hh:mm:ss') and the file's name.
    "CREATE TABLE precios_historial ("
    " id_producto INTEGER NOT NULL,"
    " fecha TEXT NOT NULL,"
    " costo_anterior REAL,"
    " costo_nuevo REAL,"
    " materia_seca_anterior REAL,"
    " materia_seca_nueva REAL,"
    " origen TEXT)",
    "CREATE INDEX precios_historial_producto ON precios_historial (id_producto, fecha)",

    "INSERT INTO parametros (idBase, idCliente) VALUES (1, 0)",
    "INSERT INTO versionado (idVersionado, versionapnueva, versionbdnueva) VALUES (1, 202, 1)",
};

std::vector<const char*> schemaStatements() {
    return {std::begin(kSchemaStatements), std::end(kSchemaStatements)};
}

namespace {

bool hasDemoFiles(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QStringLiteral("nutrientes.csv"))).isFile();
}

} // namespace

void createSchema(Connection& conn) {
    Transaction transaction(conn);
    createServerFunctions(conn);
    for (const char* statement : kSchemaStatements)
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
