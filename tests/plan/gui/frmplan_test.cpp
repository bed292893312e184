// "Plan de Producción" walked as a user would: the demo plan opened from the list, a refused
// quantity and a formula entered twice, "Calcular" with its results, the workbook, the versions
// saved; then a stock that cannot be met and its diagnosis.
#include "plan/gui/frmplan.h"
#include "plan/gui/frmplanes.h"

#include "support/gui/app_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

class PlanWindow : public AppFixture {
protected:
    void SetUp() override { ctx.currentBase = 3; }

    static void press(QWidget& window, const char* name) {
        auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    static QTableWidget& grid(QWidget& window, const char* name) {
        return *window.findChild<QTableWidget*>(QString::fromUtf8(name));
    }
    int count(const char* sql) { return ctx.db().query(sql).value(0, 0).toInt(); }
};

TEST_F(PlanWindow, EnterCalculateExportAndSaveVersions) {
    frmplanes list(ctx);
    QTableWidget& plans = grid(list, "flexgrid1");
    ASSERT_EQ(plans.rowCount(), 1);
    EXPECT_EQ(plans.item(0, 1)->text(), QStringLiteral("Aves semana 50"));

    frmplan window(ctx, 1);
    window.show();
    QTableWidget& formulas = grid(window, "flexFormulas");
    ASSERT_EQ(formulas.rowCount(), 3);
    EXPECT_EQ(formulas.horizontalHeaderItem(3)->text(), QStringLiteral("Cantidad a elaborar"));
    EXPECT_EQ(window.findChild<QLineEdit*>("txtNombre")->text(), QStringLiteral("Aves semana 50"));

    // A negative quantity is refused at entry and the cell shows the plan's value again.
    formulas.item(0, 3)->setText(QStringLiteral("-5"));
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral(
                                   "La cantidad a elaborar debe ser un número mayor que cero")});
    EXPECT_EQ(formulas.item(0, 3)->text(), QStringLiteral("20000.00"));
    desktop.clear();
    // A formula in the plan already is refused with a message.
    window.addFormulas({5});
    EXPECT_EQ(formulas.rowCount(), 3);
    ASSERT_EQ(desktop.texts().size(), 1);
    EXPECT_TRUE(desktop.texts().front().contains(QStringLiteral("ya está en el plan")));
    desktop.clear();

    // A stock typed with the other separator; blank is without limit.
    QTableWidget& stocks = grid(window, "flexExistencias");
    ASSERT_GT(stocks.rowCount(), 10);
    stocks.item(0, 1)->setText(QStringLiteral("1234,5"));
    EXPECT_EQ(*window.plan().existencias[0].existencia, 1234.5);
    stocks.item(0, 1)->setText(QString());
    EXPECT_FALSE(window.plan().existencias[0].existencia);
    EXPECT_TRUE(desktop.texts().isEmpty());

    const int before = count("select count(*) from formulas");
    desktop.answers = {true};
    launcher.handlers.push_back([&](QDialog& results) {
        EXPECT_FALSE(results.findChild<QLineEdit*>("txtCostoPlan")->text().isEmpty());
        EXPECT_FALSE(results.findChild<QLineEdit*>("txtCostoEscasez")->text().isEmpty());
        QTableWidget& used = grid(results, "flexExistencias");
        int binding = 0;
        for (int r = 0; r < used.rowCount(); ++r)
            binding += used.item(r, 5)->text() == QStringLiteral("Limitante") ? 1 : 0;
        EXPECT_EQ(binding, 1);
        EXPECT_GT(grid(results, "flexMezcla").rowCount(), 10);
        press(results, "cmdExportar");
        press(results, "cmdGrabarVersiones");
    });
    press(window, "cmdCalcular");
    EXPECT_EQ(launcher.opened.last(), QStringLiteral("frmplan_resultados"));
    ASSERT_EQ(desktop.openedDocuments.size(), 1);
    EXPECT_TRUE(desktop.openedDocuments.front().endsWith(QStringLiteral(".xlsx")));
    EXPECT_EQ(count("select count(*) from formulas"), before + 3);

    // Renamed and saved, the plan's record of changes shows it first.
    window.findChild<QLineEdit*>("txtNombre")->setText(QStringLiteral("Aves semana 51"));
    ASSERT_TRUE(window.cmdGrabar_Click());
    QStringList rows;
    launcher.handlers.push_back([&](QDialog& history) {
        QTableWidget& changes = grid(history, "flexHistorial");
        for (int r = 0; r < changes.rowCount(); ++r)
            rows << changes.item(r, 2)->text() + " | " + changes.item(r, 3)->text();
    });
    press(window, "cmdHistorial");
    EXPECT_EQ(launcher.opened.last(), QStringLiteral("frmHistorial"));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front(), "modificación | nombre: \"Aves semana 50\" → \"Aves semana 51\"");
}

TEST_F(PlanWindow, APlanThatCannotBeMetShowsItsDiagnosis) {
    frmplan window(ctx, 1);
    window.show();
    QTableWidget& stocks = grid(window, "flexExistencias");
    for (int r = 0; r < stocks.rowCount(); ++r)
        if (window.plan().existencias[static_cast<size_t>(r)].idProducto == 64)
            stocks.item(r, 1)->setText(QStringLiteral("0"));
    QStringList conflict;
    launcher.handlers.push_back([&](QDialog& diagnosis) {
        QTableWidget& g = grid(diagnosis, "flexConflicto");
        for (int r = 0; r < g.rowCount(); ++r)
            conflict << g.item(r, 0)->text();
    });
    press(window, "cmdCalcular");
    EXPECT_EQ(launcher.opened.last(), QStringLiteral("frmplan_diagnostico"));
    ASSERT_FALSE(conflict.isEmpty());
    EXPECT_TRUE(conflict.front().startsWith(QStringLiteral("Existencia de ")))
        << conflict.front().toStdString();

    // Saving without a name is refused.
    window.findChild<QLineEdit*>("txtNombre")->clear();
    desktop.clear();
    EXPECT_FALSE(window.cmdGrabar_Click());
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral("Debe ingresar un nombre para el plan")});
}

// A changed stock is never lost by closing: Esc, the close box and the close button all ask;
// Cancelar stays, No drops the change, Sí saves it.
TEST_F(PlanWindow, ClosingWithUnsavedChangesAsks) {
    const char* stockSql = "select count(*) from plan_existencia where id_plan=1 and "
                           "existencia=777";
    {
        frmplan window(ctx, 1);
        window.show();
        // Untouched, it closes without a question.
        window.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_TRUE(desktop.texts().isEmpty());
    }
    frmplan window(ctx, 1);
    window.show();
    grid(window, "flexExistencias").item(0, 1)->setText(QStringLiteral("777"));
    desktop.choices = {Answer::Cancel};
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral("¿Desea Grabar las Modificaciones?")});

    desktop.choices = {Answer::No};
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(count(stockSql), 0);

    frmplan again(ctx, 1);
    again.show();
    grid(again, "flexExistencias").item(0, 1)->setText(QStringLiteral("777"));
    desktop.clear();
    desktop.choices = {Answer::Yes};
    press(again, "cmdClose");
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(desktop.texts(), QStringList{QStringLiteral("¿Desea Grabar las Modificaciones?")});
    EXPECT_EQ(count(stockSql), 1);
}

} // namespace
} // namespace tarvela::test
