#include "db/database_file.h"
#include "db/schema.h"
#include "support/child_process.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <sys/stat.h>
#include <thread>

using namespace tarvela::db;
using tarvela::test::ChildProcess;

namespace {

const QString kCli = QStringLiteral(TARVELA_CLI_PATH);

// Every file in the folder, hidden ones (temporary files, journals) included.
QStringList filesIn(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

void emptyFolder(const QTemporaryDir& dir) {
    for (const QString& name : filesIn(dir))
        QFile::remove(dir.filePath(name));
}

// The file opens and holds the whole demo database.
void expectWholeDemo(const QString& path) {
    auto conn = Connection::open(path, databasePassword());
    EXPECT_EQ(conn->query("PRAGMA integrity_check").value(0, 0).toString(), "ok");
    const auto count = [&](const char* table) {
        return conn->query(QString("select count(*) from ") + table).value(0, 0).toInt();
    };
    EXPECT_EQ(count("producto_propiedad"), 17 * 64);
    EXPECT_EQ(count("formulas"), 7);
    EXPECT_EQ(count("formula_producto"), 131);
    EXPECT_EQ(count("formula_propiedad"), 74);
    EXPECT_EQ(count("parametros"), 1);
    EXPECT_EQ(count("versionado"), 1);
}

TEST(DatabaseFile, AFailedBuildLeavesNothingBehind) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    EXPECT_THROW(createDatabaseFile(path, databasePassword(),
                                    [](Connection& conn) {
                                        createSchema(conn);
                                        conn.execute("insert into no_such_table values (1)");
                                    }),
                 DbError);
    EXPECT_TRUE(filesIn(dir).isEmpty()) << filesIn(dir).join(", ").toStdString();
}

// The database is not left with the temporary file's owner-only permissions.
TEST(DatabaseFile, TakesTheUsualPermissionsOfANewFile) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    createDatabaseFile(path, databasePassword(), [](Connection& conn) { createSchema(conn); });
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644 & ~mask);
}

// Another run gives the name to its file while this one builds: that file stays as it is.
TEST(DatabaseFile, NeverReplacesAFileThatAppearedMeanwhile) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    try {
        createDatabaseFile(path, databasePassword(), [&](Connection& conn) {
            createSchema(conn);
            QFile other(path);
            ASSERT_TRUE(other.open(QIODevice::WriteOnly));
            other.write("the other run's file");
        });
        ADD_FAILURE() << "no DbError";
    } catch (const DbError& e) {
        EXPECT_EQ(e.description(),
                  QStringLiteral("El archivo '%1' ya existe; no se reemplaza.").arg(path));
    }
    QFile other(path);
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), QByteArray("the other run's file"));
    EXPECT_EQ(filesIn(dir), QStringList{"TarvelaN.mdb"});
}

// init-db --demo interrupted at random moments (SIGTERM, SIGINT and SIGKILL in turn): the
// database's name either does not exist or names the whole database; an interruption or a
// termination leaves no temporary file either.
TEST(InitDbProcess, AKilledRunLeavesNoFileOrTheWholeDatabase) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    QElapsedTimer timer;
    timer.start();
    {
        ChildProcess whole(kCli, {"init-db", path, "--demo"});
        ASSERT_EQ(whole.wait(), 0) << whole.errors().toStdString();
    }
    const qint64 wholeMs = timer.elapsed();
    expectWholeDemo(path);
    emptyFolder(dir);

    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<qint64> delayMs(0, wholeMs);
    const int interruptions[] = {SIGTERM, SIGINT, SIGKILL};
    const int tries = 30;
    int absent = 0;
    int whole = 0;
    for (int t = 0; t < tries; ++t) {
        const int interruption = interruptions[t % 3];
        const qint64 delay = delayMs(random);
        SCOPED_TRACE(testing::Message()
                     << "signal " << interruption << " after " << delay << " ms");
        ChildProcess child(kCli, {"init-db", path, "--demo"});
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        child.signal(interruption);
        const int end = child.wait();
        if (QFile::exists(path)) {
            ++whole;
            expectWholeDemo(path);
        } else {
            ++absent;
            EXPECT_NE(end, 0);
        }
        if (interruption != SIGKILL) {
            const QStringList left = filesIn(dir);
            EXPECT_TRUE(left.isEmpty() || left == QStringList{"TarvelaN.mdb"})
                << left.join(", ").toStdString();
        }
        emptyFolder(dir);
    }
    std::printf("init-db --demo (%lld ms) killed %d times: %d left no file, %d the whole "
                "database, none a broken one\n",
                static_cast<long long>(wholeMs), tries, absent, whole);
    EXPECT_GT(absent, 0); // the kills did land while the database was being built
}

