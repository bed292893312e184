#include "app/gui/menu.h"
#include "app/gui/qt_desktop.h"
#include "app/gui/spanish_translations.h"

#include "support/gui/app_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

TEST(QtDesktopKeys, TabMovesTheFocusToTheNextControl) {
    QDialog dialog;
    auto* first = new QLineEdit(&dialog);
    auto* second = new QLineEdit(&dialog);
    auto* third = new QLineEdit(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(third);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    first->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(first->hasFocus());

    QtDesktop desktop;
    desktop.sendKeys(QStringLiteral("{TAB}"));
    EXPECT_TRUE(second->hasFocus());
    desktop.sendKeys(QStringLiteral("{tab}"));
    EXPECT_TRUE(third->hasFocus());
    desktop.sendKeys(QStringLiteral("{nonsense}")); // ignored
    EXPECT_TRUE(third->hasFocus());
}

class QtDesktopMenu : public test::AppFixture {};

TEST_F(QtDesktopMenu, AltFDropsTheFormulasMenuDown) {
    menu window(ctx);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QtDesktop real;
    real.sendKeys(QStringLiteral("%f"));
    auto* formulas = window.findChild<QMenu*>(QStringLiteral("formulas"));
    EXPECT_EQ(window.menuBar()->activeAction(), formulas->menuAction());
    EXPECT_TRUE(formulas->isVisible());
    formulas->close();
}

TEST(QtDesktopDocuments, MissingFileIsAFailureOtherThanNoProgram) {
    QTemporaryDir dir;
    QtDesktop desktop;
    const int result = desktop.openDocument(dir.filePath(QStringLiteral("guiarapidatarvela.pdf")));
    EXPECT_LE(result, 32);
    EXPECT_NE(result, 31);
}

// The desktop's tools stand in a folder put first on the search path: xdg-mime names a type
// and its program (or none), xdg-open ends with the given code.
class FakeDesktopTools {
public:
    FakeDesktopTools(const char* defaultProgram, int openerExit) : savedPath_(qgetenv("PATH")) {
        write("xdg-mime", QStringLiteral("case \"$2\" in filetype) echo text/csv;; default) "
                                         "echo '%1';; esac")
                              .arg(QLatin1String(defaultProgram)));
        write("xdg-open", QStringLiteral("exit %1").arg(openerExit));
        qputenv("PATH", dir_.path().toLocal8Bit() + ':' + savedPath_);
    }
    ~FakeDesktopTools() { qputenv("PATH", savedPath_); }
    QString document() {
        const QString path = dir_.filePath(QStringLiteral("formula.csv"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("\"a\"\r");
        return path;
    }

private:
    void write(const char* name, const QString& body) {
        QFile file(dir_.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner);
    }
    QTemporaryDir dir_;
    QByteArray savedPath_;
};

// Whatever way the opener fails (4: the program failed, 3: no way to open the type), the
// document was not shown; no program for the type is told apart; an opener ending well opened it.
TEST(QtDesktopDocuments, EveryFailureOfTheOpenerIsReported) {
    QtDesktop desktop;
    for (int exit : {4, 3, 1}) {
        FakeDesktopTools tools("editor.desktop", exit);
        const int result = desktop.openDocument(tools.document());
        EXPECT_LE(result, 32) << exit;
        EXPECT_NE(result, 31) << exit;
    }
    {
        FakeDesktopTools tools("", 0);
        EXPECT_EQ(desktop.openDocument(tools.document()), 31);
    }
    FakeDesktopTools tools("editor.desktop", 0);
    EXPECT_GT(desktop.openDocument(tools.document()), 32);
}

TEST(QtDesktopBusy, CallsNest) {
    QtDesktop desktop;
    {
        BusyPointer outer(desktop);
        BusyPointer inner(desktop);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The buttons of the message box on screen, without their mnemonics; presses the last one.
QStringList pressLastButton() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return {QStringLiteral("no message box")};
    QStringList texts;
    for (QAbstractButton* button : box->buttons())
        texts << button->text().remove(QLatin1Char('&'));
    box->buttons().last()->click();
    return texts;
}

TEST(QtDesktopMessages, StandardButtonsReadInSpanish) {
    QTranslator* spanish = installSpanishTranslations(*QCoreApplication::instance());
    ASSERT_NE(spanish, nullptr) << "Qt's Spanish translations (qt6-translations-l10n)";
    QtDesktop desktop;
    QStringList buttons;
    QTimer::singleShot(0, [&] { buttons = pressLastButton(); });
    desktop.message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
    EXPECT_EQ(buttons, QStringList({QStringLiteral("Aceptar")}));

    QTimer::singleShot(0, [&] { buttons = pressLastButton(); });
    const bool yes = desktop.question(QStringLiteral("Desea eliminar la Fórmula 1001 ?"));
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({QStringLiteral("No"), QStringLiteral("Sí")}));
    EXPECT_FALSE(yes);
    QCoreApplication::removeTranslator(spanish);
    delete spanish;
}

TEST(QtDesktopSaveDialog, TheChosenFilterDecidesTheExtension) {
    const QString workbook = QStringLiteral("Libro de Excel (*.xlsx)");
    EXPECT_EQ(withFilterExtension("/d/curva", workbook), "/d/curva.xlsx");
    EXPECT_EQ(withFilterExtension("/d/curva.XLSX", workbook), "/d/curva.XLSX");
    EXPECT_EQ(withFilterExtension("/d/curva.png", workbook), "/d/curva.png.xlsx");
    // Any of a filter's extensions is kept; the first is added.
    const QString tables = QStringLiteral("Planillas (*.xlsx *.csv)");
    EXPECT_EQ(withFilterExtension("/d/precios.csv", tables), "/d/precios.csv");
    EXPECT_EQ(withFilterExtension("/d/precios", tables), "/d/precios.xlsx");
    EXPECT_EQ(withFilterExtension("/d/nota.txt", QStringLiteral("Todos los archivos (*.*)")),
              "/d/nota.txt");

    // In the dialog itself: the second filter chosen, a name typed without extension.
    QTemporaryDir dir;
    QtDesktop desktop;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(dir.path());
        dialog->selectNameFilter(workbook);
        dialog->selectFile(QStringLiteral("curva"));
        static_cast<QDialog*>(dialog)->accept(); // as "Guardar" does
    });
    const QString chosen = desktop.saveFileName(QStringLiteral("Exportar"),
                                                {QStringLiteral("Imagen PNG (*.png)"), workbook});
    EXPECT_EQ(chosen, dir.filePath(QStringLiteral("curva.xlsx")));
}

} // namespace
} // namespace tarvela
