#include "formulas/gui/frmformulas.h"
#include "formulation/gui/frmoptimizacion.h"

#include "support/gui/app_fixture.h"
#include "support/gui/cut_captions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

class FormulaList : public test::AppFixture {
protected:
    int count(const QString& sql) {
        const db::Result result = ctx.db().query(sql);
        return result.isEmpty() ? 0 : result.value(0, 0).toInt();
    }

    template <typename T = QWidget> static T* child(QWidget& window, const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    static void open(QWidget& window) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    static QTableWidget* grid(QWidget& window) { return child<QTableWidget>(window, "flexgrid1"); }

    // "code/version" of every line.
    static QStringList lines(QWidget& window) {
        QStringList list;
        QTableWidget* g = grid(window);
        for (int r = 0; r < g->rowCount(); ++r)
            list << g->item(r, 1)->text() + "/" + g->item(r, 4)->text();
        list.sort();
        return list;
    }

    static void selectFormula(QWidget& window, int id) {
        QTableWidget* g = grid(window);
        for (int r = 0; r < g->rowCount(); ++r) {
            if (g->item(r, 0)->text() == QString::number(id)) {
                g->setCurrentCell(r, 1);
                return;
            }
        }
        ADD_FAILURE() << "formula " << id << " not listed";
    }
};

TEST_F(FormulaList, OpensWithTheFormulasOfTheCurrentBase) {
    ctx.currentBase = 2;
    frmformulas window(ctx, opener());
    open(window);
    EXPECT_EQ(window.windowTitle(), "Fórmulas");
    EXPECT_EQ(lines(window), QStringList({"2001/1", "2002/1"}));
    QTableWidget* g = grid(window);
    EXPECT_EQ(g->columnCount(), 8);
    EXPECT_EQ(g->horizontalHeaderItem(1)->text(), "Código");
    EXPECT_EQ(g->horizontalHeaderItem(2)->text(), "Producto");
    EXPECT_EQ(g->horizontalHeaderItem(4)->text(), "Versión");
    EXPECT_EQ(g->horizontalHeaderItem(6)->text(), "Modificada");
    EXPECT_EQ(g->horizontalHeaderItem(7)->text(), "Cliente");
    for (int hidden : {0, 3, 5})
        EXPECT_TRUE(g->isColumnHidden(hidden));
    EXPECT_EQ(g->columnWidth(1), 1000 / 15);
    EXPECT_EQ(g->columnWidth(7), 3000 / 15);
    EXPECT_EQ(g->horizontalHeaderItem(1)->background().color(), QColor(128, 128, 128));
    EXPECT_EQ(g->horizontalHeaderItem(1)->foreground().color(), QColor(Qt::white));
    EXPECT_TRUE(g->item(0, 1)->textAlignment() & Qt::AlignRight);
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_TRUE(child<QLabel>(window, "txtnohubo")->isHidden());
    EXPECT_FALSE(child<QLabel>(window, "imgTipoFormulacion")->pixmap().isNull());
    EXPECT_TRUE(child<QPushButton>(window, "cmdPrint")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(window, "cmdComparar")->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(window, "Text3"));
    EXPECT_EQ(test::cutCaptions(window), "");
}

TEST_F(FormulaList, FiltersSearchOnEnterAndReportNoMatches) {
    frmformulas window(ctx, opener());
    open(window);
    auto* product = child<QLineEdit>(window, "Text3");
    product->setText("vaca");
    QTest::keyClick(product, Qt::Key_Return);
    EXPECT_EQ(lines(window), QStringList({"1001/1"}));

    product->setText("inexistente");
    child<QPushButton>(window, "Command1")->click();
    EXPECT_EQ(grid(window)->rowCount(), 0);
    EXPECT_FALSE(child<QLabel>(window, "txtnohubo")->isHidden());

    child<QPushButton>(window, "Command2")->click();
    EXPECT_TRUE(product->text().isEmpty());
    EXPECT_EQ(grid(window)->rowCount(), 0);
    EXPECT_TRUE(child<QLabel>(window, "txtnohubo")->isHidden());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(FormulaList, InvalidDateIsRefusedWithTheFocusOnItsBox) {
    frmformulas window(ctx, opener());
    open(window);
    auto* modifiedTo = child<QLineEdit>(window, "Text13");
    modifiedTo->setText("32/01/2026");
    child<QPushButton>(window, "Command1")->click();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "La fecha no es Válida");
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), modifiedTo);
    EXPECT_EQ(lines(window).size(), 2); // the list as it was
}

