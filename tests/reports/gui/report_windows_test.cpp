// The windows opened from the formulation window: analysis, composition and contributions.
#include "support/gui/formulation_window_fixture.h"

#include "support/gui/cut_captions.h"

#include "reports/gui/frmAportes.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>

namespace tarvela::test {
namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
    int count = 0;
};

const QColor kGrey(128, 128, 128);
const QColor kLightGrey(224, 224, 224);

TEST_F(FormulationWindowTest, AnalysisWindowShowsTheRunsRecords) {
    auto window = open(3);
    press(*window, "cmdFormular");
    const auto records = window->model().rsAnalisis;
    ASSERT_FALSE(records.empty());

    bool checked = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Análisis de los Resultados"));
        auto* tabs = dialog.findChild<QTabWidget*>("SSTab1");
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 4);
        EXPECT_EQ(tabs->currentIndex(), 0);
        const char* grids[4] = {"FlexGrid0", "FlexGrid1", "FlexGrid3", "FlexGrid2"};
        const char* tipos[4] = {"IA", "II", "RI", "RN"};
        const char* captions[4] = {"Ingredientes Activos", "Ingredientes Inactivos",
                                   "Restricciones de Ingredientes", "Restricciones de Nutrientes"};
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(tabs->tabText(t), QString::fromUtf8(captions[t]));
            QTableWidget& table = grid(dialog, grids[t]);
            EXPECT_EQ(table.parentWidget(), tabs->widget(t));
            int expected = 0;
            for (const auto& r : records)
                expected += formulation::analysisCode(r.kind) == QString::fromUtf8(tipos[t]);
            ASSERT_EQ(table.rowCount(), expected) << tipos[t];
            EXPECT_TRUE(table.isColumnHidden(0));
            EXPECT_EQ(table.columnWidth(2), 100);
            EXPECT_EQ(table.horizontalHeaderItem(1)->background().color(), kGrey);
            // Ascending valor2; empty (unlimited) cells last.
            bool emptySeen = false;
            double last = -1e300;
            for (int r = 0; r < table.rowCount(); ++r) {
                EXPECT_EQ(text(table, r, 0), QString::fromUtf8(tipos[t]));
                const QString v2 = text(table, r, 3);
                if (v2.isEmpty()) {
                    emptySeen = true;
                    continue;
                }
                EXPECT_FALSE(emptySeen) << "finite value after an unlimited one";
                EXPECT_EQ(v2.section(QLatin1Char('.'), 1).size(), 3) << v2.toStdString();
                EXPECT_GE(v2.toDouble(), last);
                last = v2.toDouble();
                EXPECT_EQ(text(table, r, 2).section(QLatin1Char('.'), 1).size(), 2);
            }
        }
        EXPECT_EQ(heading(grid(dialog, "FlexGrid2"), 1),
                  QStringLiteral("Por cada unidad de aumento en la restricción"));
        EXPECT_EQ(heading(grid(dialog, "FlexGrid1"), 4), QStringLiteral("Precio Oportuno"));
        checked = true;
    });
    press(*window, "Command1");
    EXPECT_TRUE(checked);
    EXPECT_EQ(launcher.opened.back(), QStringLiteral("frmAnalisis"));
    // The window left the records in their order.
    ASSERT_EQ(window->model().rsAnalisis.size(), records.size());
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(window->model().rsAnalisis[i].detalle, records[i].detalle);
}

TEST_F(FormulationWindowTest, CompositionWindowTotalsTheSolvedMix) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = open(3);
    press(*window, "cmdFormular");
    bool checked = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Composición de la Fórmula"));
        QTableWidget& table = grid(dialog, "FlexGrid1");
        const auto& model = window->model();
        ASSERT_EQ(table.rowCount(), static_cast<int>(model.ingredients.size()) + 1);
        ASSERT_EQ(table.columnCount(), 7 + static_cast<int>(model.rsPropiedades.size()));
        EXPECT_EQ(heading(table, 1), QStringLiteral("Ingrediente"));
        EXPECT_EQ(heading(table, 4), QStringLiteral("Mat.Húmeda"));
        for (int n = 0; n < static_cast<int>(model.rsPropiedades.size()); ++n)
            EXPECT_EQ(heading(table, 7 + n), model.rsPropiedades[static_cast<size_t>(n)].nombre);
        EXPECT_EQ(table.columnWidth(1), 2950 / 15);
        EXPECT_EQ(table.columnWidth(7), 2000 / 15);
        const int totals = table.rowCount() - 1;
        EXPECT_EQ(text(table, totals, 3), QStringLiteral("100,00%"));
        EXPECT_EQ(text(table, totals, 5), QStringLiteral("100,00%"));
        EXPECT_EQ(text(table, totals, 4), QStringLiteral("1000,00"));
        for (int c : {2, 3, 4, 5, 7}) {
            EXPECT_EQ(table.item(totals, c)->background().color(), kLightGrey) << c;
            EXPECT_TRUE(table.item(totals, c)->font().bold()) << c;
        }
        EXPECT_EQ(table.item(0, 6)->background().color(), kGrey);
        // The totals equal the nutrient values of the mix.
        for (int n = 0; n < static_cast<int>(model.rsPropiedades.size()); ++n)
            EXPECT_EQ(text(table, totals, 7 + n), text(grid(*window, "flexProp"), n, 6).trimmed());
        // Name, quantities and shares stay in view over the scrolling nutrient columns.
        auto* frozen = table.findChild<QTableView*>("FlexGrid1_frozen");
        ASSERT_NE(frozen, nullptr);
        EXPECT_TRUE(frozen->isVisible());
        EXPECT_FALSE(frozen->isColumnHidden(1));
        EXPECT_TRUE(frozen->isColumnHidden(7));
        // Scrolled to its end, both parts show the totals row on the last line.
        QScrollBar* bar = table.verticalScrollBar();
        bar->setValue(bar->maximum());
        QApplication::processEvents();
        EXPECT_EQ(frozen->rowAt(frozen->viewport()->height() - 1), totals);
        EXPECT_EQ(table.rowAt(table.viewport()->height() - 1), totals);
        checked = true;
    });
    press(*window, "cmdComposicion");
    EXPECT_TRUE(checked);
}

