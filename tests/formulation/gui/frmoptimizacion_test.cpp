// The formulation window on the demo formulas: load, run, grids, totals boxes and options.
#include "support/gui/formulation_window_fixture.h"

#include "grid/gui/grid_painter.h"
#include "text/format.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace tarvela::test {
namespace {

constexpr int kCanS = 9, kPorS = 10, kCanH = 12, kPorH = 13, kCosto = 14;
const QColor kLightGrey(224, 224, 224);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

QLineEdit& box(QWidget& window, const char* name) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromUtf8(name));
    EXPECT_NE(edit, nullptr) << name;
    return *edit;
}

QString cellText(const QTableWidget& table, int row, int column) {
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

QStringList snapshot(const QTableWidget& table) {
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.item(r, c)->text();
    return cells;
}

TEST_F(FormulationWindowTest, LoadShowsHeaderOptionsAndGrids) {
    auto window = open(3);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmoptimizacion"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Fórmulas"));
    EXPECT_EQ(box(*window, "txt_CodFormula").text(), QStringLiteral("2001"));
    EXPECT_EQ(box(*window, "txt_Formula").text(), QStringLiteral("Cerdo crecimiento 20-50 kg"));
    EXPECT_EQ(box(*window, "txt_VerFormula").text(), QStringLiteral("1"));
    EXPECT_EQ(box(*window, "txt_FecCFormula").text(), QStringLiteral("07/12/2026"));
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option1_1")->isChecked());
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option2_1")->isChecked());
    auto* tabs = window->findChild<QTabWidget*>("SSTab1");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Nutrientes"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Base Húmeda"));

    QTableWidget& prod = grid(*window, "flexProd");
    const auto& model = window->model();
    ASSERT_EQ(prod.rowCount(), static_cast<int>(model.ingredients.size()));
    ASSERT_GT(prod.rowCount(), 0);
    EXPECT_EQ(heading(prod, 1), QStringLiteral("Descripción"));
    EXPECT_EQ(heading(prod, kCanH), QStringLiteral("B.Húmeda"));
    EXPECT_EQ(prod.horizontalHeaderItem(2)->background().color(), kGrey);
    for (int c : {0, 3, 15, 16})
        EXPECT_TRUE(prod.isColumnHidden(c)) << c;
    EXPECT_EQ(prod.columnWidth(2), 900 / 15);
    EXPECT_EQ(prod.columnWidth(kCosto), 1200 / 15);
    EXPECT_EQ(prod.columnWidth(5), 80 / 15);
    // The name takes the rest of the grid: every column in view, no horizontal scrolling.
    int total = 0;
    for (int c = 0; c < prod.columnCount(); ++c)
        total += prod.isColumnHidden(c) ? 0 : prod.columnWidth(c);
    EXPECT_LE(total, prod.viewport()->width());
    EXPECT_GE(total, prod.viewport()->width() - 6);
    EXPECT_GT(prod.columnWidth(1), 150);

    QTableWidget& prop = grid(*window, "flexProp");
    ASSERT_EQ(prop.rowCount(), static_cast<int>(model.rsPropiedades.size()));
    EXPECT_EQ(heading(prop, 6), QStringLiteral("Valor"));
    for (int r = 0; r < prop.rowCount(); ++r) {
        EXPECT_EQ(text(prop, r, 1), model.rsPropiedades[static_cast<size_t>(r)].nombre);
        EXPECT_TRUE(bold(prop, r, 6));
    }
}

TEST_F(FormulationWindowTest, CaptionNamesTheCurrentCustomer) {
    ctx.db().execute(
        QStringLiteral("insert into clientes (idCliente, nombre) values (7, 'Granja d''Ana')"));
    ctx.currentCustomer = 7;
    EXPECT_EQ(open(3)->windowTitle(), QStringLiteral("Fórmulas - Granja d'Ana"));
    ctx.currentCustomer = 8;
    EXPECT_EQ(open(3)->windowTitle(), QStringLiteral("Fórmulas"));
}

TEST_F(FormulationWindowTest, UnknownFormulaIsReported) {
    auto window = open(999);
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("No se pudo establecer la Fórmula"));
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(window->model().formulaId, 0);
    EXPECT_TRUE(box(*window, "txt_CodFormula").text().isEmpty());
}

