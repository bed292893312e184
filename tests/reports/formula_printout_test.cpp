#include "reports/formula_printout.h"

#include "reports/page_painter.h"
#include "reports/sample_formula.h"
#include "support/document_reading.h"
#include "support/gui_application.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

constexpr double kTolerance = 0.3; // millimetres

class FormulaPrintout : public ::testing::Test {
protected:
    FormulaPrintout() { ensureGuiApplication(); }

    std::vector<PdfPage> print(const formulation::WorkingModel& model, bool costs) {
        const QString path = dir.filePath(QStringLiteral("formula.pdf"));
        const reports::FormulaReport report{
            model, costs, QDate(2026, 3, 5), QLatin1Char('.'), {{3, "%"}, {1, "g/kg"}}};
        const reports::WriteFailure failure =
            reports::writePdf(path, QStringLiteral("Fórmula"), [&](QPagedPaintDevice& device) {
                return reports::printFormula(device, report);
            });
        EXPECT_TRUE(failure.description.isEmpty()) << failure.description.toStdString();
        return pdfPages(path);
    }

    // The line beginning with the text, on the page.
    static const PdfLine& line(const PdfPage& page, const QString& start) {
        for (const PdfLine& l : page.lines)
            if (l.text().startsWith(start))
                return l;
        ADD_FAILURE() << "no line " << start.toStdString();
        static const PdfLine none;
        return none;
    }

    // The right edge of the word, or -1 when the line lacks it.
    static double rightOf(const PdfLine& l, const QString& word) {
        const PdfWord* w = l.word(word);
        return w ? w->right : -1;
    }

    QTemporaryDir dir;
};

