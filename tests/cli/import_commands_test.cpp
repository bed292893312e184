#include "support/command_output.h"
#include "support/test_database.h"

#include "cli/commands.h"
#include "db/schema.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

class CliImports : public ::testing::Test {
protected:
    CliImports() { tdb.takeConnection().reset(); }

    QString file(const QString& name, const QByteArray& contents) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(contents);
        return path;
    }
    double price(const QString& code, int base = 1) {
        auto conn = db::Connection::open(tdb.path(), db::databasePassword());
        return conn
            ->query(QStringLiteral("select costo from productos where trim(codigo)='%1' "
                                   "and idBase=%2")
                        .arg(code)
                        .arg(base))
            .value(0, 0)
            .toDouble();
    }

    TestDatabase tdb{TestDatabase::Contents::Demo};
    QTemporaryDir dir;
};

TEST_F(CliImports, PricesApplyOnlyWhatTheExitCodeAllows) {
    const double before = price("101");
    const QString list = file("lista.csv", "codigo;precio\n101;0,2511\n999;1\n");
    const QString db = tdb.path();

    const CliRun refused = runCommand(cli::importPrices, {list, "--db", db});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.out.contains("Código inexistente"));
    EXPECT_EQ(price("101"), before);
    EXPECT_EQ(runCommand(cli::importPrices, {list, "--db", db, "--dry-run"}).code, 1);
    EXPECT_EQ(price("101"), before);

    const CliRun skipped =
        runCommand(cli::importPrices, {list, "--db", db, "--skip-invalid", "--json"});
    EXPECT_EQ(skipped.code, 1);
    const QJsonObject out = QJsonDocument::fromJson(skipped.out).object();
    EXPECT_TRUE(out["applied"].toBool());
    EXPECT_EQ(out["updated"].toInt(), 1);
    EXPECT_EQ(out["counts"]["Código inexistente"].toInt(), 1);
    EXPECT_EQ(out["rows"][0]["costo_actual"].toDouble(), before);
    EXPECT_EQ(out["rows"][1]["id_producto"], QJsonValue(QJsonValue::Null));
    EXPECT_EQ(price("101"), 0.2511);

    // Another base, a clean list whose change of price needs confirming: applied, exit 0.
    const QString clean = file("limpia.csv", "Código,Costo\n201,0.5\n");
    EXPECT_EQ(runCommand(cli::importPrices, {clean, "--db", db, "--base", "2"}).code, 1);
    EXPECT_EQ(price("201", 2), 0.2);
    EXPECT_EQ(
        runCommand(cli::importPrices, {clean, "--db", db, "--base", "2", "--confirm-variation"})
            .code,
        0);
    EXPECT_EQ(price("201", 2), 0.5);

    EXPECT_EQ(runCommand(cli::importPrices, {"--db", db}).code, 2);
    EXPECT_EQ(runCommand(cli::importPrices, {list, "--base", "4"}).code, 2);
    const CliRun missing = runCommand(cli::importPrices, {dir.filePath("no.csv"), "--db", db});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("No se encuentra el archivo"));
    EXPECT_EQ(runCommand(cli::importPrices, {file("x.csv", "a;b\n1;2\n"), "--db", db}).code, 2);
}

TEST_F(CliImports, ExportedCompositionImportsWithoutChanges) {
    const QString table = dir.filePath("composicion.xlsx");
    ASSERT_EQ(runCommand(cli::exportComposition, {table, "--db", tdb.path()}).code, 0);
    const CliRun again = runCommand(cli::importComposition, {table, "--db", tdb.path(), "--json"});
    EXPECT_EQ(again.code, 0);
    const QJsonObject counts = QJsonDocument::fromJson(again.out).object()["counts"].toObject();
    EXPECT_EQ(counts["changed"].toInt(), 0);
    EXPECT_EQ(counts["new_ingredients"].toInt(), 0);
    EXPECT_GT(counts["unchanged"].toInt(), 100);

    const QString edited = file("editada.csv", "Código;Proteína Bruta (%)\n101;abc\n");
    const CliRun refused = runCommand(cli::importComposition, {edited, "--db", tdb.path()});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.out.contains("Fila 2, columna B (Proteína Bruta (%)): 'abc' no es un "
                                     "número"));
    EXPECT_EQ(runCommand(cli::exportComposition, {dir.filePath("c.txt"), "--db", tdb.path()}).code,
              2);
}

} // namespace
} // namespace tarvela::test