// Every ingredient row as the run left it: quantities of the as-fed basis, bold in the mix,
// light grey out of it.
void expectMixPainted(const frmoptimizacion& window, const QTableWidget& prod, QChar sep) {
    const auto& rows = window.model().ingredients;
    int inMix = 0;
    for (int r = 0; r < prod.rowCount(); ++r) {
        const auto& row = rows[static_cast<size_t>(r)];
        EXPECT_EQ(cellText(prod, r, 1), row.nombre);
        const double q = text::roundDecimal(row.cantidad_humeda.value_or(0), 3);
        if (q == 0) {
            EXPECT_TRUE(cellText(prod, r, kCanH).isEmpty());
            EXPECT_EQ(prod.item(r, 1)->background().color(), kLightGrey);
            EXPECT_FALSE(prod.item(r, 1)->font().bold());
        } else {
            ++inMix;
            EXPECT_EQ(cellText(prod, r, kCanH),
                      text::formatNumber(*row.cantidad_humeda, QStringLiteral("0.000"), sep));
            EXPECT_EQ(cellText(prod, r, kPorH), text::formatNumber(*row.porcentaje_humeda * 100,
                                                                   QStringLiteral("0.00"), sep));
            EXPECT_TRUE(prod.item(r, 1)->font().bold());
            EXPECT_TRUE(prod.item(r, kCanH)->font().bold());
            EXPECT_FALSE(prod.item(r, kCanS)->font().bold());
            EXPECT_NE(prod.item(r, 1)->background().color(), kLightGrey);
        }
        EXPECT_EQ(prod.item(r, 5)->background().color(), kGrey);
        if (r > 0) {
            EXPECT_GE(rows[static_cast<size_t>(r - 1)].porcentaje_humeda.value_or(0),
                      row.porcentaje_humeda.value_or(0));
        }
    }
    EXPECT_GT(inMix, 1);
}

TEST_F(FormulationWindowTest, FormulatePaintsTheMixAndTheTotals) {
    auto window = open(3);
    desktop.clear();
    press(*window, "cmdFormular");
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join('|').toStdString();

    QTableWidget& prod = grid(*window, "flexProd");
    expectMixPainted(*window, prod, QLatin1Char('.'));

    QLineEdit& porH = box(*window, "txtPorH");
    EXPECT_EQ(porH.text(), QStringLiteral("100.00"));
    EXPECT_EQ(porH.palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(box(*window, "txtPorS").text(), QStringLiteral("100.00"));
    EXPECT_EQ(box(*window, "txtCanH").text(), QStringLiteral("1000.00"));
    EXPECT_EQ(box(*window, "txt_Cantidad").text(), box(*window, "txtCanH").text());
    EXPECT_TRUE(box(*window, "txtCosTot").text().startsWith(QStringLiteral("$ ")));
    EXPECT_TRUE(box(*window, "txtMatSeca").text().endsWith(QStringLiteral(" %")));
    EXPECT_EQ(box(*window, "txtCosH").text(),
              QStringLiteral("$ ") + text::formatNumber(window->model().vCostoHumeda,
                                                        QStringLiteral("#####0.00##"),
                                                        QLatin1Char('.')));

    // Each totals box sits under its column, its label over it.
    const std::pair<const char*, int> placed[] = {{"txtMatSeca", 7},  {"txtCanS", kCanS},
                                                  {"txtPorS", kPorS}, {"txtCanH", kCanH},
                                                  {"txtPorH", kPorH}, {"txtCosTot", kCosto}};
    for (const auto& [name, column] : placed) {
        const ColumnSpan span = columnSpan(prod, column);
        QLineEdit& total = box(*window, name);
        EXPECT_EQ(total.x(), span.left - 1) << name;
        EXPECT_EQ(total.width(), prod.columnWidth(column)) << name;
        auto* label = window->findChild<QLabel*>(QStringLiteral("lbl_") + QString::fromUtf8(name));
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->x(), total.x());
        EXPECT_GE(label->geometry().right(), total.geometry().right());
        EXPECT_LT(label->y(), total.y());
        EXPECT_GT(total.y(), prod.geometry().bottom());
    }

    // Nutrient values inside their limits are white, outside red.
    QTableWidget& prop = grid(*window, "flexProp");
    for (int r = 0; r < prop.rowCount(); ++r) {
        const auto& n = window->model().rsPropiedades[static_cast<size_t>(r)];
        const double v = text::roundDecimal(n.valor.value_or(0), 2);
        const bool out = (n.minimo && v < text::roundDecimal(*n.minimo, 2)) ||
                         (n.maximo && v > text::roundDecimal(*n.maximo, 2));
        EXPECT_EQ(prop.item(r, 6)->background().color() == kRed, out) << r;
        EXPECT_EQ(text(prop, r, 6),
                  text::formatNumber(v, QStringLiteral("#####0.00"), QLatin1Char('.')));
    }
}

