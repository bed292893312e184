#include "support/formula_fixture.h"

#include "formulas/formula_header.h"

namespace tarvela::test {
namespace {

using formulas::FormulaHeaderEditor;
using formulas::HeaderField;
using formulas::SaveOutcome;

class FormulaHeaderTest : public FormulaFixture {
protected:
    // Opens the dialog's logic for the current formula, dated 2026-03-05.
    FormulaHeaderEditor open(bool vSecaIng = true, bool vSecaNut = true) {
        FormulaHeaderEditor editor(conn(), desktop, current, vSecaIng, vSecaNut);
        editor.setToday(QDate(2026, 3, 5));
        EXPECT_TRUE(editor.load());
        return editor;
    }

    // Saves as the dialog and the save do: the header confirmed is written, and the formula
    // written becomes the current one.
    SaveOutcome save(FormulaHeaderEditor& editor, const QString& code, const QString& product,
                     bool newVersion) {
        const formulas::SaveResult result = editor.confirm(code, product, newVersion);
        if (result.outcome == SaveOutcome::Confirmed)
            current.formulaId = formulas::writeHeader(conn(), editor.toWrite()).formulaId;
        return result.outcome;
    }

    db::Result row(int id) {
        return conn().query(QStringLiteral("select * from formulas where id_formula=%1").arg(id));
    }
};

TEST_F(FormulaHeaderTest, NewFormulaGetsVersionZeroThenANewVersionGetsOne) {
    current.formulaId = 0;
    current.quantity = 1000;
    FormulaHeaderEditor first = open(false, false);
    EXPECT_TRUE(first.isNew());
    EXPECT_EQ(first.versionText(false), "0");
    EXPECT_TRUE(first.lastCode().isEmpty());
    ASSERT_EQ(save(first, QStringLiteral("  A10 "), QStringLiteral(" Vaca lechera "), false),
              SaveOutcome::Confirmed);
    EXPECT_EQ(current.formulaId, 1); // empty table: identifier 1

    db::Result saved = row(1);
    ASSERT_EQ(saved.rowCount(), 1);
    EXPECT_EQ(saved.value(0, "codigo").toString(), QString(17, ' ') + "A10");
    EXPECT_EQ(saved.value(0, "producto").toString(), "Vaca lechera");
    EXPECT_EQ(saved.value(0, "version").toInt(), 0);
    EXPECT_EQ(saved.value(0, "cantidad").toDouble(), 1000.0);
    EXPECT_EQ(saved.value(0, "fecha_creacion").toString(), "2026-03-05");
    EXPECT_EQ(saved.value(0, "fecha_modificacion").toString(), "2026-03-05");
    EXPECT_EQ(saved.value(0, "tipoBase").toInt(), 1);
    EXPECT_EQ(saved.value(0, "tipoBaseNutrientes").toInt(), 1);
    EXPECT_EQ(saved.value(0, "idBase").toInt(), 1);

    current.quantity = 500.25;
    FormulaHeaderEditor second = open();
    EXPECT_FALSE(second.isNew());
    EXPECT_EQ(second.versionText(false), "0");
    EXPECT_EQ(second.versionText(true), "1");
    ASSERT_EQ(save(second, second.code(), second.product(), true), SaveOutcome::Confirmed);
    EXPECT_EQ(current.formulaId, 2);
    saved = row(2);
    EXPECT_EQ(saved.value(0, "version").toInt(), 1);
    EXPECT_EQ(saved.value(0, "cantidad").toDouble(), 500.25);
    EXPECT_EQ(saved.value(0, "tipoBase").toInt(), 0);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(FormulaHeaderTest, LastCodeHintIsTheHighestCodeOfTheBase) {
    addFormula(1, "7", 0);
    addFormula(2, "125", 0);
    addFormula(3, "10", 0);
    addFormula(4, "999", 0, 2);
    FormulaHeaderEditor editor = open();
    EXPECT_EQ(editor.lastCode(), QString(17, ' ') + "125");
}

TEST_F(FormulaHeaderTest, CodeOfAnotherBaseIsAcceptedAndVersionsCountAcrossBases) {
    addFormula(1, "X1", 0, 2);
    addFormula(2, "X1", 4, 2);
    current.formulaId = 0;
    FormulaHeaderEditor editor = open();
    ASSERT_EQ(save(editor, QStringLiteral("X1"), QStringLiteral("Nueva"), false),
              SaveOutcome::Confirmed);
    EXPECT_EQ(current.formulaId, 3);
    EXPECT_EQ(row(3).value(0, "version").toInt(), 0);

    FormulaHeaderEditor again = open();
    EXPECT_EQ(again.nextVersion(), 5);
    ASSERT_EQ(save(again, again.code(), again.product(), true), SaveOutcome::Confirmed);
    EXPECT_EQ(row(current.formulaId).value(0, "version").toInt(), 5);
    EXPECT_EQ(row(current.formulaId).value(0, "idBase").toInt(), 1);
}

TEST_F(FormulaHeaderTest, UpdateKeepsIdVersionCreationAndBaseAndRewritesTheRest) {
    addCustomer(4, QStringLiteral("Estancia Sur"));
    addFormula(9, "B7", 3, 2, QStringLiteral("Viejo"), 4);
    current.base = 2;
    current.formulaId = 9;
    current.quantity = 750.5;
    current.customer = 0;
    FormulaHeaderEditor editor = open(false, false);
    EXPECT_EQ(editor.customerName(), "Estancia Sur");
    EXPECT_EQ(editor.versionText(false), "3");
    ASSERT_EQ(save(editor, editor.code(), QStringLiteral("Nuevo nombre"), false),
              SaveOutcome::Confirmed);
    EXPECT_EQ(current.formulaId, 9);
    EXPECT_EQ(count("select count(*) from formulas"), 1);
    const db::Result saved = row(9);
    EXPECT_EQ(saved.value(0, "version").toInt(), 3);
    EXPECT_EQ(saved.value(0, "fecha_creacion").toString(), "2026-01-15");
    EXPECT_EQ(saved.value(0, "idBase").toInt(), 2);
    EXPECT_EQ(saved.value(0, "producto").toString(), "Nuevo nombre");
    EXPECT_EQ(saved.value(0, "cantidad").toDouble(), 750.5);
    EXPECT_EQ(saved.value(0, "fecha_modificacion").toString(), "2026-03-05");
    EXPECT_EQ(saved.value(0, "tipoBase").toInt(), 1);
    EXPECT_EQ(saved.value(0, "tipoBaseNutrientes").toInt(), 1);
    // The formula keeps the customer the dialog showed, not the list's filter.
    EXPECT_EQ(saved.value(0, "idCliente").toInt(), 4);
}

TEST_F(FormulaHeaderTest, NewFormulaTakesTheCurrentCustomerWhenItExists) {
    addCustomer(3, QStringLiteral("Granja Norte"));
    current.customer = 3;
    FormulaHeaderEditor known = open();
    EXPECT_EQ(known.customerName(), "Granja Norte");
    ASSERT_EQ(save(known, "1", "P", false), SaveOutcome::Confirmed);
    EXPECT_EQ(row(1).value(0, "idCliente").toInt(), 3);

    current.formulaId = 0;
    current.customer = 8; // no such customer
    FormulaHeaderEditor unknown = open();
    EXPECT_TRUE(unknown.customerName().isEmpty());
    EXPECT_EQ(unknown.currentCustomer(), 0);
}

TEST_F(FormulaHeaderTest, ChecksComeInOrderWithTheirMessages) {
    addFormula(1, "55", 0);
    current.formulaId = 0;
    FormulaHeaderEditor editor = open();

    auto result = editor.confirm(QStringLiteral("   "), QString(), false);
    EXPECT_EQ(result.outcome, SaveOutcome::Refused);
    EXPECT_EQ(result.focus, HeaderField::Code);
    result = editor.confirm(QStringLiteral("56"), QStringLiteral("  "), false);
    EXPECT_EQ(result.focus, HeaderField::Product);
    result = editor.confirm(QStringLiteral(" 55 "), QStringLiteral("Otro"), false);
    EXPECT_EQ(result.outcome, SaveOutcome::Refused);
    EXPECT_EQ(result.focus, HeaderField::Code);

    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].text, "Debe ingresar el Código de la Fórmula");
    EXPECT_EQ(desktop.messages[1].text, "Debe ingresar el Producto para la Fórmula");
    EXPECT_EQ(desktop.messages[2].text, "El Código \"55\" de la Fórmula Ya fue Ingresado");
    for (const auto& message : desktop.messages)
        EXPECT_EQ(message.icon, MsgIcon::Critical);
    EXPECT_EQ(count("select count(*) from formulas"), 1);
}

TEST_F(FormulaHeaderTest, ChangingToACodeOfTheSameBaseIsRefused) {
    addFormula(1, "A", 0);
    addFormula(2, "B", 0);
    current.formulaId = 1;
    FormulaHeaderEditor editor = open();
    EXPECT_EQ(save(editor, QStringLiteral("B"), QStringLiteral("P"), false), SaveOutcome::Refused);
    EXPECT_EQ(desktop.texts().last(), "El Código \"B\" de la Fórmula Ya fue Ingresado");
    EXPECT_EQ(scalar("select trim(codigo) from formulas where id_formula=1").toString(), "A");
}

TEST_F(FormulaHeaderTest, CodeChangeOfASingleVersionAsksNothing) {
    addFormula(1, "A10", 0);
    addFormula(2, "A10", 0, 2); // same code in another base stays
    current.formulaId = 1;
    FormulaHeaderEditor editor = open();
    ASSERT_EQ(save(editor, QStringLiteral("B7"), editor.product(), false), SaveOutcome::Confirmed);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(scalar("select trim(codigo) from formulas where id_formula=1").toString(), "B7");
    EXPECT_EQ(scalar("select trim(codigo) from formulas where id_formula=2").toString(), "A10");
}

TEST_F(FormulaHeaderTest, CodeChangeOfSeveralVersionsAsksAndNoWritesNothing) {
    addFormula(1, "A10", 0);
    addFormula(2, "A10", 1);
    current.formulaId = 2;
    FormulaHeaderEditor editor = open();
    desktop.answers = {false};
    EXPECT_EQ(save(editor, QStringLiteral("B7"), QStringLiteral("Cambiado"), true),
              SaveOutcome::Cancelled);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].isQuestion);
    EXPECT_EQ(desktop.messages[0].text,
              "Existen 2 versiones de la fórmula \"A10\". Se actualizará el código para todas "
              "ellas\n\n¿Confirma el cambio?");
    EXPECT_EQ(count("select count(*) from formulas where trim(codigo)='A10'"), 2);
    EXPECT_EQ(count("select count(*) from formulas where producto='Cambiado'"), 0);
}

