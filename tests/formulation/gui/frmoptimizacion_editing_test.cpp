// Working on a demo formula in the formulation window: the boxes over the cells, adding and
// removing rows, and the whole road from a tightened limit to a premix in the catalog.
#include "support/gui/formulation_window_fixture.h"

#include "formulation/gui/cell_overlay.h"
#include "text/format.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace tarvela::test {
namespace {

constexpr int kPropMinimo = 3, kPropMaximo = 4, kProdMaximo = 7, kPrecio = 4, kCanH = 12;

class EditingWindow : public FormulationWindowTest {
protected:
    std::unique_ptr<frmoptimizacion> openActive(qint16 formulaId) {
        auto window = open(formulaId);
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    static int rowOf(const QTableWidget& table, int key) {
        for (int r = 0; r < table.rowCount(); ++r)
            if (table.item(r, 0)->text().toInt() == key)
                return r;
        return -1;
    }

    // Double-clicks a cell and types into the box that opens over it, ending with a key.
    static CellOverlay* typeOver(frmoptimizacion& window, const char* gridName, int row, int column,
                                 const QString& typed, Qt::Key end) {
        QTableWidget& table = grid(window, gridName);
        if (QString::fromUtf8(gridName) == QStringLiteral("flexProd"))
            window.ingredientCellActivated(row, column);
        else
            window.nutrientCellActivated(row, column);
        auto* overlay = qobject_cast<CellOverlay*>(QApplication::focusWidget());
        EXPECT_NE(overlay, nullptr);
        if (!overlay)
            return nullptr;
        EXPECT_EQ(overlay->parentWidget(), &table);
        QTest::keyClicks(overlay, typed); // replaces the selected text
        if (end != Qt::Key_unknown)
            QTest::keyClick(overlay, end);
        return overlay;
    }

    static std::function<void(QDialog&)> pickIngredientNamed(const QString& name) {
        return [name](QDialog& list) {
            auto* g = list.findChild<QTableWidget*>("flexgrid1");
            for (int r = 0; r < g->rowCount(); ++r)
                if (g->item(r, 2)->text() == name)
                    g->setCurrentCell(r, 2);
            list.findChild<QPushButton*>("cmdSeleccionar")->click();
        };
    }
};

TEST_F(EditingWindow, BoxesOverCellsCommitOnEnterOrLeavingAndDiscardOnEsc) {
    auto window = openActive(6);
    QTableWidget& prod = grid(*window, "flexProd");
    auto& model = window->model();
    const int row = rowOf(prod, 45);
    const auto maximo = model.findIngredient(45)->maximo;

    typeOver(*window, "flexProd", row, kProdMaximo, "7", Qt::Key_Escape);
    EXPECT_EQ(model.findIngredient(45)->maximo, maximo);
    EXPECT_EQ(QApplication::focusWidget(), &prod);

    // Refused: the message, and the box keeps the text and the focus.
    CellOverlay* box = typeOver(*window, "flexProd", row, kProdMaximo, "-1", Qt::Key_Return);
    EXPECT_EQ(desktop.texts(), QStringList({"El valor debe ser mayor que cero"}));
    EXPECT_TRUE(box->isVisible());
    // "," typed on a "." workstation enters ".".
    box->clear();
    QTest::keyClicks(box, "600,5");
    EXPECT_EQ(box->text(), QStringLiteral("600.5"));
    // Leaving the box for another control commits.
    window->findChild<QLineEdit*>("txt_Cantidad")->setFocus();
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(model.findIngredient(45)->maximo, 600.5);
    EXPECT_EQ(text(prod, rowOf(prod, 45), kProdMaximo), QStringLiteral("600.500"));

    // An emptied limit is none.
    typeOver(*window, "flexProd", rowOf(prod, 45), kProdMaximo, "", Qt::Key_unknown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(model.findIngredient(45)->maximo.has_value());
    EXPECT_EQ(text(prod, rowOf(prod, 45), kProdMaximo), QString());

    // Price and quantity recompute the totals.
    desktop.clear();
    typeOver(*window, "flexProd", rowOf(prod, 45), kPrecio, "1", Qt::Key_Return);
    EXPECT_EQ(model.findIngredient(45)->costo_humeda, 1.0);
    EXPECT_EQ(text(prod, rowOf(prod, 45), kPrecio), QStringLiteral("$ 1.00"));
    typeOver(*window, "flexProd", rowOf(prod, 45), kCanH, "0", Qt::Key_Return);
    EXPECT_EQ(model.findIngredient(45)->cantidad_seca, 0.0);
    EXPECT_TRUE(desktop.messages.empty());

    // "Cancelar" brings the stored formula back.
    press(*window, "cmdCancel");
    EXPECT_EQ(model.findIngredient(45)->maximo, maximo);
    EXPECT_NE(model.findIngredient(45)->cantidad_seca, 0.0);
}

// Esc closes an edit box; a second Esc, the close button or "Salir" on unsaved work asks first.
TEST_F(EditingWindow, UnsavedWorkIsNeverLostToAKeyOrTheCloseButton) {
    {
        auto clean = openActive(6);
        press(*clean, "cmdClose");
        EXPECT_FALSE(clean->isVisible());
    }
    EXPECT_TRUE(desktop.messages.empty());
    const auto storedPrice = [this] {
        return ctx.db()
            .query("select costo from formula_producto where id_formula=6 and id_producto=45")
            .value(0, 0)
            .toDouble();
    };

    auto window = openActive(6);
    QTableWidget& prod = grid(*window, "flexProd");
    typeOver(*window, "flexProd", rowOf(prod, 45), kPrecio, "1", Qt::Key_Return);
    EXPECT_TRUE(window->hasUnsavedChanges());
    typeOver(*window, "flexProd", rowOf(prod, 45), kProdMaximo, "7", Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    desktop.choices = {Answer::Cancel};
    QTest::keyClick(&prod, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.texts(), QStringList({"¿Desea Grabar las Modificaciones?"}));

    // Sí saves as "Grabar" does, then the window closes.
    launcher.handlers.push_back(
        [](QDialog& dialog) { dialog.findChild<QPushButton*>("cmdUpdate")->click(); });
    desktop.choices = {Answer::Yes};
    press(*window, "cmdClose");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(launcher.opened, QStringList({"frmnueva_formula"}));
    EXPECT_EQ(storedPrice(), 1.0);

    // No discards.
    auto again = openActive(6);
    typeOver(*again, "flexProd", rowOf(grid(*again, "flexProd"), 45), kPrecio, "2", Qt::Key_Return);
    desktop.choices = {Answer::No};
    again->findChild<QAction*>("mnuSalir")->trigger();
    EXPECT_FALSE(again->isVisible());
    EXPECT_EQ(storedPrice(), 1.0);
}

// A box opens with the stored value in full (a limit "Aplicar" left with 4 decimals shows 0.68
// in the grid); left unchanged it changes nothing. The full-precision views show the start of
// the number, in a box wide enough for it.
TEST_F(EditingWindow, BoxesOpenWithTheStoredValueAndViewsShowItWhole) {
    auto window = openActive(6);
    QTableWidget& prop = grid(*window, "flexProp");
    const int nutrient = prop.item(0, 0)->text().toInt();
    window->model().findNutrient(nutrient)->maximo = 0.6805;
    window->repaintNutrients();
    EXPECT_EQ(text(prop, 0, kPropMaximo), QStringLiteral("0.68"));
    CellOverlay* box = typeOver(*window, "flexProp", 0, kPropMaximo, "", Qt::Key_unknown);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("0.6805"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(window->model().findNutrient(nutrient)->maximo, 0.6805);

    // A limit beyond what a run accepts is refused where it is typed.
    box = typeOver(*window, "flexProp", 0, kPropMinimo, "2000000", Qt::Key_Return);
    EXPECT_EQ(desktop.texts(), QStringList({"El valor debe estar entre -1000000 y 1000000"}));
    QTest::keyClick(box, Qt::Key_Escape);

    QTableWidget& prod = grid(*window, "flexProd");
    window->ingredientCellClicked(rowOf(prod, 45), 13);
    auto* view = window->findChild<CellOverlay*>("Text8");
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->cursorPosition(), 0);
    EXPECT_GT(view->width(), view->fontMetrics().horizontalAdvance(view->text()));
}

TEST_F(EditingWindow, AddingAndRemovingRowsThroughThePickers) {
    ctx.currentBase = 3;
    auto window = openActive(6);
    QTableWidget& prod = grid(*window, "flexProd");
    QTableWidget& prop = grid(*window, "flexProp");
    const size_t ingredients = window->model().ingredients.size();

    prod.setCurrentCell(-1, -1);
    press(*window, "Command2"); // no current row: nothing
    EXPECT_EQ(window->model().ingredients.size(), ingredients);

    launcher.handlers.push_back(pickIngredientNamed("Sebo vacuno"));
    press(*window, "Command3");
    ASSERT_NE(window->model().findIngredient(56), nullptr);
    EXPECT_EQ(prod.currentRow(), rowOf(prod, 56));
    EXPECT_EQ(prod.currentColumn(), kPrecio);
    launcher.handlers.push_back(pickIngredientNamed("Sebo vacuno"));
    press(*window, "Command3");
    EXPECT_EQ(desktop.texts(),
              QStringList({"El Ingrediente Ya se encuentra Asginado a la Fórmula"}));

    prod.setCurrentCell(rowOf(prod, 56), 1);
    press(*window, "Command2");
    EXPECT_EQ(window->model().findIngredient(56), nullptr);

    const size_t nutrients = window->model().rsPropiedades.size();
    prop.setCurrentCell(0, 1);
    press(*window, "Command5");
    EXPECT_EQ(window->model().rsPropiedades.size(), nutrients - 1);
    EXPECT_EQ(launcher.opened, QStringList({"frmproductos", "frmproductos"}));
}

TEST_F(EditingWindow, TheIngredientsCatalogWindowsAndFullPrecisionViews) {
    auto window = openActive(6);
    QTableWidget& prod = grid(*window, "flexProd");
    constexpr int kMatSeca = 2, kPorH = 13;
    const int row = rowOf(prod, 45);

    // The name opens the ingredient; a price changed there marks the formula's price.
    QString caption;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("frmproducto"));
        dialog.findChild<QLineEdit*>("Text3")->setText("9.5");
        dialog.findChild<QLineEdit*>("Text4")->setText("50");
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
    });
    window->ingredientCellActivated(row, 1);
    const auto& maiz = *window->model().findIngredient(45);
    EXPECT_EQ(maiz.costoHumedaActual, 9.5);
    EXPECT_NE(maiz.costo_humeda, 9.5);
    EXPECT_EQ(background(prod, rowOf(prod, 45), kPrecio), QColor(0, 192, 0));
    EXPECT_EQ(background(prod, rowOf(prod, 45), kMatSeca), QColor(255, 0, 0));

