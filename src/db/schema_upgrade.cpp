// The upgrade of a database made by an earlier version: an ordered list of steps, each with the
// test that tells whether the database needs it and the statements that make it. Every step is
// checked without taking the file's write lock (a current database is only read); when some
// step is due, all of them are checked again and run inside one write transaction (on a server,
// under the lock of the schema, which the definitions of a server's transaction keep too), so
// that several programs opening the same old database at once upgrade it exactly once and a
// failed step leaves it as it was. A later version adds its change as one more step at the end
// of the list. The steps work on both engines: the file's and the server's catalog of tables,
// indexes and columns are read through the connection.
#include "db/schema.h"

#include "db/server_functions.h"
#include "db/text_collation.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace tarvela::db {

namespace {

struct UpgradeStep {
    bool (*needed)(Connection& conn);
    void (*apply)(Connection& conn);
};

QString notProgramMessage(Connection& conn) {
    if (conn.engine() == Engine::Server)
        return QStringLiteral("La base de datos %1 no es una base de datos de Tarvela.")
            .arg(conn.displayName());
    return QStringLiteral("El archivo '%1' no es una base de datos de Tarvela.").arg(conn.path());
}

// A table of the program may be a view of the same columns: the statements still read it.
void requireProgramTables(Connection& conn) {
    const QStringList present = conn.tableNames();
    for (const QString& table : programTables())
        if (!present.contains(table))
            throw DbError(1, notProgramMessage(conn), DbFailure::NotProgram);
}

// The statement of the schema that creates a table, or null when there is none.
const char* createStatementOf(const QString& table) {
    const QString head = QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (");
    for (const char* statement : schemaStatements())
        if (QString::fromUtf8(statement).startsWith(head, Qt::CaseInsensitive))
            return statement;
    return nullptr;
}

QStringList indexStatementsOf(const QString& table) {
    const QString on = QStringLiteral(" ON ") + table + QStringLiteral(" (");
    QStringList out;
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE INDEX ")) &&
            text.contains(on, Qt::CaseInsensitive))
            out << text;
    }
    return out;
}

// Step 1. Tables of the file whose text columns name the program's collation, which other tools
// do not know: each is rebuilt with its current definition, keeping its rows and its indexes.
Result collatedTables(Connection& conn) {
    if (conn.engine() != Engine::File)
        return {};
    return conn.query(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND instr(sql, '") +
        QLatin1String(kTextCollation) + QStringLiteral("') > 0"));
}

bool hasCollatedTables(Connection& conn) {
    return !collatedTables(conn).isEmpty();
}

void rebuildTable(Connection& conn, const QString& table, const char* createStatement) {
    const QString previous = table + QStringLiteral("_anterior");
    conn.execute(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" RENAME TO ") + previous);
    conn.execute(QString::fromUtf8(createStatement));
    // The columns the table had: a later step adds those it lacked.
    QStringList columns;
    for (const QString& column : conn.columnNames(previous))
        if (conn.columnNames(table).contains(column, Qt::CaseInsensitive))
            columns << column;
    const QString list = columns.join(QLatin1Char(','));
    conn.execute(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + list +
                 QStringLiteral(") SELECT ") + list + QStringLiteral(" FROM ") + previous);
    conn.execute(QStringLiteral("DROP TABLE ") + previous);
    for (const QString& index : indexStatementsOf(table))
        conn.execute(index);
}

void rebuildCollatedTables(Connection& conn) {
    const Result tables = collatedTables(conn);
    for (int r = 0; r < tables.rowCount(); ++r) {
        const QString table = tables.value(r, 0).toString();
        const char* create = createStatementOf(table);
        if (!create) // not a table of the program: it cannot be rebuilt
            throw DbError(1, QStringLiteral("la tabla %1 no es del programa").arg(table));
        rebuildTable(conn, table, create);
    }
}

// Step 2. The tables of the schema that the database lacks (a later version's tables, as the
// record of changes auditoria), with their indexes.
QStringList missingTables(Connection& conn) {
    const QStringList present = conn.tableNames();
    QStringList missing;
    for (const QString& table : schemaTables())
        if (!present.contains(table.toLower()))
            missing << table;
    return missing;
}

bool lacksTables(Connection& conn) {
    return !missingTables(conn).isEmpty();
}