TEST_F(FormulaList, DateBoxKeepsTheFocusUntilItHoldsADate) {
    useDecimalSeparator(','); // a day-first workstation
    frmformulas window(ctx, opener());
    open(window);
    auto* createdFrom = child<QLineEdit>(window, "Text4");
    createdFrom->setFocus();
    QTest::keyClicks(createdFrom, "1/13/2026");
    child<QLineEdit>(window, "Text1")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desktop.texts(), QStringList({"La fecha no es Válida"}));
    EXPECT_EQ(QApplication::focusWidget(), createdFrom);

    createdFrom->setText("13/1/2026");
    child<QLineEdit>(window, "Text1")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(window, "Text1"));
}

TEST_F(FormulaList, CustomerComboFiltersAndIsRemembered) {
    ctx.db().execute("insert into clientes (idCliente,nombre) values (3,'Beta'),(4,'Alfa')");
    ctx.db().execute("update formulas set idCliente=4 where id_formula=2");
    frmformulas window(ctx, opener());
    open(window);
    auto* combo = child<QComboBox>(window, "DataCombo2");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "Alfa");
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_EQ(ctx.currentCustomer, 4);
    EXPECT_EQ(lines(window), QStringList({"1002/1"}));
    EXPECT_EQ(grid(window)->item(0, 7)->text(), "Alfa");
    EXPECT_EQ(count("select idcliente from parametros"), 4);

    combo->setEditText(QString());
    child<QPushButton>(window, "Command1")->click();
    EXPECT_EQ(lines(window).size(), 2);
    EXPECT_EQ(count("select idcliente from parametros"), 0);
    // The cleared filter holds everywhere: no customer in the formulation window's caption,
    // and the list opened again (as after a base switch) is not filtered.
    EXPECT_EQ(ctx.currentCustomer, 0);
    QString caption;
    launcher.handlers.push_back([&](QDialog& formulation) { caption = formulation.windowTitle(); });
    child<QPushButton>(window, "cmdAdd")->click();
    EXPECT_EQ(caption, "Fórmulas");
    frmformulas again(ctx, opener());
    open(again);
    EXPECT_EQ(child<QComboBox>(again, "DataCombo2")->currentText(), QString());
    EXPECT_EQ(lines(again).size(), 2);
    EXPECT_FALSE(child<QLabel>(again, "txtnohubo")->isVisible());
}

// The "..." pickers: the nutrient and ingredient lists in pick mode.
TEST_F(FormulaList, PickersNarrowByNutrientAndIngredient) {
    frmformulas window(ctx, opener());
    open(window);
    const auto pick = [](const QString& name, int column) {
        return [name, column](QDialog& list) {
            EXPECT_FALSE(list.findChild<QWidget*>("cmdSeleccionar")->isHidden());
            auto* g = list.findChild<QTableWidget*>("flexgrid1");
            for (int r = 0; r < g->rowCount(); ++r)
                if (g->item(r, column)->text() == name)
                    g->setCurrentCell(r, column);
            list.findChild<QPushButton*>("cmdSeleccionar")->click();
        };
    };
    launcher.handlers.push_back(pick("Urea granulada", 2));
    child<QPushButton>(window, "command5")->click();
    EXPECT_EQ(child<QLineEdit>(window, "Text11")->text(), "Urea granulada");
    child<QPushButton>(window, "Command1")->click();
    const QStringList withUrea = lines(window);
    EXPECT_EQ(withUrea.size(), count("select count(*) from formula_producto where id_producto=18"));

    launcher.handlers.push_back(pick("Energía Neta Lactancia", 1));
    child<QPushButton>(window, "command9")->click();
    EXPECT_EQ(child<QLineEdit>(window, "Text6")->text(), "Energía Neta Lactancia");
    child<QPushButton>(window, "Command1")->click();
    EXPECT_EQ(lines(window), QStringList({"1001/1"}));

    // Closed without choosing: the filter is cleared.
    launcher.handlers.push_back([](QDialog&) {});
    child<QPushButton>(window, "command9")->click();
    EXPECT_TRUE(child<QLineEdit>(window, "Text6")->text().isEmpty());
    child<QPushButton>(window, "Command1")->click();
    EXPECT_EQ(lines(window), withUrea);
    EXPECT_EQ(launcher.opened, QStringList({"frmproductos", "frmpropiedades", "frmpropiedades"}));
}

