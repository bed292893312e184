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

CliResult plan(const QStringList& args) {
    return runCli(QStringLiteral("plan"), args);
}

// The demo plan: three broiler and layer formulas over a scarce meat and bone meal. Then a stock
// of 0 of the premix every formula must hold: the plan cannot be met, and the diagnosis says so.
TEST(CliPlan, DemoPlanItsScarceStockAndAPlanThatCannotBeMet) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliResult ok =
        plan({QStringLiteral("1"), QStringLiteral("--db"), path, QStringLiteral("--json")});
    ASSERT_EQ(ok.code, 0) << ok.err.toStdString() << ok.out.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(ok.out).object();
    EXPECT_EQ(o.value("plan").toInt(), 1);
    const QJsonArray formulas = o.value("formulas").toArray();
    ASSERT_EQ(formulas.size(), 3);
    double total = 0;
    for (const QJsonValue& v : formulas) {
        const QJsonObject f = v.toObject();
        double share = 0;
        for (const QJsonValue& i : f.value("ingredientes").toArray())
            share += i.toObject().value("porcentaje").toDouble();
        EXPECT_NEAR(share, 100.0, 1e-4);
        total += f.value("cantidad").toDouble() * f.value("costo_unitario").toDouble();
    }
    EXPECT_NEAR(o.value("costo_total").toDouble(), total, 1e-6 * total);
    EXPECT_GT(o.value("costo_total").toDouble(), o.value("costo_separado").toDouble());
    int binding = 0;
    for (const QJsonValue& v : o.value("existencias").toArray()) {
        const QJsonObject s = v.toObject();
        EXPECT_GE(s.value("valor_marginal").toDouble(), 0.0);
        if (s.value("limitante").toBool()) {
            ++binding;
            EXPECT_GT(s.value("valor_marginal").toDouble(), 0.0);
            EXPECT_NEAR(s.value("sobrante").toDouble(), 0.0, 1e-6);
        }
        if (s.value("existencia").isNull()) {
            EXPECT_TRUE(s.value("sobrante").isNull());
        }
    }
    EXPECT_EQ(binding, 1);
    EXPECT_FALSE(o.contains("diagnosis"));

    db::Connection::open(path, db::databasePassword())
        ->execute(QStringLiteral("insert into plan_existencia values (1,64,0)"));
    const CliResult short_ =
        plan({QStringLiteral("1"), QStringLiteral("--db"), path, QStringLiteral("--json")});
    ASSERT_EQ(short_.code, 1) << short_.err.toStdString();
    const QJsonObject d =
        QJsonDocument::fromJson(short_.out).object().value("diagnosis").toObject();
    const QJsonArray conflict = d.value("conflict").toArray();
    ASSERT_FALSE(conflict.isEmpty());
    EXPECT_EQ(conflict.first().toObject().value("tipo").toString(), "existencia");
    EXPECT_EQ(conflict.first().toObject().value("id").toInt(), 64);
    EXPECT_GT(d.value("relaxation")
                  .toObject()
                  .value("changes")
                  .toArray()
                  .first()
                  .toObject()
                  .value("nuevo_valor")
                  .toDouble(),
              0.0);

    const CliResult table = plan({QStringLiteral("1"), QStringLiteral("--db"), path});
    EXPECT_EQ(table.code, 1);
    EXPECT_TRUE(QString::fromUtf8(table.out).contains("Restricciones que no pueden cumplirse"));

    EXPECT_EQ(plan({QStringLiteral("99"), QStringLiteral("--db"), path}).code, 2);
    EXPECT_EQ(plan({QStringLiteral("--json")}).code, 2);
}

} // namespace
} // namespace tarvela::test