void addMissingTables(Connection& conn) {
    for (const QString& table : missingTables(conn))
        conn.execute(QString::fromUtf8(createStatementOf(table)));
}

// Step 3. The columns of the schema that a table lacks (the change stamp modificado), added
// empty.
QStringList missingColumns(Connection& conn) {
    static const QRegularExpression column(QStringLiteral("^\\s*(\\w+)\\s+(\\w+)"));
    QStringList statements;
    for (const QString& table : schemaTables()) {
        const QString create = QString::fromUtf8(createStatementOf(table));
        const QStringList present = conn.columnNames(table);
        if (present.isEmpty())
            continue; // a view, or a table step 2 creates whole
        const qsizetype open = create.indexOf(QLatin1Char('('));
        for (const QString& part : create.mid(open + 1).chopped(1).split(QLatin1Char(','))) {
            const auto m = column.match(part);
            if (!m.hasMatch() ||
                m.captured(1).compare(QLatin1String("PRIMARY"), Qt::CaseInsensitive) == 0 ||
                present.contains(m.captured(1), Qt::CaseInsensitive))
                continue;
            statements << QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") +
                              m.captured(1) + QLatin1Char(' ') + m.captured(2);
        }
    }
    return statements;
}

bool lacksColumns(Connection& conn) {
    return !missingColumns(conn).isEmpty();
}

void addMissingColumns(Connection& conn) {
    for (const QString& statement : missingColumns(conn))
        conn.execute(statement);
}

// Step 4. The look-up indexes of the schema that the database lacks.
QStringList missingIndexes(Connection& conn) {
    const QStringList present = conn.indexNames();
    QStringList missing;
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE INDEX ")) &&
            !present.contains(text.section(QLatin1Char(' '), 2, 2).toLower()))
            missing << text;
    }
    return missing;
}

bool lacksIndexes(Connection& conn) {
    return !missingIndexes(conn).isEmpty();
}

void addMissingIndexes(Connection& conn) {
    for (const QString& statement : missingIndexes(conn))
        conn.execute(statement);
}

// Step 5. On a server, the functions of its statements as this version defines them.
bool functionsOutdated(Connection& conn) {
    return !serverFunctionsCurrent(conn);
}

// In the order they run.
const UpgradeStep kSteps[] = {
    {hasCollatedTables, rebuildCollatedTables}, {lacksTables, addMissingTables},
    {lacksColumns, addMissingColumns},          {lacksIndexes, addMissingIndexes},
    {functionsOutdated, createServerFunctions},
};

bool anyStepNeeded(Connection& conn) {
    return std::any_of(std::begin(kSteps), std::end(kSteps),
                       [&conn](const UpgradeStep& step) { return step.needed(conn); });
}

} // namespace

QStringList schemaTables() {
    QStringList tables;
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE TABLE ")))
            tables << text.section(QLatin1Char(' '), 2, 2);
    }
    return tables;
}

const QStringList& programTables() {
    static const QStringList tables = {
        QStringLiteral("productos"),          QStringLiteral("propiedades"),
        QStringLiteral("producto_propiedad"), QStringLiteral("clientes"),
        QStringLiteral("formulas"),           QStringLiteral("formula_producto"),
        QStringLiteral("formula_propiedad"),  QStringLiteral("parametros"),
        QStringLiteral("versionado")};
    return tables;
}

bool hasProgramTables(Connection& conn) {
    const QStringList present = conn.tableNames();
    return std::any_of(programTables().begin(), programTables().end(),
                       [&](const QString& table) { return present.contains(table); });
}

void upgradeSchema(Connection& conn) {
    requireProgramTables(conn);
    try {
        if (!anyStepNeeded(conn))
            return;
        // The write lock is taken first; another program may have upgraded the database while
        // this one waited for it, so every step is checked again under the lock.
        Transaction transaction(conn);
        conn.lockForWriting(QStringLiteral("tarvela-esquema"));
        for (const UpgradeStep& step : kSteps)
            if (step.needed(conn))
                step.apply(conn);
        transaction.commit();
    } catch (const DbError& error) {
        throw DbError(error.number(),
                      QStringLiteral("No se pudo actualizar la base de datos '%1' a la versión "
                                     "actual: %2")
                          .arg(conn.path(), error.description()),
                      error.failure());
    }
}

} // namespace tarvela::db
