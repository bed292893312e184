#include "cli_process.h"
#include "support/test_database.h"

#include "db/connection.h"
#include "db/schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

CliResult reformulate(const QStringList& args) {
    return runCli(QStringLiteral("reformulate"), args);
}

// After a price change: every formula of the base with its old and new cost, read back from the
// JSON; with --save the optimal ones become new versions; a formula without solution gets its
// diagnosis and the exit code 1.
TEST(CliReformulate, JsonAfterAPriceChangeAndSave) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    tdb.conn().execute(QStringLiteral("update productos set costo=costo*1.2"));
    tdb.conn().execute(QStringLiteral("update parametros set idBase=2"));
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliResult ok = reformulate({QStringLiteral("--db"), path, QStringLiteral("--json")});
    ASSERT_EQ(ok.code, 0) << ok.err.toStdString();
    const QJsonArray formulas =
        QJsonDocument::fromJson(ok.out).object().value("formulas").toArray();
    ASSERT_EQ(formulas.size(), 2); // the current base: the pig formulas
    for (const QJsonValue& v : formulas) {
        const QJsonObject f = v.toObject();
        EXPECT_TRUE(f.value("codigo").toString().startsWith(QLatin1Char('2')));
        EXPECT_EQ(f.value("estado").toString(), QStringLiteral("Óptima"));
        const double before = f.value("costo_anterior").toDouble();
        const double after = f.value("costo_actual").toDouble();
        EXPECT_GT(before, 0);
        EXPECT_GT(after, before); // every price rose by a fifth
        EXPECT_NEAR(f.value("variacion").toDouble(), (after - before) / before * 100, 1e-9);
        EXPECT_TRUE(f.value("entran").isArray());
        EXPECT_FALSE(f.contains("id_formula_nueva"));
        EXPECT_FALSE(f.contains("diagnosis"));
    }

    {
        const auto conn = db::Connection::open(path, db::databasePassword());
        conn->execute(QStringLiteral(
            "update formula_propiedad set minimo=300, maximo=null where id_formula=1 and "
            "id_propiedad=1"));
    }
    const CliResult saved =
        reformulate({QStringLiteral("--db"), path, QStringLiteral("--base"), QStringLiteral("1"),
                     QStringLiteral("--save"), QStringLiteral("--json")});
    EXPECT_EQ(saved.code, 1);
    const QJsonArray cattle =
        QJsonDocument::fromJson(saved.out).object().value("formulas").toArray();
    ASSERT_EQ(cattle.size(), 2);
    const QJsonObject stuck = cattle[0].toObject();
    EXPECT_EQ(stuck.value("estado").toString(), QStringLiteral("Sin solución"));
    EXPECT_TRUE(stuck.value("costo_actual").isNull());
    EXPECT_TRUE(stuck.value("id_formula_nueva").isNull());
    EXPECT_FALSE(stuck.value("diagnosis").toObject().value("conflict").toArray().isEmpty());
    const QJsonObject stored = cattle[1].toObject();
    EXPECT_EQ(stored.value("id_formula_nueva").toInt(), 8);

    const CliResult table =
        reformulate({QStringLiteral("--db"), path, QStringLiteral("--base"), QStringLiteral("1")});
    EXPECT_EQ(table.code, 1);
    // The saved version is now the latest of its code.
    EXPECT_TRUE(QString::fromUtf8(table.out).contains(QStringLiteral("1002 | 2 |")))
        << table.out.toStdString();

    EXPECT_EQ(
        reformulate({QStringLiteral("--db"), path, QStringLiteral("--base"), QStringLiteral("4")})
            .code,
        2);
    EXPECT_EQ(reformulate({QStringLiteral("--bogus")}).code, 2);
    EXPECT_EQ(reformulate({QStringLiteral("--db"), path + QStringLiteral(".none")}).code, 2);
}

} // namespace
} // namespace tarvela::test