TEST_F(FormulaHeaderTest, NewVersionWithCodeChangeMovesEveryVersion) {
    // Versions 0 and 1 of A10; version 1 saved as version 2 under the code B7.
    addFormula(1, "A10", 0);
    addFormula(2, "A10", 1);
    addFormula(3, "A10", 0, 3);
    current.formulaId = 2;
    FormulaHeaderEditor editor = open();
    EXPECT_EQ(editor.versionText(true), "2");
    desktop.answers = {true};
    ASSERT_EQ(save(editor, QStringLiteral("B7"), editor.product(), true), SaveOutcome::Confirmed);
    EXPECT_EQ(current.formulaId, 4);
    const db::Result rows =
        conn().query("select trim(codigo),version from formulas where idBase=1 order by version");
    ASSERT_EQ(rows.rowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(rows.value(r, 0).toString(), "B7");
        EXPECT_EQ(rows.value(r, 1).toInt(), r);
    }
    EXPECT_EQ(scalar("select trim(codigo) from formulas where id_formula=3").toString(), "A10");
}

TEST_F(FormulaHeaderTest, CodesAndProductsWithQuotesAreStoredAsTyped) {
    current.formulaId = 0;
    FormulaHeaderEditor editor = open();
    ASSERT_EQ(save(editor, QStringLiteral("O'B"), QStringLiteral("Harina d'avena"), false),
              SaveOutcome::Confirmed);
    EXPECT_EQ(scalar("select producto from formulas").toString(), "Harina d'avena");

    FormulaHeaderEditor reopened = open();
    EXPECT_EQ(reopened.code().trimmed(), "O'B");
    EXPECT_EQ(save(reopened, QStringLiteral("O'B"), QStringLiteral("Otra d'avena"), true),
              SaveOutcome::Confirmed);
    EXPECT_EQ(row(2).value(0, "version").toInt(), 1);

    current.formulaId = 0;
    FormulaHeaderEditor duplicate = open();
    EXPECT_EQ(save(duplicate, QStringLiteral("O'B"), QStringLiteral("x"), false),
              SaveOutcome::Refused);
    EXPECT_EQ(desktop.texts().last(), "El Código \"O'B\" de la Fórmula Ya fue Ingresado");
}

TEST_F(FormulaHeaderTest, LongCodeIsCutToTwentyCharacters) {
    FormulaHeaderEditor editor = open();
    ASSERT_EQ(save(editor, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"), "P", false),
              SaveOutcome::Confirmed);
    EXPECT_EQ(scalar("select codigo from formulas").toString(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(FormulaHeaderTest, MissingFormulaCannotBeLoaded) {
    current.formulaId = 12;
    FormulaHeaderEditor editor(conn(), desktop, current, true, true);
    EXPECT_FALSE(editor.load());
    EXPECT_EQ(editor.formulaId(), -1);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "No es posible grabar la fórmula");
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(current.formulaId, 12);
}

TEST_F(FormulaHeaderTest, IdentifiersStopAtTheSixteenBitLimit) {
    addFormula(32767, "LAST", 0);
    current.formulaId = 0;
    FormulaHeaderEditor editor = open();
    EXPECT_EQ(save(editor, QStringLiteral("NEXT"), "P", false), SaveOutcome::Refused);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(count("select count(*) from formulas"), 1);
    EXPECT_EQ(current.formulaId, 0);
}

} // namespace
} // namespace tarvela::test
