// copy-db: a mill's data from the file onto a server and back, every row as it was.
#include "db/database_copy.h"
#include "db/schema.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QDir>

#include <map>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

// Every row of every table of the program, sorted, as texts (numbers exactly).
std::map<QString, QStringList> contents(Connection& conn) {
    std::map<QString, QStringList> out;
    for (const QString& table : conn.tableNames()) {
        QStringList columns = conn.columnNames(table);
        for (QString& c : columns)
            c = c.toLower();
        columns.sort();
        const Result rows = conn.query("select " + columns.join(',') + " from " + table);
        QStringList lines;
        for (int r = 0; r < rows.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rows.columnCount(); ++c) {
                const QVariant v = rows.value(r, c);
                cells << (v.isNull() ? "null"
                          : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                            : v.toString());
            }
            lines << cells.join('|');
        }
        lines.sort();
        out[table] = lines;
    }
    return out;
}

// A demo file onto the run's engine (a server's schema on the server run) and back to a file: the
// rows come back unchanged.
TEST(DatabaseCopy, FromAFileToTheServerAndBackKeepsEveryRow) {
    TestDatabase run(TestDatabase::Contents::Empty);
    const QString file = QDir(run.folder()).filePath("origen.mdb");
    auto source = Connection::create(file, databasePassword());
    createSchema(*source);
    loadDemo(*source, demoDataDir());
    source->execute("insert into auditoria (fecha,usuario,tabla,clave,accion,detalle) values "
                    "('2026-01-02 03:04:05','ana','productos','1','alta','x')");
    const auto before = contents(*source);

    const QString middle = run.emptyTarget();
    const auto copied = copyDatabaseTo(*source, middle);
    int productos = 0;
    for (const CopiedTable& table : copied)
        if (table.table == "productos")
            productos = table.rows;
    EXPECT_EQ(productos, source->query("select count(*) from productos").value(0, 0).toInt());
    auto onMiddle = Connection::open(middle, databasePassword());
    EXPECT_EQ(contents(*onMiddle), before);

    const QString back = QDir(run.folder()).filePath("vuelta.mdb");
    copyDatabaseTo(*onMiddle, back);
    auto returned = Connection::open(back, databasePassword());
    EXPECT_EQ(contents(*returned), before);

    // New records number after the copied ones.
    onMiddle->execute("insert into auditoria (fecha,usuario,tabla,clave,accion) values "
                      "('2026-01-03 00:00:00','ana','productos','2','alta')");
    EXPECT_EQ(onMiddle->query("select max(id) from auditoria").value(0, 0).toInt(), 2);
}

TEST(DatabaseCopy, ATargetWithTheProgramsTablesIsRefused) {
    TestDatabase source(TestDatabase::Contents::Demo);
    TestDatabase target;
    target.conn().execute("insert into clientes (idCliente,nombre) values (1,'queda')");
    try {
        copyDatabase(source.conn(), target.conn());
        FAIL() << "copied over the program's tables";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.description().contains("ya tiene las tablas de Tarvela"));
    }
    EXPECT_EQ(target.conn().query("select count(*) from productos").value(0, 0).toInt(), 0);
    EXPECT_EQ(target.conn().query("select nombre from clientes").value(0, 0).toString(), "queda");
}

} // namespace
