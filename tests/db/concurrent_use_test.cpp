#include "support/child_process.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "db/schema.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

using tarvela::test::ChildProcess;
using tarvela::test::TestDatabase;

namespace {

// tarvela-cli formulate, two at a time, beside two processes that write to the same file every
// 10 ms (one in units of two statements, one statement by statement): no reader fails, no writer
// either, and the readers' result does not change. (Writers that never pause at all shut the
// others out: past the wait those get the in-use message, with nothing changed.)
TEST(ConcurrentUse, ReadersBesideWritersNeverFail) {
    TestDatabase db(TestDatabase::Contents::Demo);
    const QString path = db.path();
    db.takeConnection().reset();
    const QString stop = db.folder() + QStringLiteral("/stop");
    const QString writer = QStringLiteral(TARVELA_TEST_WRITER_PATH);
    ChildProcess units(writer, {path, "transaction", "10", stop});
    ChildProcess statements(writer, {path, "autocommit", "10", stop});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const QStringList args{"formulate", "3", "--db", path, "--cantidad", "1000", "--json"};
    const int rounds = 10;
    int readers = 0;
    int failed = 0;
    for (int r = 0; r < rounds; ++r) {
        ChildProcess first(QStringLiteral(TARVELA_CLI_PATH), args);
        ChildProcess second(QStringLiteral(TARVELA_CLI_PATH), args);
        for (ChildProcess* reader : {&first, &second}) {
            ++readers;
            const int end = reader->wait();
            failed += end != 0;
            EXPECT_EQ(end, 0) << reader->errors().toStdString();
            const QJsonObject totals =
                QJsonDocument::fromJson(reader->output()).object().value("totals").toObject();
            EXPECT_NEAR(totals.value("costo_unitario_humeda").toDouble(), 0.2339, 5e-5);
        }
    }
    QFile(stop).open(QIODevice::WriteOnly);
    EXPECT_EQ(units.wait(), 0) << units.errors().toStdString();
    EXPECT_EQ(statements.wait(), 0) << statements.errors().toStdString();
    const long unitWrites = units.output().trimmed().toLong();
    const long statementWrites = statements.output().trimmed().toLong();
    EXPECT_GT(unitWrites, 0);
    EXPECT_GT(statementWrites, 0);
    std::printf("%d readers beside %ld units of writes and %ld single writes: %d failed\n", readers,
                unitWrites, statementWrites, failed);
}

// Four programs open a file made by the previous version at once, beside a writer: each checks
// and upgrades inside one write transaction, so exactly one upgrades it and all four go on.
TEST(ConcurrentUse, FourProgramsOpeningAnOldFileAllUpgradeIt) {
    const int rounds = 2;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        TestDatabase db(TestDatabase::Contents::Demo);
        auto& conn = db.conn();
        conn.execute("DROP INDEX formulas_cliente");
        conn.execute("DROP INDEX producto_propiedad_propiedad");
        conn.execute("ALTER TABLE clientes RENAME TO clientes_nuevo");
        conn.execute("CREATE TABLE clientes (idCliente INTEGER NOT NULL PRIMARY KEY, nombre TEXT "
                     "COLLATE jet_text, direccion TEXT, localidad TEXT, telefono TEXT, mail TEXT)");
        conn.execute("INSERT INTO clientes SELECT * FROM clientes_nuevo");
        conn.execute("DROP TABLE clientes_nuevo");
        const QString path = db.path();
        db.takeConnection().reset();
        const QString stop = db.folder() + QStringLiteral("/stop");
        ChildProcess writer(QStringLiteral(TARVELA_TEST_WRITER_PATH),
                            {path, "transaction", "10", stop});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));

        const QStringList args{"formulate", "3", "--db", path, "--cantidad", "1000", "--json"};
        std::vector<std::unique_ptr<ChildProcess>> openers;
        for (int p = 0; p < 4; ++p)
            openers.push_back(
                std::make_unique<ChildProcess>(QStringLiteral(TARVELA_CLI_PATH), args));
        for (auto& opener : openers)
            EXPECT_EQ(opener->wait(), 0) << opener->errors().toStdString();
        QFile(stop).open(QIODevice::WriteOnly);
        EXPECT_EQ(writer.wait(), 0) << writer.errors().toStdString();

        auto upgraded = tarvela::db::Connection::open(path, tarvela::db::databasePassword());
        EXPECT_EQ(upgraded
                      ->query("select count(*) from sqlite_master where name in "
                              "('formulas_cliente','producto_propiedad_propiedad') or "
                              "instr(sql,'jet_text') > 0")
                      .value(0, 0)
                      .toInt(),
                  2);
    }
}

// A program that found the file in need of an upgrade while another held the write lock, and
// that other upgraded it meanwhile: after the wait the first checks again and has nothing left to
// do, instead of failing on "index formulas_cliente already exists".
TEST(ConcurrentUse, TheUpgradeIsCheckedAgainOnceTheLockIsTaken) {
    TestDatabase db(TestDatabase::Contents::Demo);
    db.conn().execute("DROP INDEX formulas_cliente");
    const QString path = db.path();
    db.takeConnection().reset();

    auto other = tarvela::db::Connection::open(path, tarvela::db::databasePassword());
    other->begin(); // the write lock: the opener reads, then waits to write
    ChildProcess opener(QStringLiteral(TARVELA_CLI_PATH),
                        {"formulate", "3", "--db", path, "--cantidad", "1000", "--json"});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    other->execute("CREATE INDEX formulas_cliente ON formulas (idCliente)");
    other->commit();
    EXPECT_EQ(opener.wait(), 0) << opener.errors().toStdString();
}

} // namespace
