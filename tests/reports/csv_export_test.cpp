#include "reports/csv_export.h"

#include "support/document_reading.h"
#include "support/scripted_desktop.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using test::ScriptedDesktop;

struct LocaleGuard {
    QLocale saved;
    explicit LocaleGuard(const QLocale& use) { QLocale::setDefault(use); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

// The file's contents after the byte-order mark it begins with.
QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray contents = file.readAll();
    if (!contents.startsWith("\xEF\xBB\xBF"))
        return "<no byte-order mark>";
    return contents.mid(3);
}

class CsvExport : public ::testing::Test {
protected:
    CsvExport() : guard(QLocale(QLocale::English, QLocale::UnitedStates)) {}
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    // Writes the rows to a file named name in the temporary folder.
    void write(const db::Result& rows, const QString& name, bool omitHeader = false) {
        desktop.fileNames.push_back(path(name));
        writeCsvFile(desktop, rows, omitHeader);
    }

    LocaleGuard guard;
    QTemporaryDir dir;
    ScriptedDesktop desktop;
};

const db::Result kSample({QStringLiteral("codigo"), QStringLiteral("_1")},
                         {{QVariant(QStringLiteral("Harina \"fina\"")), QVariant(2.5)}});

TEST_F(CsvExport, AsksWithTitleAndFiltersAndTrimsTheName) {
    desktop.fileNames.push_back(QStringLiteral("  /tmp/diario.csv") + QChar(0) +
                                QStringLiteral(" "));
    EXPECT_EQ(askCsvFileName(desktop), QStringLiteral("/tmp/diario.csv"));
    EXPECT_EQ(desktop.lastDialogTitle, QStringLiteral("Guardar Diario General"));
    EXPECT_EQ(desktop.lastDialogFilters,
              (QStringList{QStringLiteral("CSV (delimitado por comas) (*.csv)"),
                           QStringLiteral("Todos los archivos (*.*)")}));
}

TEST_F(CsvExport, ExtensionIsAppendedUnlessAlreadyCsvInAnyCase) {
    EXPECT_EQ(csvFileName(QStringLiteral("/tmp/diario")), QStringLiteral("/tmp/diario.csv"));
    EXPECT_EQ(csvFileName(QStringLiteral("/tmp/diario.txt")),
              QStringLiteral("/tmp/diario.txt.csv"));
    EXPECT_EQ(csvFileName(QStringLiteral("/tmp/DIARIO.CSV")), QStringLiteral("/tmp/DIARIO.CSV"));
    EXPECT_EQ(csvFileName(QStringLiteral("/tmp/diario.cSv")), QStringLiteral("/tmp/diario.cSv"));
    EXPECT_EQ(csvFileName(QStringLiteral("csv")), QStringLiteral("csv.csv"));

    write(kSample, QStringLiteral("sin_extension"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("sin_extension.csv"))));
    write(kSample, QStringLiteral("MAYUS.CSV"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("MAYUS.CSV"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("MAYUS.CSV.csv"))));
}

TEST_F(CsvExport, HeaderThenRowsWithTheirTerminators) {
    write(kSample, QStringLiteral("muestra.csv"));
    EXPECT_EQ(readAll(path(QStringLiteral("muestra.csv"))),
              QByteArray("\"codigo\",\"\"\n\"Harina 'fina'\",\"2.5\"\r"));
    ASSERT_GE(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Archivo generado."));
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(desktop.openedDocuments, QStringList{path(QStringLiteral("muestra.csv"))});
    EXPECT_EQ(desktop.messages.size(), 1u) << "the document opened";
}

TEST_F(CsvExport, NullEmptyIntegerAndOmittedHeader) {
    const db::Result rows({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                          {{QVariant(), QVariant(QString()), QVariant(qlonglong(125))},
                           {QVariant(QStringLiteral("x")), QVariant(-0.125), QVariant(1e20)}});
    write(rows, QStringLiteral("filas.csv"), true);
    EXPECT_EQ(readAll(path(QStringLiteral("filas.csv"))),
              QByteArray("\"\",\"\",\"125\"\r\"x\",\"-0.125\",\"1E+20\"\r"));
}

// The name gets its extension after the dialog: the question comes from the writer.
TEST_F(CsvExport, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    QFile old(path(QStringLiteral("viejo.csv")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500, 'x'));
    old.close();
    const db::Result rows({QStringLiteral("nombre")}, {{QVariant(QStringLiteral("Maíz"))}});

    desktop.answers.push_back(false);
    write(rows, QStringLiteral("viejo"));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].isQuestion);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("El archivo ") +
                                            path(QStringLiteral("viejo.csv")) +
                                            QStringLiteral(" ya existe.\n¿Desea reemplazarlo?"));
    QFile kept(path(QStringLiteral("viejo.csv")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(500, 'x'));
    EXPECT_TRUE(desktop.openedDocuments.isEmpty());

    desktop.answers.push_back(true);
    write(rows, QStringLiteral("viejo"));
    EXPECT_EQ(readAll(path(QStringLiteral("viejo.csv"))),
              QStringLiteral("\"nombre\"\n\"Maíz\"\r").toUtf8());
}

