#include "support/command_output.h"
#include "support/test_database.h"

#include "cli/commands.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <unistd.h>

namespace tarvela::test {
namespace {

CliRun runCli(const QStringList& args) {
    return runCommand(cli::formulate, args);
}

// A demo database file changed by the statements, closed again.
QString demoFileWith(TestDatabase& tdb, std::initializer_list<const char*> statements) {
    for (const char* statement : statements)
        tdb.conn().execute(QString::fromUtf8(statement));
    const QString path = tdb.path();
    tdb.takeConnection().reset();
    return path;
}

TEST(CliFormulate, JsonContractAndExitCodes) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    CliRun ok = runCli({"3", "--db", path, "--cantidad", "1000", "--json"});
    ASSERT_EQ(ok.code, 0) << ok.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(ok.out).object();
    const QJsonObject f = o.value("formula").toObject();
    EXPECT_EQ(f.value("id").toInt(), 3);
    EXPECT_EQ(f.value("codigo").toString(), QStringLiteral("2001"));
    EXPECT_EQ(f.value("cantidad").toDouble(), 1000.0);
    EXPECT_FALSE(f.value("vSecaIng").toBool());
    EXPECT_TRUE(o.value("messages").toArray().isEmpty());
    const QJsonArray ings = o.value("ingredients").toArray();
    ASSERT_FALSE(ings.isEmpty());
    for (const char* key : {"id_producto", "nombre", "materia_seca", "costo_humeda", "minimo",
                            "maximo", "cantidad_seca", "porcentaje_seca", "cantidad_humeda",
                            "porcentaje_humeda", "costo_total"})
        EXPECT_TRUE(ings[0].toObject().contains(key)) << key;
    EXPECT_TRUE(ings[0].toObject().value("minimo").isNull() ||
                ings[0].toObject().value("minimo").isDouble());
    EXPECT_NEAR(o.value("totals").toObject().value("costo_unitario_humeda").toDouble(), 0.2339,
                5e-5);
    EXPECT_FALSE(o.value("analysis").toArray().isEmpty());
    EXPECT_EQ(o.value("nutrients").toArray().size(), 12);
    EXPECT_FALSE(o.contains("diagnosis"));

    // A check that stops the run: exit 1, its message in the output.
    CliRun stopped = runCli({"3", "--db", path, "--cantidad", "0", "--json"});
    EXPECT_EQ(stopped.code, 1);
    const QJsonArray msgs =
        QJsonDocument::fromJson(stopped.out).object().value("messages").toArray();
    ASSERT_EQ(msgs.size(), 1);
    EXPECT_EQ(msgs[0].toObject().value("text").toString(),
              QStringLiteral("La cantidad a elaborar debe ser mayor que cero"));
    EXPECT_EQ(msgs[0].toObject().value("icon").toString(), QStringLiteral("critical"));

    // The readable table.
    CliRun table = runCli({"3", "--db", path, "--cantidad", "1000"});
    EXPECT_EQ(table.code, 0);
    EXPECT_TRUE(QString::fromUtf8(table.out).contains(
        QStringLiteral("Costo U.Seca: $ 0.2623  Costo U.Húmeda: $ 0.2339")));