TEST_F(FormulaPrintout, PlacesTheReportInMillimetresWithCosts) {
    const auto pages = print(sampleFormula(), true);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];

    const PdfLine& title = line(p, QStringLiteral("COMPOSICIÓN DE FÓRMULAS"));
    EXPECT_NEAR(title.words[0].x, 60, kTolerance);
    EXPECT_NEAR(title.y, 19, kTolerance);
    EXPECT_NEAR(line(p, QStringLiteral("Ración A<b>&C")).words[0].x, 60, kTolerance);
    const PdfLine& date = *p.lineWith(QStringLiteral("Fecha de Impresión: 05/03/2026"));
    EXPECT_NEAR(date.word(QStringLiteral("Fecha"))->x, 160, kTolerance);
    EXPECT_NEAR(line(p, QStringLiteral("Página 1 de 1")).words[0].x, 160, kTolerance);
    EXPECT_EQ(line(p, QStringLiteral("Tarvela")).words[0].x < 20, true);

    // Header data from 42 mm, 5 mm apart; values at 40 mm or past the widest label.
    const PdfLine& code = line(p, QStringLiteral("Código: 1001"));
    EXPECT_NEAR(code.y, 42, kTolerance);
    EXPECT_NEAR(code.words[0].x, 13, kTolerance);
    EXPECT_GE(code.words[1].x, 40 - kTolerance);
    EXPECT_GT(code.words[1].x, line(p, QStringLiteral("Última modificación:")).words[1].right);
    // The basis of the nutrient values, then the unit costs dry, then as fed.
    EXPECT_NEAR(line(p, QStringLiteral("Nutrientes en: Base Seca")).y, 42 + 4 * 5, kTolerance);
    EXPECT_NEAR(line(p, QStringLiteral("Costo U.Seca: $ 0.7045")).y, 42 + 5 * 5, kTolerance);
    EXPECT_NEAR(line(p, QStringLiteral("Costo U.Húmeda: $ 0.62")).y, 42 + 6 * 5, kTolerance);
    EXPECT_NEAR(line(p, QStringLiteral("Costo Total: $ 620.00")).y, 42 + 7 * 5, kTolerance);

    const PdfLine& nutrients = line(p, QStringLiteral("NUTRIENTES"));
    EXPECT_NEAR(nutrients.y, 42 + 8 * 5 + 10, kTolerance);
    EXPECT_NEAR(nutrients.word(QStringLiteral("Unidad"))->x, 142, kTolerance);
    EXPECT_NEAR(rightOf(nutrients, QStringLiteral("Mínimo")), 90, kTolerance);
    EXPECT_NEAR(rightOf(nutrients, QStringLiteral("Máximo")), 115, kTolerance);
    EXPECT_NEAR(rightOf(nutrients, QStringLiteral("Valor")), 140, kTolerance);
    const PdfLine& calcio = line(p, QStringLiteral("Calcio 0.60 0.80 0.71"));
    EXPECT_NEAR(calcio.words[0].x, 17, kTolerance);
    EXPECT_NEAR(calcio.y, nutrients.y + 5, kTolerance);
    EXPECT_NEAR(rightOf(calcio, QStringLiteral("0.71")), 140, kTolerance);
    EXPECT_EQ(calcio.text(), QStringLiteral("Calcio 0.60 0.80 0.71 %"));
    EXPECT_NEAR(calcio.words.back().x, 142, kTolerance);
    const PdfLine& protein = line(p, QStringLiteral("Proteína Bruta 18.00 16.40 g/kg"));
    EXPECT_NEAR(rightOf(protein, QStringLiteral("18.00")), 115, kTolerance);

    const PdfLine& ingredients = line(p, QStringLiteral("INGREDIENTES Base Seca Base Húmeda "
                                                        "Costo Unit. Cosot Total"));
    EXPECT_NEAR(ingredients.y, protein.y + 5 + 10, kTolerance);
    EXPECT_NEAR(rightOf(ingredients, QStringLiteral("Unit.")), 160, kTolerance);
    const PdfLine& corn =
        line(p, QStringLiteral("Maíz grano 528.00 60.00 % 600.00 60.00 % 0.20 120.00"));
    const double rights[] = {90, 105, 125, 140, 160, 180};
    std::vector<double> found;
    for (const PdfWord& w : corn.words)
        if (w.text != QStringLiteral("Maíz") && w.text != QStringLiteral("grano") &&
            w.text != QStringLiteral("60.00"))
            found.push_back(w.right);
    ASSERT_EQ(found.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(found[i], rights[i], kTolerance) << i;
    line(p, QStringLiteral("=1+1 352.00 40.00 % 400.00 40.00 % 1.25 500.00"));
    EXPECT_EQ(p.lineWith(QStringLiteral("Fuera de la mezcla")), nullptr);

    const PdfLine& totals =
        line(p, QStringLiteral("Materia Seca 88.00 % 880.00 100.00 1000.00 100.00 $ 620.00"));
    EXPECT_NEAR(totals.y, corn.y + 10, kTolerance);
    EXPECT_NEAR(rightOf(totals, QStringLiteral("1000.00")), 125, kTolerance);
    EXPECT_NEAR(totals.words.back().right, 180, kTolerance);
}

TEST_F(FormulaPrintout, RatiosAndGroupsArePrintedAfterTheNutrients) {
    const auto pages = print(sampleWithRatiosAndGroups(), false);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    EXPECT_LT(line(p, QStringLiteral("NUTRIENTES")).y, line(p, QStringLiteral("RELACIONES")).y);
    EXPECT_LT(line(p, QStringLiteral("RELACIONES")).y, line(p, QStringLiteral("INGREDIENTES")).y);
    const PdfLine& ratio = line(p, QStringLiteral("Relación Calcio / Fósforo"));
    EXPECT_NEAR(rightOf(ratio, QStringLiteral("1.80")), 140, kTolerance);
    EXPECT_NE(line(p, QStringLiteral("Relación Calcio / Cobre")).word(QStringLiteral("—")),
              nullptr);
    EXPECT_NEAR(rightOf(line(p, QStringLiteral("Grupo Cereales")), QStringLiteral("600.00")), 115,
                kTolerance);
}

TEST_F(FormulaPrintout, WithoutCostsNoPriceOrCostIsPrinted) {
    const auto pages = print(sampleFormula(), false);
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& p = pages[0];
    EXPECT_EQ(p.lineWith(QStringLiteral("Costo")), nullptr);
    EXPECT_EQ(p.lineWith(QStringLiteral("Cosot")), nullptr);
    EXPECT_EQ(p.lineWith(QStringLiteral("620")), nullptr);
    line(p, QStringLiteral("Materia Seca: 88.00 %"));
    line(p, QStringLiteral("Nutrientes en: Base Seca"));
    line(p, QStringLiteral("INGREDIENTES Base Seca Base Húmeda"));
    EXPECT_EQ(line(p, QStringLiteral("Maíz grano")).text(),
              QStringLiteral("Maíz grano 528.00 60.00 % 600.00 60.00 %"));
    EXPECT_EQ(line(p, QStringLiteral("Materia Seca 88.00")).text(),
              QStringLiteral("Materia Seca 88.00 % 880.00 100.00 1000.00 100.00"));
}