TEST_F(CsvExport, CommaWorkstationWritesCommaDecimals) {
    LocaleGuard comma(QLocale(QLocale::Spanish, QLocale::Argentina));
    write(kSample, QStringLiteral("coma.csv"), true);
    EXPECT_EQ(readAll(path(QStringLiteral("coma.csv"))), QByteArray("\"Harina 'fina'\",\"2,5\"\r"));
}

TEST_F(CsvExport, CancelWritesAndShowsNothing) {
    writeCsvFile(desktop, kSample, false);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.openedDocuments.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CsvExport, OpeningFailuresWarnAfterTheFileIsWritten) {
    const struct {
        int result;
        const char* warning;
    } cases[] = {
        {31,
         "No se encontró instalado el editor para visualizar el tipo de documento seleccionado."},
        {2, "No es posible visualizar el documento."},
        {32, "No es posible visualizar el documento."},
    };
    for (const auto& c : cases) {
        desktop.clear();
        desktop.busyCalls = 0;
        desktop.openResult = c.result;
        QFile::remove(path(QStringLiteral("falla.csv")));
        write(kSample, QStringLiteral("falla.csv"));
        ASSERT_EQ(desktop.messages.size(), 2u) << c.result;
        EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Archivo generado."));
        EXPECT_EQ(desktop.messages[1].text, QString::fromUtf8(c.warning));
        EXPECT_EQ(desktop.messages[1].icon, MsgIcon::Warning);
        EXPECT_EQ(desktop.busyCalls, 1);
        EXPECT_EQ(desktop.busyDepth, 0) << "the pointer returns to normal";
    }
}

// A write that fails names the file and the reason, in Spanish, and ends the operation.
TEST_F(CsvExport, WriteErrorNamesTheFileAndTheReason) {
    test::UnwritableFolder unwritable;
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {path(QStringLiteral("no_existe/archivo.csv")), "no existe el archivo o la carpeta"},
        {QDir(unwritable.path()).filePath(QStringLiteral("a.csv")), "permiso denegado"},
    };
    for (const auto& c : cases) {
        desktop.clear();
        desktop.fileNames.push_back(c.name);
        writeCsvFile(desktop, kSample, false);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, QStringLiteral("No se pudo escribir el archivo '") +
                                                c.name + QStringLiteral("': ") +
                                                QString::fromUtf8(c.reason) + QLatin1Char('.'));
        EXPECT_TRUE(desktop.openedDocuments.isEmpty());
    }
}

// Texts a spreadsheet would run as formulas keep a leading apostrophe; figures, negative ones
// included, and texts with those characters elsewhere stay as they are.
TEST_F(CsvExport, TextsThatLookLikeFormulasAreWrittenAsTexts) {
    const db::Result rows({QStringLiteral("a")}, {{QStringLiteral("=1+1 maíz")},
                                                  {QStringLiteral("+A1")},
                                                  {QStringLiteral("-2+3")},
                                                  {QStringLiteral("@SUMA(A1)")},
                                                  {QStringLiteral("-5.00")},
                                                  {QStringLiteral("-12.50 %")},
                                                  {QStringLiteral("Maíz =1")},
                                                  {QVariant(-2.5)}});
    write(rows, QStringLiteral("formulas.csv"), true);
    EXPECT_EQ(readAll(path(QStringLiteral("formulas.csv"))),
              QStringLiteral("\"'=1+1 maíz\"\r\"'+A1\"\r\"'-2+3\"\r\"'@SUMA(A1)\"\r\"-5.00\"\r"
                             "\"-12.50 %\"\r\"Maíz =1\"\r\"-2.5\"\r")
                  .toUtf8());
}

} // namespace
} // namespace tarvela