    EXPECT_EQ(runCli({"--json"}).code, 2);
    EXPECT_EQ(runCli({"3", "--db"}).code, 2);
    EXPECT_EQ(runCli({"3", "--bogus"}).code, 2);
    const CliRun missing = runCli({"3", "--db", path + QStringLiteral(".none")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_EQ(runCli({"99", "--db", path}).code, 2);
}

TEST(CliFormulate, UnreachableMinimumPrintsTheContributions) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    tdb.conn().execute(QStringLiteral(
        "update formula_propiedad set minimo=300, maximo=null where id_formula=3 and "
        "id_propiedad=1"));
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun run = runCli({"3", "--db", path, "--cantidad", "1000", "--json"});
    EXPECT_EQ(run.code, 1);
    const QJsonArray msgs = QJsonDocument::fromJson(run.out).object().value("messages").toArray();
    ASSERT_EQ(msgs.size(), 2);
    EXPECT_TRUE(msgs[0].toObject().value("title").toString().startsWith(
        QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para ")));
    EXPECT_TRUE(msgs[0].toObject().value("text").toString().contains(
        QStringLiteral("Máximo valor a alcanzar con los ingredientes actuales: ")));
    EXPECT_TRUE(msgs[1].toObject().value("text").toString().startsWith(
        QStringLiteral("No es posible alcanzar el Mínimo para la propiedad ")));
    EXPECT_EQ(msgs[1].toObject().value("title").toString(),
              QStringLiteral("Se ha cancelado la Formulación"));
}

// The demo's ratio (broiler starter) and cereal group (feedlot) are printed with their limits
// and the values the run reached; both bind, and both are priced.
TEST(CliFormulate, RatioAndGroupLimitsInTheJsonAndTheTable) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun poultry = runCli({"5", "--db", path, "--json"});
    ASSERT_EQ(poultry.code, 0) << poultry.err.toStdString();
    const QJsonObject p = QJsonDocument::fromJson(poultry.out).object();
    const QJsonArray ratios = p.value("relaciones").toArray();
    ASSERT_EQ(ratios.size(), 1);
    const QJsonObject ratio = ratios[0].toObject();
    EXPECT_EQ(ratio.value("id_num").toInt(), 9);
    EXPECT_EQ(ratio.value("id_den").toInt(), 11);
    EXPECT_EQ(ratio.value("nombre").toString(), QStringLiteral("Calcio / Fósforo Disponible"));
    EXPECT_EQ(ratio.value("minimo").toDouble(), 2.0);
    EXPECT_EQ(ratio.value("maximo").toDouble(), 2.1);
    EXPECT_NEAR(ratio.value("valor").toDouble(), 2.1, 1e-9);
    EXPECT_TRUE(p.value("grupos").toArray().isEmpty());

    const CliRun feedlot = runCli({"2", "--db", path, "--json"});
    ASSERT_EQ(feedlot.code, 0) << feedlot.err.toStdString();
    const QJsonObject f = QJsonDocument::fromJson(feedlot.out).object();
    const QJsonArray groups = f.value("grupos").toArray();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].toObject().value("id").toInt(), 1);
    EXPECT_EQ(groups[0].toObject().value("nombre").toString(), QStringLiteral("Cereales"));
    EXPECT_TRUE(groups[0].toObject().value("minimo").isNull());
    EXPECT_EQ(groups[0].toObject().value("maximo").toDouble(), 550.0);
    EXPECT_NEAR(groups[0].toObject().value("valor").toDouble(), 550.0, 1e-6);
    bool priced = false;
    for (const QJsonValue& a : f.value("analysis").toArray())
        priced = priced || (a.toObject().value("tipo").toString() == QStringLiteral("RG") &&
                            a.toObject().value("valor2").toDouble() < 0);
    EXPECT_TRUE(priced) << "raising the cereal maximum makes the batch cheaper";

    const QString table = QString::fromUtf8(runCli({"2", "--db", path}).out);
    EXPECT_TRUE(table.contains(QStringLiteral("Relaciones y Grupos\n"))) << table.toStdString();
    EXPECT_TRUE(table.contains(QStringLiteral("Grupo Cereales")));
}

// A mix that breaks its limits is never reported as found: the clipped mix and the messages are
// printed as for any run, and the exit code is 1.
TEST(CliFormulate, AnInfeasibleRunExitsOne) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    tdb.conn().execute(QStringLiteral(
        "update formula_propiedad set maximo=0.01 where id_formula=3 and id_propiedad=6"));
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun run = runCli({"3", "--db", path, "--cantidad", "1000", "--json"});
    EXPECT_EQ(run.code, 1);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    const QJsonArray msgs = o.value("messages").toArray();
    ASSERT_FALSE(msgs.isEmpty());
    EXPECT_EQ(msgs.last().toObject().value("text").toString(),
              QStringLiteral("No es posible cumplir todas las restricciones"));
    double total = 0;
    for (const QJsonValue& ing : o.value("ingredients").toArray())
        total += ing.toObject().value("cantidad_humeda").toDouble();
    EXPECT_NEAR(total, 1000, 1e-6);

