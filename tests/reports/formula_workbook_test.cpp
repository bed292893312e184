#include "reports/formula_workbook.h"

#include "reports/sample_formula.h"
#include "support/document_reading.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using reports::SheetCell;

const SheetCell& at(const reports::Sheet& sheet, int row, int column) {
    static const SheetCell none;
    const SheetCell* cell = sheet.find(row, column);
    return cell ? *cell : none;
}

bool framed(const SheetCell& c, bool top, bool bottom, bool left, bool right) {
    return c.style.top == top && c.style.bottom == bottom && c.style.left == left &&
           c.style.right == right;
}

TEST(FormulaWorkbook, FiguresAreNumbersFormattedAsTheReportShowsThem) {
    const formulation::WorkingModel model = sampleFormula();
    const reports::Sheet s = reports::formulaSheet(
        {model, true, QDate(2026, 3, 5), QLatin1Char('.'), {{3, "%"}, {1, "g/kg"}}});

    EXPECT_EQ(s.columnWidths().at(1), 30);
    EXPECT_EQ(at(s, 1, 1).text, QStringLiteral("Ración A<b>&C"));
    EXPECT_TRUE(at(s, 1, 1).style.bold);
    EXPECT_EQ(at(s, 1, 1).style.fontSize, 16);
    EXPECT_EQ(s.rowHeights().at(1), 21) << "the title's row fits its font";
    // Header block: labels in A, values bold in B; figures are numbers; the nutrient basis last.
    const char* labels[] = {"Fórmula",       "Código",         "Versión",      "Cantidad Húmeda",
                            "Cantidad Seca", "Materia Seca %", "Costo U.Seca", "Costo U.Húmeda",
                            "Costo Total",   "Nutrientes en"};
    for (int r = 2; r <= 11; ++r) {
        EXPECT_EQ(at(s, r, 1).text, QString::fromUtf8(labels[r - 2])) << r;
        EXPECT_TRUE(at(s, r, 2).style.bold) << r;
    }
    EXPECT_EQ(at(s, 3, 2).kind, SheetCell::Kind::Text);
    EXPECT_EQ(at(s, 4, 2).kind, SheetCell::Kind::Number);
    EXPECT_EQ(at(s, 5, 2).number, 1000);
    EXPECT_EQ(at(s, 5, 2).style.numberFormat, QStringLiteral("0.00#"));
    EXPECT_EQ(at(s, 7, 2).style.numberFormat, QStringLiteral("0.00\" %\""));
    EXPECT_EQ(at(s, 8, 2).number, model.totals.costoUnitarioSeca);
    EXPECT_EQ(at(s, 10, 2).style.numberFormat, QStringLiteral("\"$ \"0.00##"));
    EXPECT_EQ(at(s, 11, 2).text, QStringLiteral("Base Seca"));

    // Nutrients from row 13: heading bold, filled and framed; a missing limit stays empty; each
    // value's unit beside it.
    EXPECT_EQ(at(s, 13, 1).text, QStringLiteral("Nutrientes"));
    EXPECT_EQ(at(s, 13, 4).text, QStringLiteral("Valor"));
    EXPECT_EQ(at(s, 13, 5).text, QStringLiteral("Unidad"));
    for (int c = 1; c <= 5; ++c) {
        EXPECT_TRUE(at(s, 13, c).style.bold);
        EXPECT_EQ(at(s, 13, c).style.fill, reports::kHeadingFill);
        EXPECT_TRUE(at(s, 13, c).style.top && at(s, 13, c).style.bottom);
    }
    EXPECT_EQ(at(s, 14, 4).number, 0.7125);
    EXPECT_EQ(at(s, 14, 4).style.numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(at(s, 14, 5).text, QStringLiteral("%"));
    EXPECT_EQ(at(s, 14, 5).style.indent, 1);
    EXPECT_EQ(at(s, 15, 5).text, QStringLiteral("g/kg"));
    EXPECT_EQ(at(s, 15, 2).kind, SheetCell::Kind::Blank);
    EXPECT_TRUE(framed(at(s, 15, 2), false, true, false, false));
    EXPECT_TRUE(framed(at(s, 15, 5), false, true, false, true));

    // Ingredients of the mix from row 17; shares as fractions shown in percent; G computes F×D.
    EXPECT_EQ(at(s, 17, 1).text, QStringLiteral("Ingredientes"));
    EXPECT_EQ(at(s, 17, 7).text, QStringLiteral("Costo Total"));
    EXPECT_EQ(at(s, 19, 1).kind, SheetCell::Kind::Text);
    EXPECT_EQ(at(s, 19, 1).text, QStringLiteral("=1+1"));
    EXPECT_EQ(at(s, 19, 3).number, 0.4);
    EXPECT_EQ(at(s, 19, 3).style.numberFormat, QStringLiteral("0.00 %"));
    EXPECT_EQ(at(s, 19, 6).number, 1.25);
    EXPECT_EQ(at(s, 19, 6).style.numberFormat, QStringLiteral("0.000"));
    EXPECT_EQ(at(s, 19, 7).kind, SheetCell::Kind::Formula);
    EXPECT_EQ(at(s, 19, 7).text, QStringLiteral("=F19*D19"));
    EXPECT_EQ(at(s, 19, 7).number, 500);
    EXPECT_EQ(s.lastRow(), 19) << "the ingredient out of the mix is not exported";
    EXPECT_TRUE(framed(at(s, 19, 7), false, true, false, true));
}

TEST(FormulaWorkbook, WithoutCostsTheCostCellsStayEmptyAndTheHeadingSpansAToG) {
    formulation::WorkingModel model = sampleFormula();
    model.vSecaIng = model.vSecaNut = false;
    const reports::Sheet s = reports::formulaSheet({model, false, QDate(2026, 3, 5)});
    // The header ends at row 8 with the nutrient basis; the nutrients follow one empty row below.
    EXPECT_EQ(at(s, 8, 1).text, QStringLiteral("Nutrientes en"));
    EXPECT_EQ(at(s, 8, 2).text, QStringLiteral("Base Húmeda"));
    for (int c = 1; c <= 2; ++c)
        EXPECT_EQ(s.find(9, c), nullptr) << c;
    EXPECT_EQ(at(s, 10, 1).text, QStringLiteral("Nutrientes"));
    EXPECT_EQ(at(s, 14, 1).text, QStringLiteral("Ingredientes"));
    EXPECT_EQ(at(s, 14, 6).kind, SheetCell::Kind::Blank);
    EXPECT_EQ(at(s, 14, 7).style.fill, reports::kHeadingFill);
    EXPECT_EQ(at(s, 16, 6).kind, SheetCell::Kind::Blank);
    EXPECT_EQ(at(s, 16, 7).kind, SheetCell::Kind::Blank);
}

// The file as a spreadsheet program reads it: numbers with their formats, the formula with its
// computed value, user texts as texts.
TEST(FormulaWorkbook, TheSavedWorkbookKeepsNumbersFormulasAndTexts) {
    const formulation::WorkingModel model = sampleFormula();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.xlsx"));
    ASSERT_TRUE(reports::saveWorkbook(reports::formulaSheet({model, true, QDate(2026, 3, 5)}), path)
                    .description.isEmpty());
    const QString sheet =
        QString::fromUtf8(zipEntry(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    const QString strings =
        QString::fromUtf8(zipEntry(path, QStringLiteral("xl/sharedStrings.xml")));
    const QString styles = QString::fromUtf8(zipEntry(path, QStringLiteral("xl/styles.xml")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<f>F19*D19</f><v>500</v>"))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("<v>0.4</v>")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<col min=\"1\" max=\"1\" width=\"30.7109375\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("ht=\"21\" customHeight=\"1\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<pageSetUpPr fitToPage=\"1\"/>")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("<f>1+1</f>")));
    EXPECT_TRUE(strings.contains(QStringLiteral("<t>=1+1</t>")));
    EXPECT_TRUE(strings.contains(QStringLiteral("<t>Ración A&lt;b&gt;&amp;C</t>")));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"0.00 %\"")));
    EXPECT_TRUE(styles.contains(QStringLiteral("rgb=\"FF99CCFF\"")));
}

} // namespace
} // namespace tarvela::test
