// The third grid of the formulation window: the demo feedlot formula's Ca : P ratio and cereal
// group, a ratio added through the nutrient list, limits typed over the cells, all met by the
// run, "Cancelar" bringing back the stored ones.
#include "support/gui/formulation_window_fixture.h"

#include "formulation/gui/cell_overlay.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace tarvela::test {
namespace {

constexpr int kName = 1, kMinimo = 3, kMaximo = 4, kValor = 6;

class LimitsGrid : public FormulationWindowTest {
protected:
    static std::function<void(QDialog&)> pickNamed(int column, const QString& name) {
        return [column, name](QDialog& list) {
            auto* g = list.findChild<QTableWidget*>("flexgrid1");
            for (int r = 0; r < g->rowCount(); ++r)
                if (g->item(r, column)->text() == name)
                    g->setCurrentCell(r, column);
            list.findChild<QPushButton*>("cmdSeleccionar")->click();
        };
    }

    // Types over a cell of the third grid and presses Enter.
    static void typeOver(frmoptimizacion& window, int row, int column, const QString& typed) {
        // The lists opened before may have taken the activation.
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.limitCellActivated(row, column);
        auto* overlay = qobject_cast<CellOverlay*>(QApplication::focusWidget());
        ASSERT_NE(overlay, nullptr);
        QTest::keyClicks(overlay, typed);
        QTest::keyClick(overlay, Qt::Key_Return);
    }
};

TEST_F(LimitsGrid, AddEditRunAndCancel) {
    auto window = open(2);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* tabs = window->findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Relaciones y Grupos"));
    tabs->setCurrentIndex(2);
    // The nutrients' own buttons stand aside while the tab has its own.
    EXPECT_FALSE(window->findChild<QPushButton*>("Command4")->isVisible());
    QTableWidget& rel = grid(*window, "flexRel");
    ASSERT_EQ(rel.rowCount(), 2);
    EXPECT_EQ(text(rel, 0, kName), QStringLiteral("Relación Calcio / Fósforo Total"));
    EXPECT_EQ(text(rel, 0, kMinimo), QStringLiteral("1.80"));
    EXPECT_EQ(text(rel, 1, kName), QStringLiteral("Grupo Cereales"));
    EXPECT_EQ(text(rel, 1, kMaximo), QStringLiteral("550.000"));
    EXPECT_EQ(heading(rel, kValor), QStringLiteral("Valor"));

    // Nutrients picked in turn: the same one twice, and a ratio the formula holds, are refused.
    const auto addRatio = [&](const char* numerator, const char* denominator) {
        launcher.handlers.push_back(pickNamed(1, QString::fromUtf8(numerator)));
        launcher.handlers.push_back(pickNamed(1, QString::fromUtf8(denominator)));
        press(*window, "cmdRelacion");
    };
    addRatio("Calcio", "Calcio");
    addRatio("Calcio", "Fósforo Total");
    EXPECT_EQ(desktop.texts(), QStringList({"El numerador y el denominador de la relación deben "
                                            "ser nutrientes distintos",
                                            "La Relación Ya se encuentra Asignada a la Fórmula"}));
    desktop.clear();
    addRatio("Proteína Bruta", "Calcio");
    ASSERT_EQ(rel.rowCount(), 3);
    EXPECT_EQ(text(rel, 1, kName), QStringLiteral("Relación Proteína Bruta / Calcio"));

    // Limits typed as nutrient limits are; a minimum above the maximum is refused, and a group
    // limit above the batch.
    typeOver(*window, 1, kMaximo, QStringLiteral("30"));
    typeOver(*window, 1, kMinimo, QStringLiteral("31"));
    EXPECT_EQ(desktop.texts(), QStringList({"El valor máximo debe ser mayor o igual al mínimo"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    desktop.clear();
    typeOver(*window, 1, kMinimo, QStringLiteral("20"));
    typeOver(*window, 2, kMaximo, QStringLiteral("1200"));
    EXPECT_EQ(desktop.texts(),
              QStringList({"El valor no puede ser mayor a la cantidad a elaborar"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    desktop.clear();
    EXPECT_EQ(text(rel, 1, kMinimo), QStringLiteral("20.00"));

    press(*window, "cmdFormular");
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("; ").toStdString();
    const auto& added = window->model().relaciones.at(1);
    ASSERT_TRUE(added.valor);
    EXPECT_GE(*added.valor, 20 - 1e-9);
    EXPECT_LE(*added.valor, 30 + 1e-9);
    EXPECT_NEAR(*window->model().relaciones.at(0).valor, 1.8, 1e-9);
    // The grid shows what the run reached (the mix as loaded gave a ratio below 20).
    EXPECT_EQ(text(rel, 1, kValor), QString::number(*added.valor, 'f', 2));
    EXPECT_EQ(text(rel, 2, kValor), QStringLiteral("550.000"));

    // Removed, then brought back by "Cancelar" as stored.
    rel.setCurrentCell(0, kName);
    press(*window, "cmdQuitarLimite");
    EXPECT_EQ(rel.rowCount(), 2);
    press(*window, "cmdCancel");
    ASSERT_EQ(rel.rowCount(), 2);
    EXPECT_EQ(text(rel, 0, kName), QStringLiteral("Relación Calcio / Fósforo Total"));
}

} // namespace
} // namespace tarvela::test