    const CliRun table = runCli({"3", "--db", path, "--cantidad", "1000"});
    EXPECT_EQ(table.code, 1);
    EXPECT_TRUE(table.out.contains("No es posible cumplir todas las restricciones"));
}

// An infeasible run names its conflicting limits, the value each needs alone and the least
// combined change, with the cost of the mix it allows.
TEST(CliFormulate, AnInfeasibleRunAddsItsDiagnosis) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    tdb.conn().execute(QStringLiteral(
        "update formula_propiedad set maximo=0.01 where id_formula=3 and id_propiedad=6"));
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun run = runCli({"3", "--db", path, "--cantidad", "1000", "--json"});
    EXPECT_EQ(run.code, 1);
    const QJsonObject d = QJsonDocument::fromJson(run.out).object().value("diagnosis").toObject();
    const QJsonArray conflict = d.value("conflict").toArray();
    const QJsonArray single = d.value("single_changes").toArray();
    ASSERT_FALSE(conflict.isEmpty());
    // Every independent conflict is a set of its own; "conflict" is the first of them.
    const QJsonArray conflicts = d.value("conflicts").toArray();
    ASSERT_FALSE(conflicts.isEmpty());
    EXPECT_EQ(conflicts[0].toArray(), conflict);
    qsizetype members = 0;
    for (const QJsonValue& set : conflicts)
        members += set.toArray().size();
    ASSERT_EQ(single.size(), members);
    bool named = false;
    for (qsizetype k = 0; k < conflict.size(); ++k) {
        const QJsonObject c = conflict[k].toObject();
        for (const char* key : {"tipo", "id", "nombre", "limite", "valor"})
            EXPECT_TRUE(c.contains(key)) << key;
        EXPECT_FALSE(c.contains("nuevo_valor"));
        EXPECT_TRUE(single[k].toObject().contains("nuevo_valor"));
        named = named || (c.value("tipo").toString() == QStringLiteral("nutriente") &&
                          c.value("id").toInt() == 6 &&
                          c.value("limite").toString() == QStringLiteral("maximo") &&
                          c.value("valor").toDouble() == 0.01);
    }
    EXPECT_TRUE(named);
    const QJsonObject relaxation = d.value("relaxation").toObject();
    ASSERT_FALSE(relaxation.value("changes").toArray().isEmpty());
    EXPECT_TRUE(
        relaxation.value("changes").toArray()[0].toObject().value("nuevo_valor").isDouble());
    EXPECT_GT(relaxation.value("costo_unitario").toDouble(), 0.2339);

    const CliRun table = runCli({"3", "--db", path, "--cantidad", "1000"});
    EXPECT_EQ(table.code, 1);
    const QString text = QString::fromUtf8(table.out);
    EXPECT_TRUE(text.contains(QStringLiteral("Restricciones que no pueden cumplirse juntas\n"
                                             "Restricción | Valor Necesario\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Menor cambio que permite formular")));
}

// A file whose table was replaced by a view of the same columns (the engine then names the
// joined columns otherwise), an empty file and a one-byte file: database errors that name what
// is wrong, never a crash.
TEST(CliFormulate, FilesThatAreNotTheProgramsAreRefusedByName) {
    TARVELA_FILE_ONLY();
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = demoFileWith(tdb, {"ALTER TABLE productos RENAME TO productos_t",
                                            "CREATE VIEW productos AS SELECT * FROM productos_t"});
    const CliRun view = runCli({"3", "--db", path});
    EXPECT_EQ(view.code, 2);
    EXPECT_TRUE(QString::fromUtf8(view.err).contains(
        QRegularExpression(QStringLiteral("columna \\w+ no encontrada"))))
        << view.err.toStdString();

    QTemporaryDir dir;
    for (const QByteArray& contents : {QByteArray(), QByteArray("x")}) {
        const QString file = dir.filePath(QStringLiteral("f%1.mdb").arg(contents.size()));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        f.close();
        const CliRun run = runCli({"3", "--db", file});
        EXPECT_EQ(run.code, 2) << contents.size();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(
            QStringLiteral("El archivo '%1' no es una base de datos de Tarvela.").arg(file)))
            << run.err.toStdString();
        EXPECT_EQ(QFileInfo(file).size(), contents.size()) << "the file is left as it was";
    }
}

