#include "app/gui/menu.h"
#include "catalogs/gui/frmproducto.h"
#include "files/table_file.h"

#include "support/gui/app_fixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

class ImportWindows : public test::AppFixture {
protected:
    QString file(const QString& name, const QByteArray& contents) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(contents);
        return path;
    }
    void trigger(const char* item) {
        window.findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    double price(int id) {
        return ctx.db()
            .query(QStringLiteral("select costo from productos where id_producto=%1").arg(id))
            .value(0, 0)
            .toDouble();
    }
    static QString cell(QDialog& window, const char* view, int row, int column) {
        const QAbstractItemModel* model =
            window.findChild<QTableView*>(QString::fromLatin1(view))->model();
        return model->data(model->index(row, column)).toString();
    }
    static void press(QDialog& window, const char* button) {
        window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }

    QTemporaryDir dir;
    menu window{ctx};
};

// From the menu: the list chosen, its preview; "Aplicar" first declined at the refused rows,
// then applied without the large change; the ingredient window shows the change.
TEST_F(ImportWindows, PriceListPreviewedAndApplied) {
    useDecimalSeparator(QLatin1Char(','));
    desktop.fileNames = {file("lista.csv", "Código;Nombre;Precio\n101;x;0,21\n102;;0,5\n999;;1\n")};
    launcher.handlers.push_back([&](QDialog& preview) {
        EXPECT_EQ(preview.windowTitle(), "Actualizar precios desde archivo");
        EXPECT_EQ(preview.findChild<QLabel*>("lblResumen")->text(),
                  "Filas: 3 · Actualizado: 1 · Variación mayor al 50 %: 1 · Código inexistente: 1");
        EXPECT_EQ(cell(preview, "flexPrecios", 0, 1), "Maíz grano partido");
        EXPECT_EQ(cell(preview, "flexPrecios", 0, 3), "0,2100");
        EXPECT_EQ(cell(preview, "flexPrecios", 1, 4), "194,12");
        EXPECT_EQ(cell(preview, "flexPrecios", 2, 7), "Código inexistente");

        desktop.answers = {false};
        press(preview, "cmdAplicar");
        EXPECT_TRUE(preview.isVisible());
        EXPECT_EQ(price(1), 0.2);

        desktop.answers = {true, false};
        press(preview, "cmdAplicar");
        EXPECT_FALSE(preview.isVisible());
    });
    trigger("mnuActPrecios");
    EXPECT_EQ(desktop.lastDialogTitle, "Actualizar precios desde archivo");
    EXPECT_EQ(launcher.opened, QStringList({"frmImportarPrecios"}));
    EXPECT_EQ(desktop.texts(),
              QStringList({"Hay 1 fila rechazada, que no se aplicará.\n\n¿Desea aplicar las "
                           "filas válidas? (No: no se aplica ningún cambio)",
                           "Hay 1 fila rechazada, que no se aplicará.\n\n¿Desea aplicar las "
                           "filas válidas? (No: no se aplica ningún cambio)",
                           "1 fila tiene una variación de precio mayor al 50 %.\n\n¿Desea "
                           "aplicarla también?",
                           "Se actualizó 1 ingrediente."}));
    EXPECT_EQ(price(1), 0.21);
    EXPECT_EQ(price(2), 0.17);

    frmproducto ingredient(ctx, 1);
    const QTableWidget* history = ingredient.findChild<QTableWidget*>("flexHistorial");
    ASSERT_EQ(history->rowCount(), 1);
    EXPECT_EQ(history->item(0, 1)->text(), "0,2000");
    EXPECT_EQ(history->item(0, 5)->text(), "lista.csv");
    EXPECT_EQ(desktop.busyDepth, 0);
}

// Nothing to write: no question about refused rows, the window stays open.
TEST_F(ImportWindows, AListOfRefusedRowsHasNothingToApply) {
    desktop.fileNames = {file("lista.csv", "Código;Precio\n999;1\n101;-1\n")};
    launcher.handlers.push_back([&](QDialog& preview) {
        press(preview, "cmdAplicar");
        EXPECT_TRUE(preview.isVisible());
    });
    trigger("mnuActPrecios");
    EXPECT_EQ(desktop.texts(), QStringList({"No hay cambios que aplicar."}));
    EXPECT_EQ(price(1), 0.2);
}

TEST_F(ImportWindows, FilesThatAreNoListOpenNoWindow) {
    desktop.fileNames = {file("lista.xlsx", "Código;Precio\n101;1\n")};
    trigger("mnuActPrecios");
    EXPECT_TRUE(launcher.opened.isEmpty());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "El archivo no es un libro de Excel (.xlsx): no es un paquete ZIP.");
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
    desktop.fileNames = {QString()}; // cancelled
    trigger("mnuImpComposicion");
    EXPECT_TRUE(launcher.opened.isEmpty());
}

// The composition exported from the menu, edited, imported again: its lists, then "Aplicar".
TEST_F(ImportWindows, CompositionExportedEditedAndImported) {
    const QString exported = dir.filePath("tabla");
    desktop.fileNames = {exported};
    trigger("mnuExpComposicion");
    EXPECT_EQ(desktop.texts(), QStringList({"Archivo generado."}));
    const files::TableRead read = files::readTableFile(exported + ".xlsx");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.table.rows[0].cells[0].text, "Código");

    desktop.clear();
    desktop.fileNames = {file("nueva.csv", "Código;Nombre;Unidad;Costo;Materia Seca;Selenio (PPM)"
                                           ";Proteína Bruta\n101;;;;;0,3;9\n900;Premezcla;Kg;1,5;"
                                           "95;2;\n102;;;;;x;\n")};
    launcher.handlers.push_back([&](QDialog& preview) {
        EXPECT_EQ(preview.findChild<QLabel*>("lblResumen")->text(),
                  "Ingredientes nuevos: 1 · Nutrientes nuevos: 1 · Valores cambiados: 2 · "
                  "Valores sin cambios: 0 · Celdas rechazadas: 1");
        const QTabWidget* tabs = preview.findChild<QTabWidget*>("tabVista");
        EXPECT_EQ(tabs->tabText(0), "Ingredientes nuevos (1)");
        EXPECT_EQ(tabs->tabText(4), "Rechazados (1)");
        EXPECT_EQ(cell(preview, "flexNuevosNutrientes", 0, 1), "Selenio");
        EXPECT_EQ(cell(preview, "flexCambiados", 1, 3), "Proteína Bruta");
        EXPECT_EQ(cell(preview, "flexCambiados", 1, 5), "9");
        EXPECT_EQ(cell(preview, "flexRechazados", 0, 1),
                  "Fila 4, columna F (Selenio (PPM)): 'x' no es un número");
        desktop.answers = {true};
        press(preview, "cmdAplicar");
        EXPECT_FALSE(preview.isVisible());
    });
    trigger("mnuImpComposicion");
    EXPECT_EQ(desktop.texts().last(), "Se aplicó la composición: 1 ingrediente nuevo, 1 "
                                      "nutriente nuevo, 2 valores cambiados.");
    EXPECT_EQ(ctx.db()
                  .query("select count(*) from productos where trim(codigo)='900' and idBase=1")
                  .value(0, 0)
                  .toInt(),
              1);

    // Exporting again over the file asks first.
    desktop.clear();
    desktop.fileNames = {exported + ".xlsx"};
    desktop.answers = {false};
    trigger("mnuExpComposicion");
    EXPECT_EQ(desktop.texts().size(), 1);
    EXPECT_TRUE(desktop.texts()[0].endsWith("ya existe.\n¿Desea reemplazarlo?"));
}

} // namespace
} // namespace tarvela
