// The diagnosis offered after a run that finds no mix within the limits: the question, the window
// and its proposal written into the working tables.
#include "support/gui/cut_captions.h"
#include "support/gui/formulation_window_fixture.h"

#include "formulation/gui/frmDiagnostico.h"

#include <QLineEdit>

namespace tarvela::test {
namespace {

// Demo formula 3 with a sodium maximum below what its minimum of common salt brings.
class DiagnosisWindowTest : public FormulationWindowTest {
protected:
    std::unique_ptr<frmoptimizacion> openInfeasible() {
        auto window = open(3);
        sodium(*window).minimo.reset();
        sodium(*window).maximo = 0.05;
        desktop.clear();
        return window;
    }

    static formulation::NutrientRow& sodium(frmoptimizacion& window) {
        return *window.model().findNutrient(12);
    }
};

TEST_F(DiagnosisWindowTest, ProposalIsAppliedToTheWorkingTables) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = openInfeasible();
    desktop.answers.push_back(true);
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Restricciones en Conflicto"));
        QTableWidget& conflict = grid(dialog, "flexConflicto");
        EXPECT_EQ(heading(conflict, 0), QStringLiteral("Restricción"));
        EXPECT_EQ(heading(conflict, 1), QStringLiteral("Valor Necesario"));
        ASSERT_EQ(conflict.rowCount(), 2);
        EXPECT_EQ(text(conflict, 0, 0), QStringLiteral("Máximo para Sodio 0,05 %"));
        // What a limit must take, as its grid shows it: a maximum rounded up.
        EXPECT_EQ(text(conflict, 0, 1), QStringLiteral("0,09 %"));
        EXPECT_EQ(text(conflict, 1, 0), QStringLiteral("Mínimo para Sal común 2,000"));
        EXPECT_TRUE(bold(conflict, 0, 1));

        QTableWidget& proposal = grid(dialog, "flexPropuesta");
        EXPECT_EQ(heading(proposal, 1), QStringLiteral("Valor Propuesto"));
        ASSERT_EQ(proposal.rowCount(), 1);
        EXPECT_EQ(text(proposal, 0, 0), QStringLiteral("Mínimo para Sal común 2,000"));
        EXPECT_EQ(text(proposal, 0, 1), QStringLiteral("0,982"));
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txtCosH")->text(), QStringLiteral("$ 0,3295"));
        EXPECT_EQ(cutCaptions(dialog), "");
        press(dialog, "cmdAplicar");
    });
    press(*window, "cmdFormular");
    EXPECT_EQ(launcher.opened, QStringList{"frmDiagnostico"});
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("No es posible cumplir todas las restricciones"));
    EXPECT_TRUE(desktop.messages[1].isQuestion);
    EXPECT_EQ(desktop.busyDepth, 0);

    // The proposed limit is in the working table and its grid; the next run finds a mix.
    QTableWidget& prod = grid(*window, "flexProd");
    bool shown = false;
    for (int r = 0; r < prod.rowCount(); ++r)
        shown = shown || (text(prod, r, 1) == QStringLiteral("Sal común") &&
                          text(prod, r, 6) == QStringLiteral("0,982"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(sodium(*window).maximo, 0.05);
    desktop.clear();
    press(*window, "cmdFormular");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(launcher.opened.size(), 1);
    EXPECT_EQ(window->findChild<QLineEdit*>("txtCosH")->text(), QStringLiteral("$ 0,3295"));
}

TEST_F(DiagnosisWindowTest, DecliningOrClosingLeavesTheLimits) {
    auto window = openInfeasible();
    desktop.answers.push_back(false);
    press(*window, "cmdFormular");
    EXPECT_TRUE(launcher.opened.isEmpty());

    desktop.answers.push_back(true);
    launcher.handlers.push_back([&](QDialog& dialog) { press(dialog, "cmdClose"); });
    press(*window, "cmdFormular");
    EXPECT_EQ(launcher.opened, QStringList{"frmDiagnostico"});
    EXPECT_EQ(sodium(*window).maximo, 0.05);
}

// The batch is a limit too: minimums that only a larger batch makes room for.
TEST_F(DiagnosisWindowTest, ChecksThatStopTheRunOfferItToo) {
    auto window = open(3);
    window->model().ingredients[0].minimo = 600;
    window->model().ingredients[1].minimo = 600;
    desktop.clear();
    desktop.answers.push_back(true);
    launcher.handlers.push_back([&](QDialog& dialog) {
        QTableWidget& conflict = grid(dialog, "flexConflicto");
        EXPECT_EQ(conflict.rowCount(), 2);
        EXPECT_TRUE(text(conflict, 0, 0).startsWith(QStringLiteral("Mínimo para ")));
    });
    press(*window, "cmdFormular");
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].title, QStringLiteral("Se ha cancelado la Formulación"));
    EXPECT_EQ(launcher.opened, QStringList{"frmDiagnostico"});
}

} // namespace
} // namespace tarvela::test