TEST_F(FormulaList, EliminarRemovesOnlyTheSelectedVersion) {
    ctx.db().execute(
        "insert into formulas (id_formula,codigo,producto,cantidad,version,idBase) "
        "select 20,codigo,producto,cantidad,2,idBase from formulas where id_formula=1");
    frmformulas window(ctx, opener());
    open(window);
    selectFormula(window, 20);
    desktop.answers = {false};
    child<QPushButton>(window, "cmdDelete")->click();
    EXPECT_EQ(desktop.messages.back().text, "Desea eliminar la Fórmula 1001 ?");
    EXPECT_EQ(lines(window), QStringList({"1001/1", "1001/2", "1002/1"}));

    selectFormula(window, 1);
    desktop.answers = {true};
    child<QPushButton>(window, "cmdDelete")->click();
    EXPECT_EQ(lines(window), QStringList({"1001/2", "1002/1"}));
    EXPECT_EQ(count("select count(*) from formula_producto where id_formula=1"), 0);
    EXPECT_EQ(count("select count(*) from formula_propiedad where id_formula=1"), 0);
}

TEST_F(FormulaList, NuevoOpensAnEmptyFormulationWindowAndEnterTheSelectedFormula) {
    frmformulas window(ctx, opener());
    open(window);
    int seen = -1;
    const auto formulaShown = [&](QDialog& formulation) {
        seen = static_cast<frmoptimizacion&>(formulation).model().formulaId;
    };
    launcher.handlers.push_back(formulaShown);
    child<QPushButton>(window, "cmdAdd")->click();
    EXPECT_EQ(launcher.opened, QStringList({"frmoptimizacion"}));
    EXPECT_EQ(seen, 0);

    selectFormula(window, 2);
    launcher.handlers.push_back(formulaShown);
    QTest::keyClick(grid(window), Qt::Key_Return);
    EXPECT_EQ(seen, 2);

    child<QPushButton>(window, "cmdClose")->click();
    EXPECT_FALSE(window.isVisible());
}

// The road of a formula: list, Editar, formulate, Grabar as a new version, back to the list.
TEST_F(FormulaList, EditFormulateAndSaveANewVersion) {
    frmformulas window(ctx, opener());
    open(window);
    selectFormula(window, 1);

    bool saved = false;
    launcher.handlers.push_back([&](QDialog& formulation) {
        EXPECT_EQ(static_cast<frmoptimizacion&>(formulation).model().formulaId, 1);
        child<QPushButton>(formulation, "cmdFormular")->click();
        child<QPushButton>(formulation, "cmdUpdate")->click();
        saved = true;
    });
    launcher.handlers.push_back([&](QDialog& dialog) {
        auto* check = child<QCheckBox>(dialog, "Check1");
        EXPECT_EQ(check->text(), "Guardar una nueva Versión de la Fórmula");
        check->click();
        EXPECT_EQ(child<QLineEdit>(dialog, "txtFields2")->text(), "2");
        child<QPushButton>(dialog, "cmdUpdate")->click();
    });
    child<QPushButton>(window, "cmdEditar")->click();
    ASSERT_TRUE(saved);
    EXPECT_EQ(launcher.opened, QStringList({"frmoptimizacion", "frmnueva_formula"}));
    EXPECT_EQ(lines(window), QStringList({"1001/1", "1001/2", "1002/1"}));

    // The new version holds every detail row; the old one is untouched.
    EXPECT_EQ(count("select count(*) from formula_producto where id_formula=8"),
              count("select count(*) from formula_producto where id_formula=1"));
    EXPECT_EQ(count("select count(*) from formula_propiedad where id_formula=8"),
              count("select count(*) from formula_propiedad where id_formula=1"));
    EXPECT_GT(count("select count(*) from formula_propiedad where id_formula=8"), 0);
}

} // namespace
} // namespace tarvela
