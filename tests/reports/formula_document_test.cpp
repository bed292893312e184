#include "reports/formula_document.h"
#include "reports/formula_workbook.h"

#include "reports/sample_formula.h"
#include "support/document_reading.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

QStringList texts(const std::vector<reports::DocumentCell>& row) {
    QStringList out;
    for (const auto& cell : row)
        out << cell.text;
    return out;
}

TEST(FormulaDocument, FourTablesWithTheReportsTextsAndLook) {
    const formulation::WorkingModel model = sampleFormula();
    const reports::TextDocument d = reports::formulaDocument(
        {model, true, QDate(2026, 3, 5), QLatin1Char('.'), {{3, "%"}, {1, "g/kg"}}});
    EXPECT_EQ(d.font, QStringLiteral("Arial"));
    EXPECT_EQ(d.fontSize, 9);
    ASSERT_EQ(d.tables.size(), 4u);

    const auto& title = d.tables[0];
    EXPECT_FALSE(title.borders);
    EXPECT_EQ(title.widths.front(), 315);
    EXPECT_EQ(texts(title.rows[0]),
              QStringList({"TARVELA - Composición de Fórmulas", "Fecha: 05/03/2026"}));
    EXPECT_TRUE(title.rows[0][0].bold);

    const auto& header = d.tables[1];
    ASSERT_EQ(header.rows.size(), 9u);
    EXPECT_EQ(texts(header.rows[0]), QStringList({"Fórmula:", "Ración A<b>&C"}));
    EXPECT_EQ(texts(header.rows[5]), QStringList({"Nutrientes en:", "Base Seca"}));
    EXPECT_EQ(texts(header.rows[6]), QStringList({"Costo U.Seca:", "$ 0.7045"}));
    EXPECT_EQ(texts(header.rows[7]), QStringList({"Costo U.Húmeda:", "$ 0.62"}));
    EXPECT_EQ(texts(header.rows[8]), QStringList({"Costo Total:", "$ 620.00"}));
    EXPECT_TRUE(header.rows[8][1].bold);
    EXPECT_FALSE(header.rows[8][0].bold);

    const auto& nutrients = d.tables[2];
    EXPECT_EQ(nutrients.shadedRows, std::vector<int>{0});
    EXPECT_EQ(nutrients.shade, QColor(224, 224, 224));
    EXPECT_TRUE(nutrients.headingRow);
    EXPECT_EQ(texts(nutrients.rows[0]),
              QStringList({"NUTRIENTES", "Mínimo", "Máximo", "Valor", "Unidad"}));
    EXPECT_EQ(texts(nutrients.rows[2]),
              QStringList({"Proteína Bruta", "", "18.00", "16.40", "g/kg"}));
    EXPECT_TRUE(nutrients.rows[2][3].right);

    const auto& ingredients = d.tables[3];
    EXPECT_TRUE(ingredients.headingRow);
    EXPECT_EQ(ingredients.widths, (std::vector<double>{100, 60, 50, 70, 50, 50, 50}));
    ASSERT_EQ(ingredients.rows.size(), 3u) << "only the ingredients of the mix";
    EXPECT_EQ(texts(ingredients.rows[0]),
              QStringList({"INGREDIENTES", "Base Seca", "", "Base Húmeda", "", "Costo Unit.",
                           "Costo Total"}));
    EXPECT_EQ(texts(ingredients.rows[2]),
              QStringList({"=1+1", "352.00", "40.00 %", "400.00", "40.00 %", "1.25", "500.00"}));
}

TEST(FormulaDocument, WithoutCostsFiveHeaderRowsAndNoCostColumns) {
    formulation::WorkingModel model = sampleFormula();
    model.vSecaIng = model.vSecaNut = false;
    for (auto& row : model.ingredients)
        row.cantidad_humeda = 0;
    const reports::TextDocument d = reports::formulaDocument({model, false, QDate(2026, 3, 5)});
    ASSERT_EQ(d.tables[1].rows.size(), 6u);
    EXPECT_EQ(texts(d.tables[1].rows[5]), QStringList({"Nutrientes en:", "Base Húmeda"}));
    EXPECT_EQ(d.tables[3].widths, (std::vector<double>{170, 60, 50, 70, 50}));
    EXPECT_EQ(d.tables[3].rows.size(), 1u) << "no ingredient in the mix: the heading row only";
}