// Output that could not be written is a failure: exit 2 with a message on standard error.
TEST(CliFormulate, OutputThatCouldNotBeWrittenExitsTwo) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = demoFileWith(tdb, {});
    for (const bool json : {true, false}) {
        QProcess cli;
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
        QStringList args{"formulate", "3", "--db", path};
        if (json)
            args << "--json";
        cli.start(QStringLiteral(TARVELA_CLI_PATH), args);
        ASSERT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 2) << json;
        EXPECT_TRUE(cli.readAllStandardError().contains(
            QStringLiteral("no se pudo escribir la salida: no queda espacio en el disco.")
                .toUtf8()));
    }
}

// Names reach the terminal with their control characters escaped; JSON escapes them itself.
TEST(CliFormulate, ControlCharactersInNamesAreShownEscaped) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    tdb.conn().execute(QStringLiteral("update productos set nombre='Maíz'||char(27)||'[2J'||"
                                      "char(10)||'x'||char(155)||'y' where id_producto=24"));
    tdb.conn().execute(QStringLiteral(
        "update propiedades set nombre='Lis'||char(13)||char(9)||'ina' where id_propiedad=13"));
    tdb.conn().execute(QStringLiteral(
        "update formulas set producto='Cerdo'||char(7)||'crecimiento'||char(127) where "
        "id_formula=3"));
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun table = runCli({"3", "--db", path, "--cantidad", "1000"});
    EXPECT_EQ(table.code, 0);
    const QString text = QString::fromUtf8(table.out);
    EXPECT_TRUE(text.contains(QStringLiteral("Maíz\\x1B[2J\\nx\\x9By"))) << table.out.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Lis\\r\\tina")));
    EXPECT_TRUE(text.contains(QStringLiteral("Producto Cerdo\\x07crecimiento\\x7F")));
    const auto control = [](QChar c) {
        return c != QLatin1Char('\n') &&
               (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f));
    };
    EXPECT_EQ(std::count_if(text.begin(), text.end(), control), 0);

    const CliRun json = runCli({"3", "--db", path, "--cantidad", "1000", "--json"});
    EXPECT_FALSE(json.out.contains('\x1b'));
    // C1 controls and DEL as \u00XX: no byte of them reaches the terminal.
    EXPECT_TRUE(json.out.contains("\\u009b")) << json.out.toStdString();
    EXPECT_FALSE(json.out.contains("\xc2\x9b"));
    EXPECT_TRUE(json.out.contains("\\u007f"));
    EXPECT_FALSE(json.out.contains('\x7f'));
    bool found = false;
    for (const QJsonValue& ing :
         QJsonDocument::fromJson(json.out).object().value("ingredients").toArray())
        found = found || ing.toObject().value("nombre").toString() ==
                             QStringLiteral("Maíz\x1b[2J\nx\u009by");
    EXPECT_TRUE(found);
}

// A name with a line feed inside a message cannot start a line of its own: every message is one
// line, its line feeds escaped.
TEST(CliFormulate, ANameCannotForgeAMessageLine) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = demoFileWith(
        tdb, {"update propiedades set nombre='Lisina'||char(10)||'[information] Todo bien' where "
              "id_propiedad=13",
              "update formula_propiedad set minimo=null, maximo=null where id_formula=3 and "
              "id_propiedad=13"});
    const CliRun run = runCli({"3", "--db", path, "--cantidad", "1000"});
    EXPECT_EQ(run.code, 1);
    const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        EXPECT_FALSE(line.startsWith(QStringLiteral("[information]"))) << line.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Debe ingresar un valor mínimo o máximo para la "
                                              "propiedad <Lisina\\n[information] Todo bien>")))
        << run.out.toStdString();
}

