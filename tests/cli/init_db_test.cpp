// tarvela-cli init-db: a database file as shipped, never over an existing file.
#include "cli/commands.h"
#include "db/connection.h"
#include "db/schema.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

using namespace tarvela::db;

namespace {

TEST(InitDb, CreatesTheDatabaseAndRefusesToOverwrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    EXPECT_EQ(tarvela::cli::initDb({path}), 0);
    {
        auto conn = Connection::open(path, databasePassword());
        EXPECT_EQ(conn->query("select count(*) from formulas").value(0, 0).toInt(), 0);
        EXPECT_EQ(conn->query("select count(*) from parametros").value(0, 0).toInt(), 1);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    file.close();
    EXPECT_EQ(tarvela::cli::initDb({path, "--demo"}), 2);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256), before);

    const QString demo = dir.filePath("demo.mdb");
    EXPECT_EQ(tarvela::cli::initDb({demo, "--demo"}), 0);
    auto conn = Connection::open(demo, databasePassword());
    EXPECT_EQ(conn->query("select count(*) from formulas").value(0, 0).toInt(), 7);

    EXPECT_EQ(tarvela::cli::initDb({}), 2);
    EXPECT_EQ(tarvela::cli::initDb({dir.filePath("a.mdb"), dir.filePath("b.mdb")}), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mdb")));
}

} // namespace
