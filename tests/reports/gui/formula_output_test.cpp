// "Imprimir" of the formulation window: "Seleccione destino" and the four outputs of the formula
// the window holds.
#include "support/gui/formulation_window_fixture.h"

#include "support/document_reading.h"
#include "support/gui/cut_captions.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>

namespace tarvela::test {
namespace {

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class FormulaOutput : public FormulationWindowTest {
protected:
    // Presses "Imprimir", then the destination button (with or without costs).
    void output(frmoptimizacion& window, const char* destination, bool costs) {
        launcher.handlers.push_back([=](QDialog& chooser) {
            chooser.findChild<QCheckBox*>("chkCostos")->setChecked(costs);
            press(chooser, destination);
        });
        press(window, "cmdImprimir");
    }

    QString lastOpened() const {
        return desktop.openedDocuments.isEmpty() ? QString() : desktop.openedDocuments.last();
    }
};

TEST_F(FormulaOutput, TheDestinationWindowOffersFourOutputsAndTheCosts) {
    auto window = open(1);
    bool checked = false;
    launcher.handlers.push_back([&](QDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Seleccione destino"));
        const std::pair<const char*, const char*> buttons[] = {{"Command1", "Imprimir"},
                                                               {"Command2", "&Word"},
                                                               {"cmdExportarCSV", "CSV"},
                                                               {"cmdExportarExcel", "Excel"}};
        for (const auto& [name, caption] : buttons)
            EXPECT_EQ(chooser.findChild<QPushButton*>(name)->text(), QString::fromUtf8(caption));
        EXPECT_EQ(chooser.findChild<QGroupBox*>()->title(), QStringLiteral(" Exportar a "));
        EXPECT_EQ(chooser.findChild<QCheckBox*>("chkCostos")->text(),
                  QStringLiteral("Incluir Costos"));
        EXPECT_EQ(cutCaptions(chooser), "");
        checked = true;
    });
    // The menu entry opens it too; closed without a choice, nothing is output.
    window->findChild<QAction*>("mnuImprimir")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(launcher.opened, QStringList{"frmImprimir"});
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.openedDocuments.isEmpty());
}

// Each output is written whole, opened, and leaves the database file as it was; a second
// export gets a name of its own.
TEST_F(FormulaOutput, EveryDestinationWritesAndOpensItsDocument) {
    auto window = open(1);
    const QByteArray before = fileHash(database.path());

    output(*window, "Command1", true);
    const QString pdf = lastOpened();
    EXPECT_EQ(QFileInfo(pdf).absolutePath(), QDir(desktop.documentsFolder()).absolutePath());
    EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("Fórmula 1001 v1.pdf"));
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("RTM vaca lechera 30 L/día")), nullptr);
    EXPECT_NE(pages[0].lineWith(QStringLiteral("Costo Total: $ 185.0944")), nullptr);

    output(*window, "Command2", false);
    const QString odt = lastOpened();
    EXPECT_EQ(QFileInfo(odt).fileName(), QStringLiteral("Fórmula 1001 v1.odt"));
    const QString content = QString::fromUtf8(zipEntry(odt, QStringLiteral("content.xml")));
    EXPECT_TRUE(content.contains(QStringLiteral(">Silaje de maíz planta entera<")));
    EXPECT_FALSE(content.contains(QStringLiteral("Costo Total")));

    output(*window, "cmdExportarExcel", true);
    output(*window, "cmdExportarExcel", true);
    ASSERT_EQ(desktop.openedDocuments.size(), 4);
    EXPECT_EQ(QFileInfo(desktop.openedDocuments[2]).fileName(),
              QStringLiteral("Fórmula 1001 v1.xlsx"));
    EXPECT_EQ(QFileInfo(desktop.openedDocuments[3]).fileName(),
              QStringLiteral("Fórmula 1001 v1 (2).xlsx"));
    EXPECT_TRUE(zipEntry(desktop.openedDocuments[3], QStringLiteral("xl/worksheets/sheet1.xml"))
                    .contains("<f>F"));

    const QString csv = QDir(desktop.temporaryFolder()).filePath(QStringLiteral("formula"));
    desktop.fileNames.push_back(csv);
    output(*window, "cmdExportarCSV", true);
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral("Archivo generado.")});
    EXPECT_EQ(lastOpened(), csv + QStringLiteral(".csv"));
    EXPECT_TRUE(readText(csv + QStringLiteral(".csv"))
                    .contains(QStringLiteral("\"Costo Total:\",\"$ 185.0944\"")));

    EXPECT_EQ(fileHash(database.path()), before);
    EXPECT_EQ(launcher.opened.count(QStringLiteral("errores")), 0);
}

// The outputs show the window's current, unsaved mix, with the workstation's separator.
TEST_F(FormulaOutput, UnsavedEditsAreIncludedOnACommaWorkstation) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = open(1);
    window->findChild<QLineEdit*>("txt_Cantidad")->setText(QStringLiteral("500"));
    desktop.answers.push_back(false); // the limits cannot all be met: no diagnosis
    press(*window, "cmdFormular");
    const QString csv = QDir(desktop.temporaryFolder()).filePath(QStringLiteral("a.csv"));
    desktop.fileNames.push_back(csv);
    output(*window, "cmdExportarCSV", false);
    const QString text = readText(csv);
    EXPECT_TRUE(text.contains(QStringLiteral("\"Cantidad Seca:\",\"500,00\"")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Costo")));
    EXPECT_EQ(ctx.db()
                  .query(QStringLiteral("select cantidad from formulas where id_formula=1"))
                  .value(0, 0)
                  .toDouble(),
              1000);
}

// Without a program for its type the document stays where it was written, and the user is told
// where.
TEST_F(FormulaOutput, ADocumentNoProgramOpensIsReportedWithItsPlace) {
    auto window = open(1);
    desktop.openResult = 31;
    output(*window, "Command1", false);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("No se encontró instalado el editor para visualizar el tipo de "
                             "documento seleccionado."));
    EXPECT_EQ(desktop.messages[1].text,
              QStringLiteral("El documento quedó guardado en ") +
                  QDir(desktop.documentsFolder()).filePath(QStringLiteral("Fórmula 1001 v1.pdf")));
    EXPECT_EQ(desktop.messages[1].icon, MsgIcon::Information);
}

TEST_F(FormulaOutput, AFailedWriteShowsTheErrorWindowAndOpensNothing) {
    auto window = open(1);
    UnwritableFolder unwritable;
    desktop.temporaryDir = unwritable.path();
    desktop.documentsDir = unwritable.path();
    for (const char* destination : {"Command1", "Command2", "cmdExportarExcel"}) {
        launcher.opened.clear();
        output(*window, destination, true);
        EXPECT_EQ(launcher.opened, QStringList({"frmImprimir", "errores"})) << destination;
    }
    EXPECT_TRUE(desktop.openedDocuments.isEmpty());
}

} // namespace
} // namespace tarvela::test