    launcher.handlers.push_back([&](QDialog& dialog) { caption = dialog.windowTitle(); });
    prod.setCurrentCell(rowOf(prod, 45), 1);
    press(*window, "cmdNutrientes");
    EXPECT_EQ(launcher.opened.back(), QStringLiteral("frmproducto_propiedades"));
    EXPECT_EQ(caption, prod.item(rowOf(prod, 45), 1)->text().trimmed());

    // A share in full precision over its cell; a click on it hides it.
    window->ingredientCellClicked(rowOf(prod, 45), kPorH);
    auto* view = window->findChild<CellOverlay*>("Text8");
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->text(), text::formatNumber(*maiz.porcentaje_humeda * 100,
                                               QStringLiteral("0.00########"), '.'));
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_FALSE(view->isVisible());
}

// The road of a working session: a tighter nutrient, one more ingredient, a run, another batch,
// today's prices, a new version, and the mix kept as an ingredient.
TEST_F(EditingWindow, FromATighterLimitToAPremixInTheCatalog) {
    ctx.currentBase = 3;
    auto window = openActive(6);
    QTableWidget& prop = grid(*window, "flexProp");
    auto& model = window->model();

    typeOver(*window, "flexProp", rowOf(prop, 1), kPropMinimo, "15.5", Qt::Key_Return);
    EXPECT_EQ(model.findNutrient(1)->minimo, 15.5);
    EXPECT_EQ(text(prop, rowOf(prop, 1), kPropMinimo), QStringLiteral("15.50"));

    launcher.handlers.push_back(pickIngredientNamed("Harina de soja 48% (descascarada)"));
    press(*window, "Command3");
    ASSERT_NE(model.findIngredient(49), nullptr);

    press(*window, "cmdFormular");
    EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join('|').toStdString();
    EXPECT_GE(*model.findNutrient(1)->valor, 15.5 - 1e-9);

    launcher.handlers.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("txt_cantidad")->setText("500");
        dialog.findChild<QPushButton*>("command4")->click();
    });
    press(*window, "cmdRecalcular");
    desktop.answers = {true};
    press(*window, "cmdActuPrecios");

    const int previous = model.formulaId;
    launcher.handlers.push_back([](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("Check1")->setChecked(true);
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
    });
    press(*window, "cmdUpdate");
    const int saved = model.formulaId;
    EXPECT_NE(saved, previous);
    auto scalar = [&](const QString& sql) { return ctx.db().query(sql).value(0, 0); };
    EXPECT_EQ(scalar(QStringLiteral("select cantidad from formulas where id_formula=%1").arg(saved))
                  .toDouble(),
              500);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from formula_producto where id_formula=%1 "
                                    "and id_producto=49")
                         .arg(saved))
                  .toInt(),
              1);
    EXPECT_EQ(scalar(QStringLiteral("select minimo from formula_propiedad where id_formula=%1 "
                                    "and id_propiedad=1")
                         .arg(saved))
                  .toDouble(),
              15.5);

    launcher.handlers.push_back([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("Text1")->setText("PRE-6");
        dialog.findChild<QLineEdit*>("Text2")->setText("Premezcla ponedoras");
        dialog.findChild<QComboBox*>("Combo1")->setCurrentText("Kg");
        dialog.findChild<QPushButton*>("cmdUpdate")->click();
    });
    press(*window, "Command6");
    EXPECT_TRUE(desktop.messages.empty() ||
                std::all_of(desktop.messages.begin(), desktop.messages.end(),
                            [](const RecordedMessage& m) { return m.isQuestion; }))
        << desktop.texts().join('|').toStdString();
    const int premix =
        scalar("select id_producto from productos where trim(codigo)='PRE-6' and idBase=3").toInt();
    ASSERT_GT(premix, 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from producto_propiedad where id_producto=%1")
                         .arg(premix))
                  .toInt(),
              static_cast<int>(model.rsPropiedades.size()));
}

} // namespace
} // namespace tarvela::test