// The package as a word processor reads it: the mimetype first and stored, the user's text
// literal, the font, sizes, shading, borders and widths in the styles.
// Ratio and group limits get a section of their own after the nutrients, as the nutrients show
// them; a ratio without a value shows a dash. The printout and the workbook carry it too.
TEST(FormulaDocument, RatiosAndGroupsHaveTheirSection) {
    const formulation::WorkingModel model = sampleWithRatiosAndGroups();
    const reports::TextDocument d = reports::formulaDocument({model, false, QDate(2026, 3, 5)});
    ASSERT_EQ(d.tables.size(), 5u);
    const auto& limits = d.tables[3];
    EXPECT_EQ(texts(limits.rows[0]),
              QStringList({"RELACIONES Y GRUPOS", "Mínimo", "Máximo", "Valor", ""}));
    EXPECT_EQ(texts(limits.rows[1]),
              QStringList({"Relación Calcio / Fósforo disp.", "1.50", "2.00", "1.80", ""}));
    EXPECT_EQ(texts(limits.rows[2]), QStringList({"Relación Calcio / Cobre", "", "9.00", "—", ""}));
    EXPECT_EQ(texts(limits.rows[3]), QStringList({"Grupo Cereales", "", "600.00", "528.00", ""}));
    EXPECT_EQ(limits.widths, d.tables[2].widths);

    const reports::Sheet sheet = reports::formulaSheet({model, false, QDate(2026, 3, 5)});
    int heading = 0;
    for (int r = 1; r < 40 && !heading; ++r)
        if (const auto* cell = sheet.find(r, 1); cell && cell->text == "RELACIONES Y GRUPOS")
            heading = r;
    ASSERT_GT(heading, 0);
    EXPECT_EQ(sheet.find(heading + 1, 4)->number, 1.8);
    EXPECT_EQ(sheet.find(heading + 2, 4)->text, QStringLiteral("—"));
    EXPECT_EQ(sheet.find(heading + 3, 3)->number, 600.0);

    // Without them nothing changes.
    EXPECT_EQ(reports::formulaDocument({sampleFormula(), false, QDate(2026, 3, 5)}).tables.size(),
              4u);
}

TEST(FormulaDocument, ThePackageIsAnOpenDocumentText) {
    const formulation::WorkingModel model = sampleFormula();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.odt"));
    ASSERT_TRUE(
        reports::writeOpenDocument(reports::formulaDocument({model, true, QDate(2026, 3, 5)}), path)
            .description.isEmpty());
    EXPECT_EQ(zipEntryNames(path), QStringList({"mimetype", "content.xml", "styles.xml", "meta.xml",
                                                "META-INF/manifest.xml"}));
    EXPECT_EQ(zipEntry(path, QStringLiteral("mimetype")),
              QByteArray("application/vnd.oasis.opendocument.text"));
    const QString content = QString::fromUtf8(zipEntry(path, QStringLiteral("content.xml")));
    EXPECT_TRUE(content.contains(QStringLiteral(">Ración A&lt;b&gt;&amp;C<")));
    EXPECT_TRUE(
        content.contains(QStringLiteral("style:font-name=\"Arial\" fo:font-size=\"9.00pt\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("fo:background-color=\"#e0e0e0\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("fo:border=\"0.5pt solid #000000\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("style:column-width=\"315.00pt\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("fo:font-weight=\"bold\"")));
    EXPECT_TRUE(content.contains(QStringLiteral("fo:text-align=\"end\"")));
    EXPECT_EQ(content.count(QStringLiteral("<table:table ")), 4);
    // The heading rows of the nutrients and ingredients repeat on every page; no row is split.
    EXPECT_EQ(content.count(QStringLiteral("<table:table-header-rows>")), 2);
    EXPECT_TRUE(content.contains(QStringLiteral("fo:keep-together=\"always\"")));
    EXPECT_EQ(content.count(QStringLiteral("<table:table-row table:style-name=\"Fila\">")),
              1 + 9 + 3 + 3);
}

// Control characters in a name never reach the document: tabs and line feeds become the
// document's own, CR, DEL and the C1 controls are left out, and the XML stays well formed.
TEST(FormulaDocument, ControlCharactersAreLeftOut) {
    formulation::WorkingModel model = sampleFormula();
    model.ingredients[0].nombre = QStringLiteral("Ma\u0085íz\r\ngra\u007fno\tpar\u009btido");
    const QByteArray content =
        reports::openDocumentContent(reports::formulaDocument({model, true, QDate(2026, 3, 5)}));
    ASSERT_FALSE(content.isEmpty());
    QXmlStreamReader xml(content);
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters)
            text += xml.text();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char16_t c : {u'\r', u'\u007f', u'\u0085', u'\u009b'})
        EXPECT_FALSE(QString::fromUtf8(content).contains(QChar(c))) << int(c);
    EXPECT_TRUE(text.contains(QStringLiteral("Maíz"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("grano")));
    EXPECT_TRUE(text.contains(QStringLiteral("partido")));
    EXPECT_TRUE(content.contains("<text:line-break/>"));
    EXPECT_TRUE(content.contains("<text:tab/>"));
}

} // namespace
} // namespace tarvela::test