TEST_F(FormulationWindowTest, CommaWorkstationShowsCommas) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = open(3);
    press(*window, "cmdFormular");
    EXPECT_EQ(box(*window, "txtPorH").text(), QStringLiteral("100,00"));
    EXPECT_EQ(box(*window, "txtCanH").text(), QStringLiteral("1000,00"));
    QTableWidget& prod = grid(*window, "flexProd");
    expectMixPainted(*window, prod, QLatin1Char(','));
    for (int r = 0; r < prod.rowCount(); ++r)
        for (int c : {2, 4, 6, 7, kCanS, kPorS, kCanH, kPorH, kCosto})
            EXPECT_FALSE(text(prod, r, c).contains(QLatin1Char('.'))) << r << "," << c;
    EXPECT_TRUE(text(prod, 0, 2).contains(QLatin1Char(',')));
}

TEST_F(FormulationWindowTest, QuantityChecksStopTheRun) {
    auto window = open(3);
    const QStringList before = snapshot(grid(*window, "flexProd"));
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case& c : {Case{"0", "La cantidad a elaborar debe ser mayor que cero"},
                          Case{"abc", "La cantidad a elaborar debe ser numérica"},
                          Case{"1000.01", "La cantidad a elaborar no puede ser mayor a 1000"}}) {
        desktop.clear();
        box(*window, "txt_Cantidad").setText(QString::fromUtf8(c.typed));
        press(*window, "cmdFormular");
        ASSERT_EQ(desktop.messages.size(), 1u) << c.typed;
        EXPECT_EQ(desktop.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(box(*window, "txt_Cantidad").text(), QString::fromUtf8(c.typed));
    }
    EXPECT_EQ(snapshot(grid(*window, "flexProd")), before);
}

// An ingredient without a price: the run names it and leaves the grids as they were.
TEST_F(FormulationWindowTest, MissingPriceStopsTheRun) {
    ctx.db().execute(QStringLiteral(
        "update formula_producto set costo=null where id_formula=3 and id_producto=25"));
    auto window = open(3);
    const QStringList before = snapshot(grid(*window, "flexProd"));
    press(*window, "cmdFormular");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("Debe ingresar un precio para el ingrediente <Sorgo granífero>"));
    EXPECT_EQ(snapshot(grid(*window, "flexProd")), before);
}

TEST_F(FormulationWindowTest, QuantityBoxTakesEitherSeparatorAndRefusesText) {
    useDecimalSeparator(QLatin1Char(','));
    auto window = open(3);
    QLineEdit& quantity = box(*window, "txt_Cantidad");
    quantity.clear();
    QTest::keyClicks(&quantity, QStringLiteral("12.5"));
    EXPECT_EQ(quantity.text(), QStringLiteral("12,5"));
    QTest::keyClick(&quantity, Qt::Key_Return);
    EXPECT_EQ(window->model().batchQuantity, 12.5);
    EXPECT_TRUE(desktop.messages.empty());

    quantity.clear();
    QTest::keyClicks(&quantity, QStringLiteral("x"));
    QTest::keyClick(&quantity, Qt::Key_Return);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, QStringLiteral("Debe ingresar un valor Numérico"));
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
}

TEST_F(FormulationWindowTest, CancelReloadsTheStoredFormula) {
    auto window = open(3);
    const QStringList loaded = snapshot(grid(*window, "flexProd"));
    box(*window, "txt_Cantidad").setText(QStringLiteral("500"));
    press(*window, "cmdFormular");
    ASSERT_NE(snapshot(grid(*window, "flexProd")), loaded);
    press(*window, "cmdCancel");
    EXPECT_EQ(snapshot(grid(*window, "flexProd")), loaded);
    EXPECT_EQ(box(*window, "txt_Cantidad").text(), QStringLiteral("1000.00"));
}

