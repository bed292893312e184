// "Reformular Fórmulas" walked as a user would: filter, run, sort, open a result, diagnose a
// formula without solution, save the marked ones and export the grid.
#include "worklist/gui/frmreformular.h"

#include "formulation/gui/frmoptimizacion.h"
#include "support/gui/app_fixture.h"
#include "worklist/worklist_grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

class ReformularWindow : public AppFixture {
protected:
    void SetUp() override {
        // Prices rose; the feedlot formula asks for more protein than its ingredients give.
        ctx.db().execute(QStringLiteral("update productos set costo=costo*1.1"));
        ctx.db().execute(QStringLiteral(
            "update formula_propiedad set minimo=300, maximo=null where id_formula=2 and "
            "id_propiedad=1"));
    }

    static void press(QWidget& window, const char* name) {
        auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }
    static QTableWidget& grid(QWidget& window) {
        return *window.findChild<QTableWidget*>(QStringLiteral("flexResultados"));
    }
    static QString cell(QWidget& window, int row, int column) {
        const QTableWidgetItem* item = grid(window).item(row, column);
        return item ? item->text() : QString();
    }
};

TEST_F(ReformularWindow, RunSortOpenDiagnoseSaveAndExport) {
    frmreformular window(ctx, 1);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Reformular Fórmulas"));
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("txtBase"))->text(),
              QStringLiteral("Bovinos"));

    // A date that is not one is refused before anything runs.
    window.findChild<QLineEdit*>(QStringLiteral("txtFecha"))->setText(QStringLiteral("31/02/x"));
    press(window, "cmdReformular");
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral("La fecha no es Válida")});
    window.findChild<QLineEdit*>(QStringLiteral("txtFecha"))->clear();
    desktop.clear();

    press(window, "cmdReformular");
    window.waitForRuns();
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("prgAvance"))->value(), 2);
    QTableWidget& g = grid(window);
    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.horizontalHeaderItem(worklist::kColVariacion)->text(),
              QStringLiteral("Variación %"));
    EXPECT_EQ(cell(window, 0, worklist::kColCodigo), QStringLiteral("1001"));
    EXPECT_EQ(cell(window, 0, worklist::kColEstado), QStringLiteral("Óptima"));
    EXPECT_EQ(cell(window, 1, worklist::kColEstado), QStringLiteral("Sin solución"));
    EXPECT_EQ(g.item(0, worklist::kColVariacion)->background().color(), grid::colors::outOfLimits);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblResumen"))->text(),
              QStringLiteral("2 fórmulas: 1 óptima, 1 sin solución, 0 detenidas"));

    // A heading sorts by its column; the second click turns the order round.
    window.sortBy(worklist::kColCostoAnterior);
    const QString first = cell(window, 0, worklist::kColCodigo);
    window.sortBy(worklist::kColCostoAnterior);
    EXPECT_NE(cell(window, 0, worklist::kColCodigo), first);
    window.sortBy(worklist::kColEstado);
    window.sortBy(worklist::kColCodigo);
    EXPECT_EQ(cell(window, 0, worklist::kColCodigo), QStringLiteral("1001"));

    // The diagnosis of the formula without solution; "Aplicar" opens the formulation window on
    // the proposal, unsaved work that closing offers to save (No discards it).
    g.setCurrentCell(1, worklist::kColCodigo);
    desktop.choices = {Answer::No, Answer::No};
    launcher.handlers.push_back([](QDialog& d) { d.accept(); });
    launcher.handlers.push_back([](QDialog& d) {
        auto& formulation = dynamic_cast<frmoptimizacion&>(d);
        EXPECT_EQ(formulation.model().formulaId, 2);
        EXPECT_NE(formulation.model().findNutrient(1)->minimo, 300.0);
    });
    press(window, "cmdDiagnostico");
    EXPECT_EQ(launcher.opened,
              (QStringList{QStringLiteral("frmDiagnostico"), QStringLiteral("frmoptimizacion")}));

    // A double click opens the re-run result, unsaved, in the formulation window.
    const double cost = window.rows()[0].costoActual.value_or(0);
    launcher.handlers.push_back([cost](QDialog& d) {
        auto& formulation = dynamic_cast<frmoptimizacion&>(d);
        EXPECT_EQ(formulation.model().formulaId, 1);
        EXPECT_DOUBLE_EQ(formulation.model().vCostoHumeda, cost);
    });
    window.flexResultados_DblClick(0, worklist::kColProducto);
    EXPECT_EQ(launcher.opened.size(), 3);
    EXPECT_TRUE(desktop.choices.empty());

    // Only an optimal row takes a mark; "Grabar versiones" saves it as a new version.
    window.flexResultados_Click(1, worklist::kColMarca);
    EXPECT_TRUE(cell(window, 1, worklist::kColMarca).isEmpty());
    window.flexResultados_Click(0, worklist::kColMarca);
    EXPECT_EQ(cell(window, 0, worklist::kColMarca), QStringLiteral("\u2611"));
    press(window, "cmdGrabar");
    EXPECT_EQ(desktop.texts().back(), QStringLiteral("Versiones nuevas grabadas: 1"));
    EXPECT_EQ(cell(window, 0, worklist::kColVersion), QStringLiteral("1 \u2192 2"));
    EXPECT_TRUE(cell(window, 0, worklist::kColMarca).isEmpty());
    const db::Result saved = ctx.db().query(
        QStringLiteral("select max(version) from formulas where trim(codigo)='1001'"));
    EXPECT_EQ(saved.value(0, 0).toInt(), 2);

    press(window, "cmdExportar");
    ASSERT_EQ(desktop.openedDocuments.size(), 1);
    EXPECT_TRUE(desktop.openedDocuments[0].endsWith(QStringLiteral("Reformulación.xlsx")));
}

} // namespace
} // namespace tarvela::test
