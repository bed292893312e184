#include "app/startup.h"

#include "db/schema.h"
#include "support/scripted_desktop.h"
#include "support/test_database.h"
#include "text/format.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using test::ScriptedDesktop;
using test::TestDatabase;

// Restores the workstation's locale when the test ends.
struct LocaleGuard {
    QLocale saved;
    explicit LocaleGuard(const QLocale& use) { QLocale::setDefault(use); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

db::Result versionRow(const QVariant& app, const QVariant& base) {
    return db::Result({QStringLiteral("idVersionado"), QStringLiteral("versionapnueva"),
                       QStringLiteral("versionbdnueva")},
                      {{QVariant(qlonglong(1)), app, base}});
}

QString connectionStringFor(const QString& path, const QString& password) {
    return QStringLiteral(
               "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False;"
               "jet oledb:database Password=%2;")
        .arg(path, password);
}

TEST(DecimalSeparator, PointCommaOrUnusable) {
    EXPECT_EQ(decimalSeparatorFor(QLatin1Char('.')), QStringLiteral("."));
    EXPECT_EQ(decimalSeparatorFor(QLatin1Char(',')), QStringLiteral(","));
    EXPECT_EQ(decimalSeparatorFor(QChar(0x066B)), QString()); // Arabic decimal separator
}

TEST(VersionText, ApplicationOverHundredThenDatabase) {
    EXPECT_EQ(versionText(versionRow(qlonglong(200), qlonglong(3))), QStringLiteral("2.00.3"));
    EXPECT_EQ(versionText(db::Result(
                  {QStringLiteral("versionapnueva"), QStringLiteral("versionbdnueva")}, {})),
              QStringLiteral("0.00.0"));
}

TEST(VersionText, CommaWorkstationStillShowsPoints) {
    LocaleGuard guard(QLocale(QLocale::Spanish, QLocale::Argentina));
    EXPECT_EQ(versionText(versionRow(qlonglong(201), qlonglong(0))), QStringLiteral("2.01.0"));
    EXPECT_EQ(versionText(versionRow(qlonglong(1250), qlonglong(12))), QStringLiteral("12.50.12"));
}

TEST(VersionText, NewestRowOfTheDatabase) {
    TestDatabase database;
    EXPECT_EQ(readVersion(database.conn()), QStringLiteral("2.02.1"));
    database.conn().execute(QStringLiteral("insert into versionado (idVersionado, versionapnueva, "
                                           "versionbdnueva) values (2, 201, 0)"));
    EXPECT_EQ(readVersion(database.conn()), QStringLiteral("2.01.0"));
    database.conn().execute(QStringLiteral("delete from versionado"));
    EXPECT_EQ(readVersion(database.conn()), QStringLiteral("0.00.0"));
}

class StartupParameters : public ::testing::Test {
protected:
    StartupParameters() {
        ctx.conn = database.takeConnection();
        ctx.desktop = &desktop;
    }
    QVariant storedBase() {
        return ctx.db().query(QStringLiteral("select idBase from parametros")).value(0, 0);
    }
    // Runs selectBase and returns the painted state of buttons 1 to 3.
    std::vector<std::pair<int, bool>> select(int index) {
        std::vector<std::pair<int, bool>> painted;
        selectBase(ctx, index,
                   [&](int button, bool selected) { painted.emplace_back(button, selected); });
        return painted;
    }

    TestDatabase database;
    ScriptedDesktop desktop;
    AppContext ctx;
};

using Painted = std::vector<std::pair<int, bool>>;

TEST_F(StartupParameters, StoredBaseThreeIsRestoredAndRewritten) {
    ctx.db().execute(QStringLiteral("update parametros set idBase = 3, idCliente = 4"));
    ctx.currentBase = 2;
    restoreParameters(ctx);
    EXPECT_EQ(ctx.currentBase, 3);
    EXPECT_EQ(ctx.currentCustomer, 4);

    EXPECT_EQ(select(ctx.currentBase), (Painted{{1, false}, {2, false}, {3, true}}));
    EXPECT_EQ(storedBase().toInt(), 3);
    EXPECT_TRUE(desktop.keys.isEmpty()) << "the menu is not opened at start-up";
}

TEST_F(StartupParameters, NullColumnsAndMissingRowKeepDefaults) {
    ctx.db().execute(QStringLiteral("update parametros set idBase = null, idCliente = null"));
    ctx.currentBase = 3;
    ctx.currentCustomer = 9;
    restoreParameters(ctx);
    EXPECT_EQ(ctx.currentBase, 1);
    EXPECT_EQ(ctx.currentCustomer, 0);

    ctx.db().execute(QStringLiteral("update parametros set idBase = 2"));
    restoreParameters(ctx);
    EXPECT_EQ(ctx.currentBase, 2);
    EXPECT_EQ(ctx.currentCustomer, 0);

    ctx.db().execute(QStringLiteral("delete from parametros"));
    restoreParameters(ctx);
    EXPECT_EQ(ctx.currentBase, 1);
    // The update changes no row and start-up goes on.
    EXPECT_NO_THROW(select(1));
    EXPECT_EQ(ctx.currentBase, 1);
}

TEST_F(StartupParameters, BaseOutOfRangeSelectsNothingAndStoresNothing) {
    ctx.db().execute(QStringLiteral("update parametros set idBase = 7"));
    restoreParameters(ctx);
    ctx.layoutDone = false;
    EXPECT_EQ(select(ctx.currentBase), (Painted{{1, false}, {2, false}, {3, false}}));
    EXPECT_EQ(ctx.currentBase, 7);
    EXPECT_EQ(storedBase().toInt(), 7);
}

TEST_F(StartupParameters, ClickAfterLayoutStoresAndOpensFormulasMenu) {
    ctx.layoutDone = true;
    select(2);
    EXPECT_EQ(ctx.currentBase, 2);
    EXPECT_EQ(storedBase().toInt(), 2);
    // The same base again is stored again and opens the menu again.
    ctx.db().execute(QStringLiteral("update parametros set idBase = 1"));
    select(2);
    EXPECT_EQ(storedBase().toInt(), 2);
    EXPECT_EQ(desktop.keys, (QStringList{QStringLiteral("%f"), QStringLiteral("%f")}));
}

TEST(StartUp, OpensTheDatabaseNamedByTheConnectionString) {
    TestDatabase database;
    const QString path = database.path();
    database.takeConnection().reset();
    ScriptedDesktop desktop;
    AppContext ctx;
    ctx.desktop = &desktop;
    ASSERT_TRUE(startUp(ctx, connectionStringFor(path, db::databasePassword())));
    EXPECT_TRUE(ctx.startupOk);
    ASSERT_NE(ctx.conn, nullptr);
    EXPECT_EQ(ctx.decimalSeparator, QString(text::workstationDecimalSeparator()));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(StartUp, CommaWorkstation) {
    LocaleGuard guard(QLocale(QLocale::Spanish, QLocale::Argentina));
    TestDatabase database;
    const QString path = database.path();
    database.takeConnection().reset();
    ScriptedDesktop desktop;
    AppContext ctx;
    ctx.desktop = &desktop;
    ASSERT_TRUE(startUp(ctx, connectionStringFor(path, db::databasePassword())));
    EXPECT_EQ(ctx.decimalSeparator, QStringLiteral(","));
}

TEST(StartUp, UnusableSeparatorEndsBeforeConnecting) {
    LocaleGuard guard(QLocale(QLocale::Arabic, QLocale::Egypt));
    if (text::workstationDecimalSeparator() == QLatin1Char('.') ||
        text::workstationDecimalSeparator() == QLatin1Char(','))
        GTEST_SKIP() << "this Qt gives the locale a usable separator";
    ScriptedDesktop desktop;
    AppContext ctx;
    ctx.desktop = &desktop;
    EXPECT_FALSE(startUp(ctx, QStringLiteral("Data Source=/nonexistent/TarvelaN.mdb;")));
    EXPECT_FALSE(ctx.startupOk);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("El separador decimal no es válido."));
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
}

TEST(StartUp, ConnectionFailuresEndTheProgramWithTheErrorNumber) {
    TARVELA_FILE_ONLY();
    TestDatabase database;
    const QString path = database.path();
    database.takeConnection().reset();

    const QStringList failing = {
        connectionStringFor(path + QStringLiteral(".missing"), db::databasePassword()),
        connectionStringFor(path, QStringLiteral("wrong"))};
    for (const QString& connection : failing) {
        ScriptedDesktop desktop;
        AppContext ctx;
        ctx.desktop = &desktop;
        EXPECT_FALSE(startUp(ctx, connection));
        EXPECT_FALSE(ctx.startupOk);
        EXPECT_EQ(ctx.conn, nullptr);
        ASSERT_EQ(desktop.messages.size(), 1u);
        const QString text = desktop.messages[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error nro.: "))) << text.toStdString();
        const QString number = text.section(QLatin1Char('\n'), 0, 0).mid(12);
        bool numeric = false;
        number.toInt(&numeric);
        EXPECT_TRUE(numeric) << text.toStdString();
        EXPECT_FALSE(text.section(QLatin1Char('\n'), 1).isEmpty()) << "the description follows";
    }
}

} // namespace
} // namespace tarvela

namespace tarvela {
namespace {

using test::ScriptedDesktop;
using test::TestDatabase;

// The working folder of the program, for one test.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& folder) : previous_(QDir::currentPath()) {
        QDir::setCurrent(folder);
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    QString previous_;
};

void writeIni(const QString& folder, const QByteArray& text) {
    QFile ini(QDir(folder).filePath(QStringLiteral("tarvela.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(text);
}

// tarvela.ini in the working folder names the server; without it the file is opened.
TEST(StartUp, TarvelaIniNamesTheServer) {
    TestDatabase database;
    const QTemporaryDir folder;
    WorkingFolder working(folder.path());
    EXPECT_EQ(configuredServer(folder.path()), QString());
    writeIni(folder.path(), "[BaseDeDatos]\nservidor=postgresql://tarvela@127.0.0.1:9/tarvela\n");
    EXPECT_EQ(configuredServer(folder.path()), "postgresql://tarvela@127.0.0.1:9/tarvela");
    {
        ScriptedDesktop desktop;
        AppContext ctx;
        ctx.desktop = &desktop;
        EXPECT_FALSE(startUp(ctx, connectionStringFor(database.path(), db::databasePassword())));
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text,
                  "Error nro.: 8006\nNo se pudo conectar con el servidor 127.0.0.1: el servidor no "
                  "responde (¿está en marcha y acepta conexiones?).");
    }
    if (!TestDatabase::onServer())
        return;
    writeIni(folder.path(), "[BaseDeDatos]\nservidor=" + database.path().toUtf8() + "\n");
    ScriptedDesktop desktop;
    AppContext ctx;
    ctx.desktop = &desktop;
    ASSERT_TRUE(startUp(ctx, QStringLiteral("Data Source=TarvelaN.mdb;")));
    EXPECT_EQ(ctx.db().engine(), db::Engine::Server);
    EXPECT_EQ(ctx.db().displayName(), "localhost/postgres");
    EXPECT_EQ(readVersion(ctx.db()), "2.02.1");
}

} // namespace
} // namespace tarvela