// The temporary files of the folder: ".tarvela-db-" names and their journals.
QStringList temporariesIn(const QTemporaryDir& dir) {
    return filesIn(dir).filter(QStringLiteral(".tarvela-db-"));
}

// A run killed outright leaves its temporary file and journal; the next run in the folder
// removes them, while runs building beside each other never touch each other's.
TEST(InitDbProcess, TheNextRunRemovesWhatAKilledRunLeft) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    bool leftovers = false;
    for (int attempt = 0; attempt < 20 && !leftovers; ++attempt) {
        ChildProcess child(kCli, {"init-db", dir.filePath("a.mdb"), "--demo"});
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 20 * attempt));
        child.signal(SIGKILL);
        child.wait();
        leftovers = !temporariesIn(dir).isEmpty();
        QFile::remove(dir.filePath("a.mdb"));
    }
    ASSERT_TRUE(leftovers) << "no kill landed while the file was being built";

    ChildProcess next(kCli, {"init-db", dir.filePath("b.mdb")});
    ASSERT_EQ(next.wait(), 0) << next.errors().toStdString();
    EXPECT_EQ(filesIn(dir), QStringList{"b.mdb"});

    // Two runs beside each other in one folder, each removing what is free to remove: both
    // files are whole.
    for (int pair = 0; pair < 4; ++pair) {
        ChildProcess c(kCli, {"init-db", dir.filePath("c.mdb"), "--demo"});
        ChildProcess d(kCli, {"init-db", dir.filePath("d.mdb"), "--demo"});
        EXPECT_EQ(c.wait(), 0) << c.errors().toStdString();
        EXPECT_EQ(d.wait(), 0) << d.errors().toStdString();
        expectWholeDemo(dir.filePath("c.mdb"));
        expectWholeDemo(dir.filePath("d.mdb"));
        QFile::remove(dir.filePath("c.mdb"));
        QFile::remove(dir.filePath("d.mdb"));
    }
    EXPECT_TRUE(temporariesIn(dir).isEmpty());
}

// Any legal file name can be built: the temporary and journal names stay short.
TEST(InitDbProcess, NamesUpToTheSystemsLimitAreBuilt) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    for (const int length : {240, 255}) {
        const QString name = QString(length - 4, QLatin1Char('n')) + QStringLiteral(".mdb");
        ChildProcess run(kCli, {"init-db", dir.filePath(name)});
        EXPECT_EQ(run.wait(), 0) << length << run.errors().toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << length;
    }
}

TEST(InitDbProcess, TwoRacingRunsLeaveExactlyOneWholeFile) {
    TARVELA_FILE_ONLY();
    QTemporaryDir dir;
    const QString path = dir.filePath("TarvelaN.mdb");
    const int pairs = 8;
    for (int p = 0; p < pairs; ++p) {
        SCOPED_TRACE(p);
        ChildProcess a(kCli, {"init-db", path, "--demo"});
        ChildProcess b(kCli, {"init-db", path, "--demo"});
        const int endA = a.wait();
        const int endB = b.wait();
        EXPECT_EQ((endA == 0) + (endB == 0), 1) << endA << " " << endB;
        EXPECT_EQ(endA + endB, 2);
        EXPECT_TRUE((endA ? a : b).errors().contains("ya existe; no se reemplaza"));
        expectWholeDemo(path);
        EXPECT_EQ(filesIn(dir), QStringList{"TarvelaN.mdb"});
        emptyFolder(dir);
    }
    std::printf("%d pairs of racing init-db --demo: one whole file each time\n", pairs);
}

} // namespace
