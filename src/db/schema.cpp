#include "db/schema.h"

#include "db/text_collation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace tarvela::db {

namespace {

// Dates are held as 'yyyy-mm-dd' texts. The text columns name no collation: the program's
// statements apply its own (see db/text_collation.h), and other tools read the file as it is.
const char* const schemaStatements[] = {
    "CREATE TABLE productos ("
    " id_producto INTEGER NOT NULL PRIMARY KEY,"
    " codigo TEXT,"
    " nombre TEXT,"
    " unidad TEXT,"
    " costo REAL,"
    " materia_seca REAL,"
    " idBase INTEGER)",
    "CREATE INDEX productos_base_codigo ON productos (idBase, codigo)",
    "CREATE INDEX productos_codigo ON productos (codigo)",

    "CREATE TABLE propiedades ("
    " id_propiedad INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " unidad TEXT)",

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
    " mail TEXT)",

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

    "CREATE TABLE grupos ("
    " id_grupo INTEGER NOT NULL PRIMARY KEY,"
    " nombre TEXT,"
    " idBase INTEGER)",

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

// The statement of the schema that creates a table, or null when there is none.
const char* createStatementOf(const QString& table) {
    const QString head = QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (");
    for (const char* statement : schemaStatements)
        if (QString::fromUtf8(statement).startsWith(head, Qt::CaseInsensitive))
            return statement;
    return nullptr;
}

QStringList indexStatementsOf(const QString& table) {
    const QString on = QStringLiteral(" ON ") + table + QStringLiteral(" (");
    QStringList out;
    for (const char* statement : schemaStatements) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE INDEX ")) &&
            text.contains(on, Qt::CaseInsensitive))
            out << text;
    }
    return out;
}

// Rebuilds one table with its current definition, keeping its rows; its indexes are made again.
void rebuildTable(Connection& conn, const QString& table, const char* createStatement) {
    const QString previous = table + QStringLiteral("_anterior");
    conn.execute(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" RENAME TO ") + previous);
    conn.execute(QString::fromUtf8(createStatement));
    const Result info = conn.query(QStringLiteral("PRAGMA table_info(") + table + QLatin1Char(')'));
    QStringList columns;
    for (int r = 0; r < info.rowCount(); ++r)
        columns << info.value(r, QStringLiteral("name")).toString();
    const QString list = columns.join(QLatin1Char(','));
    conn.execute(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + list +
                 QStringLiteral(") SELECT ") + list + QStringLiteral(" FROM ") + previous);
    conn.execute(QStringLiteral("DROP TABLE ") + previous);
    for (const QString& index : indexStatementsOf(table))
        conn.execute(index);
}

// The name of the index an index statement creates.
QString indexName(const QString& statement) {
    return statement.section(QLatin1Char(' '), 2, 2);
}

// Creates the schema's indexes that a file made by an earlier version lacks, in one transaction.
void addMissingIndexes(Connection& conn) {
    const Result present =
        conn.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index'"));
    QStringList missing;
    for (const char* statement : schemaStatements) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE INDEX ")) &&
            present.find(QStringLiteral("name"), indexName(text)) < 0)
            missing << text;
    }
    if (missing.isEmpty())
        return;
    Transaction transaction(conn);
    for (const QString& statement : missing)
        conn.execute(statement);
    transaction.commit();
}

// The tables of ratio and group limits, which files made by earlier versions lack: created in one
// transaction, before the missing indexes.
void addLimitTables(Connection& conn) {
    const Result present =
        conn.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    QStringList missing;
    for (const char* table : {"grupos", "grupo_producto", "formula_grupo", "formula_relacion"})
        if (present.find(QStringLiteral("name"), QString::fromLatin1(table)) < 0)
            missing << QString::fromUtf8(createStatementOf(QString::fromLatin1(table)));
    if (missing.isEmpty())
        return;
    Transaction transaction(conn);
    for (const QString& statement : missing)
        conn.execute(statement);
    transaction.commit();
}

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

void upgradeSchema(Connection& conn) {
    try {
        const Result tables = conn.query(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND instr(sql, '") +
            QLatin1String(kTextCollation) + QStringLiteral("') > 0"));
        if (!tables.isEmpty()) {
            Transaction transaction(conn);
            for (int r = 0; r < tables.rowCount(); ++r) {
                const QString table = tables.value(r, 0).toString();
                const char* create = createStatementOf(table);
                if (!create) // not a table of the program: it cannot be rebuilt
                    throw DbError(1, QStringLiteral("la tabla %1 no es del programa").arg(table));
                rebuildTable(conn, table, create);
            }
            transaction.commit();
        }
        addLimitTables(conn);
        addMissingIndexes(conn);
    } catch (const DbError& error) {
        throw DbError(error.number(),
                      QStringLiteral("No se pudo actualizar la base de datos '%1' a la versión "
                                     "actual: %2")
                          .arg(conn.path(), error.description()));
    }
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
