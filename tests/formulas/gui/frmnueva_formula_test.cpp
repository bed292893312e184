#include "formulas/gui/frmnueva_formula.h"
#include "formulation/gui/save_formula.h"
#include "formulation/loading.h"

#include "support/gui/app_fixture.h"
#include "support/gui/cut_captions.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

class GrabarFormula : public test::AppFixture {
protected:
    QVariant scalar(const QString& sql) {
        const db::Result result = ctx.db().query(sql);
        return result.isEmpty() ? QVariant() : result.value(0, 0);
    }
    int count(const QString& sql) { return scalar(sql).toInt(); }

    static QLineEdit* box(QDialog& dialog, const char* name) {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void press(QDialog& dialog, const char* name) {
        dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    // The header the dialog confirmed, written as the save writes it.
    int write(const frmnueva_formula& dialog) {
        EXPECT_TRUE(dialog.header().has_value());
        if (!dialog.header())
            return 0;
        const formulas::HeaderWritten written = formulas::writeHeader(ctx.db(), *dialog.header());
        EXPECT_EQ(written.outcome, formulas::HeaderWriteOutcome::Written);
        return written.formulaId;
    }

    formulation::WorkingModel loaded(int formulaId) {
        formulation::WorkingModel model;
        model.formulaId = formulaId;
        formulation::actuFormula(model, ctx.db(), desktop, QLatin1Char('.'));
        return model;
    }
};

TEST_F(GrabarFormula, NewFormulaShowsTheHintsAndSavesVersionZero) {
    ctx.db().execute("insert into clientes (idCliente,nombre) values (2,'Tambo La Paz')");
    ctx.currentCustomer = 2;
    int result = -1;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Grabar Fórmula");
        EXPECT_EQ(box(dialog, "Text1")->text(), QString(16, ' ') + "1002");
        EXPECT_EQ(box(dialog, "txtNomCliente")->text(), "Tambo La Paz");
        EXPECT_EQ(box(dialog, "txtFields2")->text(), "0");
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("Check1")->isEnabled());
        EXPECT_EQ(test::cutCaptions(dialog), "");
        box(dialog, "txtFields0")->setText("1003");
        box(dialog, "txtFields1")->setText("Recría");
        press(dialog, "cmdUpdate");
        result = dialog.result();
    });
    frmnueva_formula dialog(ctx, 0, 850, true, true);
    launcher.exec(dialog);
    EXPECT_EQ(result, QDialog::Accepted);
    // The dialog writes nothing itself: its header is written by the save.
    EXPECT_EQ(count("select count(*) from formulas"), 7);
    EXPECT_EQ(write(dialog), 8);
    EXPECT_EQ(scalar("select producto from formulas where id_formula=8").toString(), "Recría");
    EXPECT_EQ(count("select idCliente from formulas where id_formula=8"), 2);
    EXPECT_EQ(scalar("select cantidad from formulas where id_formula=8").toDouble(), 850.0);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(GrabarFormula, ExistingFormulaOffersTheNextVersion) {
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(box(dialog, "txtFields0")->text().trimmed(), "1001");
        EXPECT_EQ(box(dialog, "txtFields1")->text(), "RTM vaca lechera 30 L/día");
        EXPECT_TRUE(box(dialog, "Text1")->text().isEmpty());
        EXPECT_EQ(box(dialog, "txtFields2")->text(), "1");
        auto* check = dialog.findChild<QCheckBox*>("Check1");
        EXPECT_TRUE(check->isEnabled());
        check->click();
        EXPECT_EQ(box(dialog, "txtFields2")->text(), "2");
        check->click();
        EXPECT_EQ(box(dialog, "txtFields2")->text(), "1");
        EXPECT_EQ(QApplication::focusWidget(), box(dialog, "txtFields1"));
    });
    frmnueva_formula dialog(ctx, 1, 1000, true, true);
    launcher.exec(dialog);
    // Closed without either button: nothing to write.
    EXPECT_FALSE(dialog.header().has_value());
}

