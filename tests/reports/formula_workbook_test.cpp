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
    const reports::Sheet s = reports::formulaSheet({model, true, QDate(2026, 3, 5)});

    EXPECT_EQ(s.columnWidths().at(1), 30);
    EXPECT_EQ(at(s, 1, 1).text, QStringLiteral("Ración A<b>&C"));
    EXPECT_TRUE(at(s, 1, 1).style.bold);
    EXPECT_EQ(at(s, 1, 1).style.fontSize, 16);
    EXPECT_EQ(s.rowHeights().at(1), 21) << "the title's row fits its font";
    // Header block: labels in A, values bold in B; figures are numbers.
    const char* labels[] = {"Fórmula",         "Código",         "Versión",
                            "Cantidad Húmeda", "Cantidad Seca",  "Materia Seca %",
                            "Costo U.Seca",    "Costo U.Húmeda", "Costo Total"};
    for (int r = 2; r <= 10; ++r) {
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

    // Nutrients from row 12: heading bold, filled and framed; a missing limit stays empty.
    EXPECT_EQ(at(s, 12, 1).text, QStringLiteral("Nutrientes"));
    EXPECT_EQ(at(s, 12, 4).text, QStringLiteral("Valor"));
    for (int c = 1; c <= 4; ++c) {
        EXPECT_TRUE(at(s, 12, c).style.bold);
        EXPECT_EQ(at(s, 12, c).style.fill, reports::kHeadingFill);
        EXPECT_TRUE(at(s, 12, c).style.top && at(s, 12, c).style.bottom);
    }
    EXPECT_EQ(at(s, 13, 4).number, 0.7125);
    EXPECT_EQ(at(s, 13, 4).style.numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(at(s, 14, 2).kind, SheetCell::Kind::Blank);
    EXPECT_TRUE(framed(at(s, 14, 2), false, true, false, false));
    EXPECT_TRUE(framed(at(s, 14, 4), false, true, false, true));

    // Ingredients of the mix from row 16; shares as fractions shown in percent; G computes F×D.
    EXPECT_EQ(at(s, 16, 1).text, QStringLiteral("Ingredientes"));
    EXPECT_EQ(at(s, 16, 7).text, QStringLiteral("Costo Total"));
    EXPECT_EQ(at(s, 18, 1).kind, SheetCell::Kind::Text);
    EXPECT_EQ(at(s, 18, 1).text, QStringLiteral("=1+1"));
    EXPECT_EQ(at(s, 18, 3).number, 0.4);
    EXPECT_EQ(at(s, 18, 3).style.numberFormat, QStringLiteral("0.00 %"));
    EXPECT_EQ(at(s, 18, 6).number, 1.25);
    EXPECT_EQ(at(s, 18, 6).style.numberFormat, QStringLiteral("0.000"));
    EXPECT_EQ(at(s, 18, 7).kind, SheetCell::Kind::Formula);
    EXPECT_EQ(at(s, 18, 7).text, QStringLiteral("=F18*D18"));
    EXPECT_EQ(at(s, 18, 7).number, 500);
    EXPECT_EQ(s.lastRow(), 18) << "the ingredient out of the mix is not exported";
    EXPECT_TRUE(framed(at(s, 18, 7), false, true, false, true));
}

TEST(FormulaWorkbook, WithoutCostsTheCostCellsStayEmptyAndTheHeadingSpansAToG) {
    const formulation::WorkingModel model = sampleFormula();
    const reports::Sheet s = reports::formulaSheet({model, false, QDate(2026, 3, 5)});
    // The header ends at row 7; the nutrients follow one empty row below.
    for (int c = 1; c <= 2; ++c)
        EXPECT_EQ(s.find(8, c), nullptr) << c;
    EXPECT_EQ(at(s, 9, 1).text, QStringLiteral("Nutrientes"));
    EXPECT_EQ(at(s, 13, 1).text, QStringLiteral("Ingredientes"));
    EXPECT_EQ(at(s, 13, 6).kind, SheetCell::Kind::Blank);
    EXPECT_EQ(at(s, 13, 7).style.fill, reports::kHeadingFill);
    EXPECT_EQ(at(s, 15, 6).kind, SheetCell::Kind::Blank);
    EXPECT_EQ(at(s, 15, 7).kind, SheetCell::Kind::Blank);
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
    EXPECT_TRUE(sheet.contains(QStringLiteral("<f>F18*D18</f><v>500</v>"))) << sheet.toStdString();
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
