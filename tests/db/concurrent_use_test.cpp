#include "support/child_process.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <cstdio>
#include <thread>

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

} // namespace
