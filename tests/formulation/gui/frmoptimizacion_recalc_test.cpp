// "&Recalcular Valores" on a demo formula, through its dialog and on to a save.
#include "support/gui/formulation_window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace tarvela::test {
namespace {

void answer(QDialog& dialog, const QString& quantity, bool incorporate = false) {
    dialog.findChild<QLineEdit*>("txt_cantidad")->setText(quantity);
    if (incorporate)
        dialog.findChild<QRadioButton*>("Option2_1")->setChecked(true);
    dialog.findChild<QPushButton*>("command4")->click();
}

double sumOf(const formulation::WorkingModel& model) {
    double sum = 0;
    for (const auto& row : model.ingredients)
        sum += row.cantidad_humeda.value_or(0);
    return sum;
}

TEST_F(FormulationWindowTest, RecalculatingRefusesBadQuantitiesThenScalesAndIsSavedAsShown) {
    auto window = open(3);
    auto& quantity = *window->findChild<QLineEdit*>("txt_Cantidad");
    const QString loaded = quantity.text();

    // A refused answer keeps the dialog open; "Cancelar" changes nothing.
    QString basis;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recalcular "));
        basis = dialog.findChild<QLineEdit*>("Text1")->text();
        answer(dialog, "mucho");
        answer(dialog, "0");
        answer(dialog, "999999999");
        EXPECT_TRUE(dialog.isVisible());
        dialog.findChild<QPushButton*>("command3")->click();
    });
    press(*window, "cmdRecalcular");
    EXPECT_EQ(basis, QStringLiteral("Materia Húmeda"));
    EXPECT_EQ(desktop.texts(), QStringList({"La cantidad debe ser un dato numérico válido",
                                            "La cantidad debe ser mayor que cero",
                                            "La cantidad a elaborar no puede ser mayor a 1000"}));
    EXPECT_EQ(quantity.text(), loaded);

    // The ingredient limits follow the batch unless the box is cleared.
    const double batch = window->model().batchQuantity;
    std::vector<formulation::Opt> minimums;
    for (const auto& row : window->model().ingredients)
        minimums.push_back(row.minimo);
    launcher.handlers.push_back([](QDialog& dialog) {
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("chkEscalarLimites")->isChecked());
        answer(dialog, "500");
    });
    press(*window, "cmdRecalcular");
    EXPECT_EQ(quantity.text(), QStringLiteral("500.00"));
    for (size_t i = 0; i < minimums.size(); ++i) {
        if (minimums[i]) {
            EXPECT_NEAR(*window->model().ingredients[i].minimo, *minimums[i] * 500 / batch, 1e-3);
        }
    }
    // The demo's stored shares add up to 1 within 1e-8.
    EXPECT_NEAR(sumOf(window->model()), 500, 1e-3);

    // Saved: the formula's quantity and its rows are the new batch.
    launcher.handlers.push_back(
        [](QDialog& dialog) { dialog.findChild<QPushButton*>("cmdUpdate")->click(); });
    press(*window, "cmdUpdate");
    const int id = window->model().formulaId;
    EXPECT_EQ(
        ctx.db()
            .query(QStringLiteral("select cantidad from formulas where id_formula=%1").arg(id))
            .value(0, 0)
            .toDouble(),
        500);
    EXPECT_NEAR(ctx.db()
                    .query(QStringLiteral("select sum(cantidad_humeda) from formula_producto "
                                          "where id_formula=%1")
                               .arg(id))
                    .value(0, 0)
                    .toDouble(),
                500, 1e-3);
}

TEST_F(FormulationWindowTest, AnEmptiedBatchQuantityIsNeverSaved) {
    auto window = open(3);
    auto& quantity = *window->findChild<QLineEdit*>("txt_Cantidad");
    quantity.setText(QString());
    window->takeBatchQuantity();
    press(*window, "cmdUpdate");
    EXPECT_EQ(desktop.texts(), QStringList({"La cantidad a elaborar debe ser mayor que cero"}));
    EXPECT_TRUE(launcher.opened.isEmpty());
}

} // namespace
} // namespace tarvela::test