// "..." opens the customer list in pick mode; the customer chosen, or none, is the formula's.
TEST_F(GrabarFormula, CustomerPickerChoosesTheFormulasCustomer) {
    ctx.db().execute("insert into clientes (idCliente,nombre) values (2,'Tambo'),(3,'Feedlot')");
    ctx.currentCustomer = 2;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(box(dialog, "txtNomCliente")->text(), "Tambo");
        launcher.handlers.push_back([&](QDialog& list) {
            EXPECT_EQ(list.objectName(), "frmClientes");
            EXPECT_FALSE(list.findChild<QPushButton*>("cmdSeleccionar")->isHidden());
            // Closed without choosing: no customer.
        });
        press(dialog, "command5");
        EXPECT_TRUE(box(dialog, "txtNomCliente")->text().isEmpty());
        EXPECT_EQ(ctx.currentCustomer, 0);
        launcher.handlers.push_back([&](QDialog& list) {
            auto* grid = list.findChild<QTableWidget*>("flexgrid1");
            grid->setCurrentCell(0, 1); // Feedlot, first by name
            press(list, "cmdSeleccionar");
        });
        press(dialog, "command5");
        EXPECT_EQ(box(dialog, "txtNomCliente")->text(), "Feedlot");
        box(dialog, "txtFields0")->setText("1003");
        box(dialog, "txtFields1")->setText("Recría");
        press(dialog, "cmdUpdate");
    });
    frmnueva_formula dialog(ctx, 0, 1000, true, true);
    launcher.exec(dialog);
    EXPECT_EQ(ctx.currentCustomer, 3);
    EXPECT_EQ(write(dialog), 8);
    EXPECT_EQ(count("select idCliente from formulas where id_formula=8"), 3);
}

TEST_F(GrabarFormula, CancelarLeavesNothingToWrite) {
    launcher.handlers.push_back([&](QDialog& dialog) {
        box(dialog, "txtFields1")->setText("Otro nombre");
        press(dialog, "cmdRefresh");
    });
    frmnueva_formula dialog(ctx, 2, 1000, true, true);
    EXPECT_EQ(launcher.exec(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.header().has_value());
    EXPECT_EQ(scalar("select producto from formulas where id_formula=2").toString(),
              "Terminación feedlot novillos");
}

TEST_F(GrabarFormula, RefusedChecksKeepTheDialogOpenWithTheFocusOnTheBox) {
    launcher.handlers.push_back([&](QDialog& dialog) {
        box(dialog, "txtFields1")->setText("Algo");
        press(dialog, "cmdUpdate");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), box(dialog, "txtFields0"));
        box(dialog, "txtFields0")->setText(" 1002 ");
        press(dialog, "cmdUpdate");
        EXPECT_TRUE(dialog.isVisible());
        box(dialog, "txtFields1")->clear();
        box(dialog, "txtFields0")->setText("9");
        press(dialog, "cmdUpdate");
        EXPECT_EQ(QApplication::focusWidget(), box(dialog, "txtFields1"));
        EXPECT_TRUE(dialog.isVisible());
    });
    frmnueva_formula dialog(ctx, 0, 1000, true, true);
    launcher.exec(dialog);
    EXPECT_EQ(desktop.texts(), QStringList({"Debe ingresar el Código de la Fórmula",
                                            "El Código \"1002\" de la Fórmula Ya fue Ingresado",
                                            "Debe ingresar el Producto para la Fórmula"}));
    EXPECT_EQ(count("select count(*) from formulas"), 7);
}

TEST_F(GrabarFormula, FormulaThatCannotBeLoadedClosesAtOnce) {
    bool handled = false;
    launcher.handlers.push_back([&](QDialog&) { handled = true; });
    frmnueva_formula dialog(ctx, 44, 1000, true, true);
    EXPECT_EQ(launcher.exec(dialog), QDialog::Rejected);
    EXPECT_FALSE(handled);
    EXPECT_FALSE(dialog.header().has_value());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "No es posible grabar la fórmula");
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
}

TEST_F(GrabarFormula, RefusedStatementIsReportedAndNothingIsKept) {
    formulation::WorkingModel model = loaded(1);
    database.failOn("UPDATE", "formulas");
    launcher.handlers.push_back([&](QDialog& dialog) {
        box(dialog, "txtFields0")->setText("1005");
        press(dialog, "cmdUpdate");
    });
    EXPECT_FALSE(saveFormula(ctx, model, nullptr));
    EXPECT_EQ(launcher.opened, QStringList({"frmnueva_formula", "errores"}));
    EXPECT_EQ(model.formulaId, 1);
    EXPECT_EQ(count("select count(*) from formulas where trim(codigo)='1001'"), 1);
}