// init-db prints the names it is given with their control characters escaped.
TEST(CliInitDb, FileNamesReachTheTerminalEscaped) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("base\x1b]0;x\x07.mdb"));
    const CliRun made = runCommand(cli::initDb, {name});
    EXPECT_EQ(made.code, 0);
    EXPECT_FALSE(made.out.contains('\x1b'));
    EXPECT_TRUE(made.out.contains("base\\x1B]0;x\\x07.mdb")) << made.out.toStdString();
    const CliRun again = runCommand(cli::initDb, {name});
    EXPECT_EQ(again.code, 2);
    EXPECT_FALSE(again.err.contains('\x1b'));
    EXPECT_FALSE(again.err.contains('\x07'));
}

// The protein curve of the broiler starter: its points by level, gaps as null costs; the limit
// records of formulate carry how far they hold.
TEST(CliCurve, PointsAsJsonAndTheRecordsRanges) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    const QString path = tdb.path();
    tdb.takeConnection().reset();

    const CliRun run = runCommand(cli::curve, {"5", "--nutriente", "1", "--desde", "20", "--hasta",
                                               "30", "--pasos", "10", "--db", path, "--json"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    const QJsonObject head = o.value("curva").toObject();
    EXPECT_EQ(head.value("titulo").toString(), QStringLiteral("Mínimo para Proteína Bruta"));
    EXPECT_EQ(head.value("limite").toString(), QStringLiteral("minimo"));
    EXPECT_EQ(head.value("actual").toDouble(), 23.0);
    const QJsonArray points = o.value("puntos").toArray();
    int steps = 0;
    bool gap = false;
    double last = 0;
    for (const QJsonValue& v : points) {
        const QJsonObject p = v.toObject();
        EXPECT_GE(p.value("valor").toDouble(), last);
        last = p.value("valor").toDouble();
        steps += p.value("tipo").toString() == QLatin1String("paso") ? 1 : 0;
        if (p.value("costo_unitario").isNull()) {
            gap = true;
            EXPECT_EQ(p.value("estado").toString(), QStringLiteral("Sin solución"));
        }
        EXPECT_EQ(p.value("cantidades").toArray().size(), o.value("ingredientes").toArray().size());
    }
    EXPECT_EQ(steps, 11);
    EXPECT_TRUE(gap); // above the maximum of 24.5
    EXPECT_EQ(points[0].toObject().value("valor").toDouble(), 20.0);

    // A range below 0 is refused with its message.
    const CliRun negative = runCommand(
        cli::curve, {"5", "--nutriente", "1", "--desde", "-1", "--hasta", "30", "--db", path});
    EXPECT_EQ(negative.code, 1);
    EXPECT_TRUE(QString::fromUtf8(negative.err).contains(QStringLiteral("negativos")));
    EXPECT_EQ(runCommand(cli::curve, {"5", "--db", path}).code, 2);

    const CliRun formulated = runCli({"5", "--db", path, "--json"});
    ASSERT_EQ(formulated.code, 0);
    int ranged = 0;
    for (const QJsonValue& v :
         QJsonDocument::fromJson(formulated.out).object().value("analysis").toArray()) {
        const QJsonObject r = v.toObject();
        const QString tipo = r.value("tipo").toString();
        const bool limit = tipo == QLatin1String("RN") || tipo == QLatin1String("RI");
        EXPECT_EQ(r.contains("valido_desde"), limit || tipo.startsWith(QLatin1Char('R')));
        ranged += limit ? 1 : 0;
        if (r.value("detalle").toString() == QStringLiteral("Mínimo para Proteína Bruta")) {
            const QJsonValue from = r.value("valido_desde");
            const QJsonValue to = r.value("valido_hasta");
            EXPECT_TRUE(from.isNull() || from.toDouble() <= 23.0);
            EXPECT_TRUE(to.isNull() || to.toDouble() >= 23.0);
            EXPECT_FALSE(from.isNull() && to.isNull());
        }
    }
    EXPECT_GT(ranged, 0);
}

} // namespace
} // namespace tarvela::test