// 78 nutrients end page 2 on the last line a row may take, where "INGREDIENTES" would stand
// alone at its foot, and 44 ingredients end page 3 likewise, with the totals still to come.
// Page 2 goes on with the nutrients under their repeated heading row.
TEST_F(FormulaPrintout, LongFormulasBreakIntoPagesWithoutLosingOrSplittingAnything) {
    const auto pages = print(largeFormula(78, 44), true);
    ASSERT_EQ(pages.size(), 3u);
    QStringList names;
    for (size_t n = 0; n < pages.size(); ++n) {
        const PdfPage& page = pages[n];
        // The page header on every page, with its number.
        EXPECT_NEAR(line(page, QStringLiteral("COMPOSICIÓN DE FÓRMULAS")).y, 19, kTolerance);
        EXPECT_NE(page.lineWith(QStringLiteral("Fecha de Impresión: 05/03/2026")), nullptr);
        EXPECT_NE(page.lineWith(QStringLiteral("Página %1 de 3").arg(n + 1)), nullptr) << n;
        double previous = 0;
        for (const PdfLine& l : page.lines) {
            if (l.y < 40)
                continue;
            EXPECT_GE(l.y - previous, 5 - kTolerance) << l.text().toStdString();
            EXPECT_LT(l.y, 268) << l.text().toStdString();
            previous = l.y;
            const QString first = l.words[0].text;
            if (first == QStringLiteral("Nutriente") || first == QStringLiteral("Ingrediente"))
                names << first + QLatin1Char(' ') + l.words[1].text;
        }
    }
    QStringList expected;
    for (int n = 1; n <= 78; ++n)
        expected << QStringLiteral("Nutriente %1").arg(n, 2, 10, QLatin1Char('0'));
    for (int i = 1; i <= 44; ++i)
        expected << QStringLiteral("Ingrediente %1").arg(i, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(names, expected) << "every row once, in order";

    // Page 2 begins under the nutrients' heading row and ends with a nutrient; the ingredients
    // start page 3 under its header.
    const PdfLine& repeated = line(pages[1], QStringLiteral("NUTRIENTES Mínimo Máximo Valor"));
    EXPECT_NEAR(repeated.y, 42, kTolerance);
    EXPECT_NEAR(line(pages[1], QStringLiteral("Nutriente 35")).y, 47, kTolerance);
    EXPECT_TRUE(pages[1].lines.back().text().startsWith(QStringLiteral("Nutriente 78")));
    const PdfLine& heading = line(pages[2], QStringLiteral("INGREDIENTES"));
    EXPECT_NEAR(heading.y, 42, kTolerance);
    // The totals line follows the last ingredient on its page.
    const auto& last = pages[2].lines;
    ASSERT_GE(last.size(), 2u);
    EXPECT_TRUE(last.back().text().startsWith(QStringLiteral("Materia Seca 88.00 %")));
    EXPECT_TRUE(last[last.size() - 2].text().startsWith(QStringLiteral("Ingrediente 44")));
    // A name too long for its column ends shortened before the row's first figure.
    const PdfLine& longName = last[last.size() - 2];
    // (The reader gives the ellipsis "…" as three points.)
    EXPECT_NE(longName.text().indexOf(QStringLiteral("...")), -1) << longName.text().toStdString();
    EXPECT_EQ(longName.text().indexOf(QStringLiteral("columna")), -1);
    const PdfWord* figure = longName.word(QStringLiteral("20.45"));
    ASSERT_NE(figure, nullptr) << longName.text().toStdString();
    for (const PdfWord& w : longName.words) {
        if (w.x < figure->x) {
            EXPECT_LT(w.right, figure->x - 1) << w.text.toStdString();
        }
    }
}

} // namespace
} // namespace tarvela::test