TEST_F(FormulationWindowTest, OptionsNeverPairWetNutrientsWithDryIngredients) {
    auto window = open(3); // as fed / as fed
    auto* matSeca = window->findChild<QRadioButton*>("Option1_0");
    auto* baseSeca = window->findChild<QRadioButton*>("Option2_0");
    auto* baseHumeda = window->findChild<QRadioButton*>("Option2_1");
    auto* tabs = window->findChild<QTabWidget*>("SSTab1");
    baseSeca->click();
    EXPECT_TRUE(baseSeca->isChecked());
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option1_1")->isChecked());
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Base Seca"));
    baseHumeda->click();
    matSeca->click();
    EXPECT_TRUE(window->model().vSecaIng);
    EXPECT_TRUE(window->model().vSecaNut);
    EXPECT_TRUE(baseSeca->isChecked());
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Base Seca"));
    baseHumeda->click();
    EXPECT_FALSE(window->model().vSecaIng);
    EXPECT_TRUE(window->findChild<QRadioButton*>("Option1_1")->isChecked());
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Base Húmeda"));
}

TEST_F(FormulationWindowTest, EveryOperationIsEnabled) {
    auto window = open(3);
    for (const char* name :
         {"cmdFormular", "cmdUpdate", "cmdCancel", "cmdComposicion", "Command1", "cmdImprimir",
          "cmdBuscaFormula", "cmdClose", "cmdActuMSeca", "cmdActuPrecios", "cmdRecalcular",
          "Command2", "Command3", "Command4", "Command5", "Command6", "cmdNutrientes"})
        EXPECT_TRUE(window->findChild<QPushButton*>(QString::fromUtf8(name))->isEnabled()) << name;
    for (const char* name :
         {"mnuImprimir", "mnuGuardarIng", "mnuRecalcular", "mnuAgregar", "mnnuQuitar", "mnuAgreg",
          "mnuQuitar", "mnuVerNut", "mnuMSeca", "mnuPrecios"})
        EXPECT_TRUE(window->findChild<QAction*>(QString::fromUtf8(name))->isEnabled()) << name;
    EXPECT_EQ(window->findChild<QPushButton*>("cmdFormular")->text(),
              QStringLiteral("&Formular Mínimo Costo"));
    // The menu entry runs the same operation as its button.
    desktop.clear();
    box(*window, "txt_Cantidad").setText(QStringLiteral("0"));
    window->findChild<QAction*>("mnuFormular")->trigger();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("La cantidad a elaborar debe ser mayor que cero"));
}

} // namespace
} // namespace tarvela::test

namespace tarvela::test {
namespace {

TEST_F(FormulationWindowTest, GrabarStoresTheMixAndReloads) {
    auto window = open(3);
    box(*window, "txt_Cantidad").setText(QStringLiteral("500"));
    press(*window, "cmdFormular");
    const QStringList solved = snapshot(grid(*window, "flexProd"));

    // A cancelled "Grabar Fórmula" dialog leaves the window as it was.
    press(*window, "cmdUpdate");
    EXPECT_EQ(launcher.opened.back(), QStringLiteral("frmnueva_formula"));
    EXPECT_EQ(snapshot(grid(*window, "flexProd")), solved);

    launcher.handlers.push_back([](QDialog& dialog) {
        auto* grabar = dialog.findChild<QPushButton*>(QStringLiteral("cmdUpdate"));
        ASSERT_NE(grabar, nullptr);
        grabar->click();
    });
    desktop.clear();
    press(*window, "cmdUpdate");
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join('|').toStdString();
    // Reloaded from the database: the same mix, and the stored values match the catalog's.
    EXPECT_EQ(snapshot(grid(*window, "flexProd")), solved);
    QTableWidget& prop = grid(*window, "flexProp");
    for (int r = 0; r < prop.rowCount(); ++r)
        EXPECT_EQ(prop.item(r, 1)->background().color(), QColor(255, 255, 255)) << r;
    EXPECT_EQ(box(*window, "txt_Cantidad").text(), QStringLiteral("500.00"));
}

} // namespace
} // namespace tarvela::test