// No transaction is open while the dialog waits: another workstation writes meanwhile, and the
// save then writes header and details together.
TEST_F(GrabarFormula, OtherWorkstationsWriteWhileTheDialogWaits) {
    formulation::WorkingModel model = loaded(2);
    auto other = db::Connection::open(
        database.path(), db::Connection::passwordOf(db::Connection::defaultConnectionString()));
    other->setBusyTimeout(200);
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_NO_THROW(
            other->execute("insert into clientes (idCliente,nombre) values (9,'Otra estación')"));
        dialog.findChild<QCheckBox*>("Check1")->click();
        press(dialog, "cmdUpdate");
    });
    EXPECT_TRUE(saveFormula(ctx, model, nullptr));
    EXPECT_EQ(model.formulaId, 8);
    EXPECT_EQ(count("select count(*) from clientes where idCliente=9"), 1);
    EXPECT_EQ(count("select count(*) from formula_producto where id_formula=8"),
              count("select count(*) from formula_producto where id_formula=2"));
}

// A code another workstation took after the dialog checked it: nothing is written, and the
// refusal is told with the file free again.
TEST_F(GrabarFormula, ACodeTakenMeanwhileIsRefusedAtTheWrite) {
    auto other = db::Connection::open(
        database.path(), db::Connection::passwordOf(db::Connection::defaultConnectionString()));
    other->setBusyTimeout(200);
    desktop.onMessage = [&](const RecordedMessage&) {
        EXPECT_NO_THROW(other->execute("update parametros set idCliente=0"));
    };
    formulation::WorkingModel model;
    launcher.handlers.push_back([&](QDialog& dialog) {
        box(dialog, "txtFields0")->setText("3009");
        box(dialog, "txtFields1")->setText("Nueva");
        press(dialog, "cmdUpdate");
        ctx.db().execute("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                         "idBase) values (40,'                3009','Ajena',1000,0,1)");
    });
    model.batchQuantity = 1000;
    EXPECT_FALSE(saveFormula(ctx, model, nullptr));
    EXPECT_EQ(desktop.texts(), QStringList({"El Código \"3009\" de la Fórmula Ya fue Ingresado"}));
    EXPECT_EQ(count("select count(*) from formulas"), 8);
    EXPECT_EQ(model.formulaId, 0);
}

// The formulation window's save: a failure while writing the detail rows of a new version
// leaves the database as before "Grabar" and the model with its edits and formula id.
TEST_F(GrabarFormula, FailureDuringTheDetailsUndoesTheWholeSave) {
    formulation::WorkingModel model = loaded(1);
    ASSERT_FALSE(model.ingredients.empty());
    model.ingredients.front().minimo = 12.5;
    const int ingredientRows = count("select count(*) from formula_producto");
    const int nutrientRows = count("select count(*) from formula_propiedad");
    database.failOn("INSERT", "formula_producto");

    launcher.handlers.push_back([&](QDialog& dialog) {
        dialog.findChild<QCheckBox*>("Check1")->click();
        press(dialog, "cmdUpdate");
    });
    EXPECT_FALSE(saveFormula(ctx, model, nullptr));
    EXPECT_EQ(launcher.opened, QStringList({"frmnueva_formula", "errores"}));
    EXPECT_EQ(count("select count(*) from formulas"), 7);
    EXPECT_EQ(count("select count(*) from formula_producto"), ingredientRows);
    EXPECT_EQ(count("select count(*) from formula_propiedad"), nutrientRows);
    EXPECT_EQ(model.formulaId, 1);
    EXPECT_EQ(model.ingredients.front().minimo, 12.5);
}

TEST_F(GrabarFormula, SaveUpdatesTheDetailsAndReloads) {
    formulation::WorkingModel model;
    model.formulaId = 2;
    formulation::actuFormula(model, ctx.db(), desktop, QLatin1Char('.'));
    ASSERT_GE(model.ingredients.size(), 2u);
    const int removed = model.ingredients.back().id_producto;
    model.ingredients.pop_back();
    model.ingredients.front().maximo.reset();
    const int kept = model.ingredients.front().id_producto;

    launcher.handlers.push_back([&](QDialog& dialog) { press(dialog, "cmdUpdate"); });
    EXPECT_TRUE(saveFormula(ctx, model, nullptr));
    EXPECT_EQ(model.formulaId, 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from formula_producto where id_formula=2 "
                                   "and id_producto=%1")
                        .arg(removed)),
              0);
    EXPECT_TRUE(scalar(QStringLiteral("select maximo from formula_producto where id_formula=2 "
                                      "and id_producto=%1")
                           .arg(kept))
                    .isNull());
    EXPECT_EQ(model.header.version, "1");
    EXPECT_EQ(model.findIngredient(removed), nullptr);
}

} // namespace
} // namespace tarvela