TEST_F(FormulationWindowTest, UnreachableMinimumOpensTheContributions) {
    auto window = open(3);
    auto& nutrient = window->model().rsPropiedades.front();
    nutrient.minimo = 1e6;
    nutrient.maximo = std::nullopt;
    const QString name = nutrient.nombre.trimmed();
    desktop.clear();
    bool checked = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_TRUE(dialog.windowTitle().startsWith(
            QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para ") + name));
        auto* table = dialog.findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(heading(*table, 0), QStringLiteral("Ingrediente"));
        EXPECT_EQ(heading(*table, 1), QStringLiteral("Rest. Máximo"));
        EXPECT_EQ(heading(*table, 3), QStringLiteral("Aporte Máximo"));
        EXPECT_EQ(table->rowCount(), static_cast<int>(window->model().ingredients.size()));
        EXPECT_TRUE(table->item(0, 3)->font().bold());
        EXPECT_FALSE(table->item(0, 2)->font().bold());
        checked = true;
    });
    desktop.answers.push_back(false); // the diagnosis that follows is declined
    press(*window, "cmdFormular");
    EXPECT_TRUE(checked);
    EXPECT_EQ(launcher.opened.back(), QStringLiteral("frmAportes"));
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[1].isQuestion);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("No es posible alcanzar el Mínimo para la propiedad ") + name);
    EXPECT_EQ(desktop.messages[0].title, QStringLiteral("Se ha cancelado la Formulación"));
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
}

TEST_F(FormulationWindowTest, ContributionsWindowFormatsItsReport) {
    useDecimalSeparator(QLatin1Char(','));
    formulation::AportesReport report;
    report.caption = QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para Lisina = 9,00");
    report.propertyName = QStringLiteral("Lisina   ");
    report.maximoAlcanzable = 5.1234567;
    report.rows = {{QStringLiteral("Maíz"), std::nullopt, 2.5, 2.5},
                   {QStringLiteral("Soja"), 300, 28.25, 8.475}};
    frmAportes window(ctx, report);
    // The message comes after the window, its list included, has been drawn.
    PaintCounter windowPaints(window);
    PaintCounter listPaints(*window.findChild<QTableWidget*>()->viewport());
    bool drawnFirst = false;
    desktop.onMessage = [&](const RecordedMessage&) {
        drawnFirst = window.isVisible() && windowPaints.count > 0 && listPaints.count > 0;
    };
    launcher.exec(window);
    EXPECT_TRUE(drawnFirst);
    EXPECT_EQ(window.windowTitle(), report.caption);
    auto* maximo = window.findChild<QLabel*>("lblMaximo");
    ASSERT_NE(maximo, nullptr);
    EXPECT_EQ(maximo->text(), QStringLiteral("5,12346"));
    auto* table = window.findChild<QTableWidget*>();
    EXPECT_EQ(text(*table, 0, 1), QString());
    EXPECT_EQ(text(*table, 1, 1), QStringLiteral("300,00"));
    EXPECT_EQ(text(*table, 1, 2), QStringLiteral("28,25"));
    EXPECT_EQ(text(*table, 1, 3), QStringLiteral("8,48"));
    EXPECT_EQ(table->columnWidth(1), 100);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("No es posible alcanzar el Mínimo para la propiedad Lisina"));
}

// Every caption of the formulation window and of the windows it opens can be read whole.
TEST_F(FormulationWindowTest, NoCaptionIsCutOff) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = open(3);
    press(*window, "cmdFormular");
    EXPECT_EQ(cutCaptions(*window), "");
    const char* buttons[] = {"cmdComposicion", "Command1"};
    for (const char* button : buttons) {
        launcher.handlers.push_back([&](QDialog& dialog) { EXPECT_EQ(cutCaptions(dialog), ""); });
        press(*window, button);
    }
    EXPECT_EQ(launcher.opened, QStringList({"frmResultados", "frmAnalisis"}));

    formulation::AportesReport report;
    report.caption = QStringLiteral("PROBLEMA CON RESTRICCIÓN: Mínimo para Lisina = 9,00");
    report.rows = {{QStringLiteral("Harina de carne y hueso 45%"), 300, 28.25, 8.475}};
    frmAportes aportes(ctx, report);
    EXPECT_EQ(cutCaptions(aportes), "");
}

} // namespace
} // namespace tarvela::test
