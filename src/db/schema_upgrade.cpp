// The upgrade of a file made by an earlier version: an ordered list of steps, each with the test
// that tells whether the file needs it and the statements that make it. Every step is checked
// without taking the file's write lock (a current file is only read); when some step is due,
// all of them are checked again and run inside one write transaction, so that several programs
// opening the same old file at once upgrade it exactly once and a failed step leaves the file as
// it was. A later version adds its change as one more step at the end of the list.
#include "db/schema.h"

#include "db/text_collation.h"

#include <QStringList>

#include <algorithm>

namespace tarvela::db {

namespace {

struct UpgradeStep {
    bool (*needed)(Connection& conn);
    void (*apply)(Connection& conn);
};

// The price history, a table a step below adds to files made before it was kept.
const QString kPriceHistory = QStringLiteral("precios_historial");

// The tables of groups and of ratio and group limits, which files made by earlier versions lack:
// a step of the upgrade creates them.
const QStringList kLimitTables = {QStringLiteral("grupos"), QStringLiteral("grupo_producto"),
                                  QStringLiteral("formula_grupo"),
                                  QStringLiteral("formula_relacion")};

// The tables of production plans, which files made by earlier versions lack as well.
const QStringList kPlanTables = {QStringLiteral("planes"), QStringLiteral("plan_formula"),
                                 QStringLiteral("plan_existencia")};

// The tables every file of the program holds (a table of the program may be a view of the same
// columns: the statements still read it); tables that an upgrade step adds are not asked for.
QStringList programTables() {
    QStringList tables;
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        const QString table = text.section(QLatin1Char(' '), 2, 2);
        if (text.startsWith(QLatin1String("CREATE TABLE ")) &&
            !kLimitTables.contains(table, Qt::CaseInsensitive) &&
            !kPlanTables.contains(table, Qt::CaseInsensitive))
            tables << table;
    }
    tables.removeAll(kPriceHistory);
    return tables;
}

void requireProgramTables(Connection& conn) {
    const Result present =
        conn.query(QStringLiteral("SELECT lower(name) AS name FROM sqlite_master WHERE type IN "
                                  "('table','view')"));
    for (const QString& table : programTables())
        if (present.find(QStringLiteral("name"), table.toLower()) < 0)
            throw DbError(1, QStringLiteral("El archivo '%1' no es una base de datos de Tarvela.")
                                 .arg(conn.path()));
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

// Step 1. Tables whose text columns name the program's collation, which other tools do not
// know: each is rebuilt with its current definition, keeping its rows and its indexes.
Result collatedTables(Connection& conn) {
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

// Step 2. The price history's table, which files made before prices were imported lack (its
// index comes with the indexes' step).
bool lacksPriceHistory(Connection& conn) {
    return conn
        .query(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND "
                              "lower(name)='") +
               kPriceHistory + QLatin1Char('\''))
        .isEmpty();
}

void addPriceHistory(Connection& conn) {
    conn.execute(QString::fromUtf8(createStatementOf(kPriceHistory)));
}

QStringList missingTables(Connection& conn, const QStringList& tables) {
    const Result present = conn.query(
        QStringLiteral("SELECT lower(name) AS name FROM sqlite_master WHERE type='table'"));
    QStringList missing;
    for (const QString& table : tables)
        if (present.find(QStringLiteral("name"), table) < 0)
            missing << table;
    return missing;
}

void addTables(Connection& conn, const QStringList& tables) {
    for (const QString& table : missingTables(conn, tables))
        conn.execute(QString::fromUtf8(createStatementOf(table)));
}

// Step 3. The tables of groups and of ratio and group limits that the file lacks.
bool lacksLimitTables(Connection& conn) {
    return !missingTables(conn, kLimitTables).isEmpty();
}

void addLimitTables(Connection& conn) {
    addTables(conn, kLimitTables);
}

// Step 4. The look-up indexes of the schema that the file lacks.
QStringList missingIndexes(Connection& conn) {
    const Result present =
        conn.query(QStringLiteral("SELECT lower(name) AS name FROM sqlite_master WHERE "
                                  "type='index'"));
    QStringList missing;
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        if (text.startsWith(QLatin1String("CREATE INDEX ")) &&
            present.find(QStringLiteral("name"), text.section(QLatin1Char(' '), 2, 2).toLower()) <
                0)
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

// Step 5. The tables of production plans that the file lacks.
bool lacksPlanTables(Connection& conn) {
    return !missingTables(conn, kPlanTables).isEmpty();
}

void addPlanTables(Connection& conn) {
    addTables(conn, kPlanTables);
}

// In the order they run.
const UpgradeStep kSteps[] = {
    {hasCollatedTables, rebuildCollatedTables}, {lacksPriceHistory, addPriceHistory},
    {lacksLimitTables, addLimitTables},         {lacksIndexes, addMissingIndexes},
    {lacksPlanTables, addPlanTables},
};

bool anyStepNeeded(Connection& conn) {
    return std::any_of(std::begin(kSteps), std::end(kSteps),
                       [&conn](const UpgradeStep& step) { return step.needed(conn); });
}

} // namespace

void upgradeSchema(Connection& conn) {
    requireProgramTables(conn);
    try {
        if (!anyStepNeeded(conn))
            return;
        // The write lock is taken first; another program may have upgraded the file while this
        // one waited for it, so every step is checked again under the lock.
        Transaction transaction(conn);
        for (const UpgradeStep& step : kSteps)
            if (step.needed(conn))
                step.apply(conn);
        transaction.commit();
    } catch (const DbError& error) {
        throw DbError(error.number(),
                      QStringLiteral("No se pudo actualizar la base de datos '%1' a la versión "
                                     "actual: %2")
                          .arg(conn.path(), error.description()));
    }
}

} // namespace tarvela::db
