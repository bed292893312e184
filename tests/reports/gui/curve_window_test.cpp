// "Curva de costo" and "Mapa de precio" opened from the analysis window and the formulation
// window's menu: the chart's data, the points' table, the records' ranges, Exportar.
#include "support/gui/formulation_window_fixture.h"

#include "reports/gui/frmCurva.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace tarvela::test {
namespace {

// Calculates the curve with the range in its boxes and waits for the steps' thread.
void calculate(QDialog& dialog) {
    auto& window = static_cast<frmCurva&>(dialog);
    QPushButton* calcular = window.findChild<QPushButton*>("cmdCalcular");
    ASSERT_NE(calcular, nullptr);
    calcular->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.busy(), 60000);
    ASSERT_TRUE(window.chartData().has_value());
}

TEST_F(FormulationWindowTest, ProteinCurveFromTheAnalysisWindow) {
    auto window = open(5);
    press(*window, "cmdFormular");
    const auto before = window->model().findNutrient(1)->minimo;
    QTemporaryDir dir;
    bool drawn = false;
    launcher.handlers.push_back([&](QDialog& analysis) {
        auto* tabs = analysis.findChild<QTabWidget*>("SSTab1");
        tabs->setCurrentIndex(3);
        QTableWidget& nutrients = grid(analysis, "FlexGrid2");
        ASSERT_EQ(nutrients.columnCount(), 7);
        EXPECT_EQ(nutrients.horizontalHeaderItem(5)->text(), QStringLiteral("Válido desde"));
        EXPECT_EQ(nutrients.horizontalHeaderItem(6)->text(), QStringLiteral("Válido hasta"));
        int protein = -1;
        for (int r = 0; r < nutrients.rowCount(); ++r)
            if (text(nutrients, r, 1) == QStringLiteral("Mínimo para Proteína Bruta"))
                protein = r;
        ASSERT_GE(protein, 0);
        EXPECT_FALSE(text(nutrients, protein, 5).isEmpty());
        nutrients.setCurrentCell(protein, 1);

        launcher.handlers.push_back([&](QDialog& dialog) {
            auto& curve = static_cast<frmCurva&>(dialog);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Curva de costo"));
            EXPECT_EQ(dialog.findChild<QLineEdit*>("txtDesde")->text(), QStringLiteral("11.50"));
            EXPECT_EQ(dialog.findChild<QLineEdit*>("txtPasos")->text(), QStringLiteral("50"));
            calculate(dialog);
            const reports::CurveChart& chart = *curve.chartData();
            EXPECT_EQ(chart.title, QStringLiteral("Curva de costo: Mínimo para Proteína Bruta"));
            EXPECT_FALSE(chart.cost.empty());
            EXPECT_FALSE(chart.changes.empty());
            EXPECT_FALSE(chart.gapNotes.empty()); // above the maximum of 24.5
            ASSERT_TRUE(chart.current);
            EXPECT_EQ(chart.current->x, 23.0);
            EXPECT_EQ(grid(dialog, "flexPuntos").rowCount(),
                      static_cast<int>(curve.curve()->points.size()));
            // The chart holds the lines of the data, one per stretch, and the marks, whose
            // labels (the changes' and the current value's) never cover one another.
            auto* view = dialog.findChild<QChartView*>("chartCurva");
            ASSERT_NE(view->chart(), nullptr);
            EXPECT_GE(view->chart()->series().size(), static_cast<qsizetype>(chart.cost.size()));
            std::vector<QRectF> labels;
            for (QGraphicsItem* item : view->chart()->childItems())
                if (auto* label = dynamic_cast<QGraphicsSimpleTextItem*>(item))
                    labels.push_back(label->sceneBoundingRect());
            EXPECT_EQ(labels.size(), chart.changes.size() + 1);
            for (size_t a = 0; a < labels.size(); ++a)
                for (size_t b = a + 1; b < labels.size(); ++b)
                    EXPECT_FALSE(labels[a].intersects(labels[b]));

            // Exportar: a picture and a workbook, by the name chosen.
            desktop.fileNames.push_back(dir.filePath(QStringLiteral("curva.png")));
            desktop.fileNames.push_back(dir.filePath(QStringLiteral("curva.xlsx")));
            press(dialog, "cmdExportar");
            press(dialog, "cmdExportar");
            QFile png(dir.filePath(QStringLiteral("curva.png")));
            ASSERT_TRUE(png.open(QIODevice::ReadOnly));
            EXPECT_EQ(png.read(4), QByteArray("\x89PNG"));
            EXPECT_GT(QFile(dir.filePath(QStringLiteral("curva.xlsx"))).size(), 0);
            drawn = true;
        });
        press(analysis, "cmdCurva");
    });
    press(*window, "Command1");
    EXPECT_TRUE(drawn);
    EXPECT_EQ(launcher.opened.back(), QStringLiteral("frmCurva"));
    // The formula in the window is as it was.
    EXPECT_EQ(window->model().findNutrient(1)->minimo, before);
}

TEST_F(FormulationWindowTest, PriceMapFromTheIngredientsMenuAndRefusedRanges) {
    auto window = open(5);
    QTableWidget& ingredients = grid(*window, "flexProd");
    int expeller = -1;
    for (int r = 0; r < ingredients.rowCount(); ++r)
        if (text(ingredients, r, 0).trimmed() == QStringLiteral("50"))
            expeller = r;
    ASSERT_GE(expeller, 0);
    ingredients.setCurrentCell(expeller, 1);
    bool drawn = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        auto& map = static_cast<frmCurva&>(dialog);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Mapa de precio"));
        dialog.findChild<QLineEdit*>("txtDesde")->setText(QStringLiteral("0.6"));
        dialog.findChild<QLineEdit*>("txtHasta")->setText(QStringLiteral("0.2"));
        press(dialog, "cmdCalcular");
        ASSERT_FALSE(desktop.messages.empty());
        EXPECT_EQ(desktop.messages.back().text,
                  QStringLiteral("El valor Hasta debe ser mayor al valor Desde"));
        dialog.findChild<QLineEdit*>("txtDesde")->setText(QStringLiteral("0.2"));
        dialog.findChild<QLineEdit*>("txtHasta")->setText(QStringLiteral("0.8"));
        dialog.findChild<QLineEdit*>("txtPasos")->setText(QStringLiteral("12"));
        calculate(dialog);
        const reports::CurveChart& chart = *map.chartData();
        ASSERT_TRUE(chart.quantity);
        EXPECT_FALSE(chart.quantityLines.empty());
        EXPECT_FALSE(chart.records.empty()); // its Precio Máximo lies in the range
        drawn = true;
    });
    window->findChild<QAction*>("mnuMapaPrecio")->trigger();
    EXPECT_TRUE(drawn);
}

} // namespace
} // namespace tarvela::test
