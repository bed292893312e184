// tarvela-cli on servers: init-db and copy-db with postgresql:// addresses, and a server that does
// not answer, exit 2 with the reason.
#include "cli/commands.h"
#include "db/schema.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace tarvela::db;
using tarvela::test::TestDatabase;

namespace {

TEST(ServerCommands, CopyDbIntoADatabaseWithoutTheProgramsTablesOnly) {
    TestDatabase source(TestDatabase::Contents::Demo);
    const QString target = source.emptyTarget();
    EXPECT_EQ(tarvela::cli::copyDb({source.path(), target}), 0);
    auto copied = Connection::open(target, databasePassword());
    EXPECT_EQ(copied->query("select count(*) from formulas").value(0, 0).toInt(), 7);
    EXPECT_EQ(tarvela::cli::copyDb({source.path(), target}), 2);
    EXPECT_EQ(copied->query("select count(*) from formulas").value(0, 0).toInt(), 7);
    EXPECT_EQ(tarvela::cli::copyDb({QDir(source.folder()).filePath("no.mdb"),
                                    QDir(source.folder()).filePath("otra.mdb")}),
              2);
    EXPECT_EQ(tarvela::cli::copyDb({source.path()}), 2);
}

TEST(ServerCommands, AServerThatDoesNotAnswerEndsWithExitTwo) {
    const QString nowhere = "postgresql://tarvela@127.0.0.1:9/tarvela";
    EXPECT_EQ(tarvela::cli::formulate({"3", "--db", nowhere}), 2);
    EXPECT_EQ(tarvela::cli::initDb({nowhere}), 2);
}

TEST(ServerCommands, InitDbOnAServerRefusesADatabaseWithTheProgramsTables) {
    if (!TestDatabase::onServer())
        GTEST_SKIP() << "del servidor solamente";
    TestDatabase run(TestDatabase::Contents::Empty);
    const QString address = run.path();
    EXPECT_EQ(tarvela::cli::initDb({address, "--demo"}), 0);
    auto conn = Connection::openServer(address);
    upgradeSchema(*conn);
    EXPECT_EQ(conn->query("select count(*) from formulas").value(0, 0).toInt(), 7);
    EXPECT_EQ(tarvela::cli::initDb({address}), 2);
    EXPECT_EQ(conn->query("select count(*) from formulas").value(0, 0).toInt(), 7);
}

} // namespace
