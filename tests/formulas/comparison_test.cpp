#include "formulas/comparison.h"

#include "db/statements.h"
#include "support/small_catalog.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using formulas::ComparedItem;

class Comparison : public ::testing::Test {
protected:
    Comparison() : catalog(conn()) {
        catalog.ingredient(1, QStringLiteral("Maíz"), 2, 90);
        catalog.ingredient(2, QStringLiteral("Silaje"), 1, 50);
        catalog.ingredient(3, QStringLiteral("Agua"), 0, 0);
        catalog.nutrient(1, QStringLiteral("Proteína"));
        catalog.nutrient(2, QStringLiteral("Energía"));
        catalog.nutrient(3, QStringLiteral("Calcio"));
        // The example: shares as fed 0.6 and 0.4, dry matter 90 and 50, prices 2 and 1, a batch
        // of 100.
        catalog.formula(10, 100, true, true);
        mix(10, 1, 60, 0.6, 54, 54.0 / 74);
        mix(10, 2, 40, 0.4, 20, 20.0 / 74);
        nutrient(10, 1, 15.5);
        nutrient(10, 2, 2.9);
        // Another version on the as-fed basis: no dry matter in one ingredient, a null price,
        // nutrients in part its own.
        catalog.formula(11, 100, false, false);
        mix(11, 2, 50, 0.5, 25, 1);
        mix(11, 3, 50, 0.5, 0, 0);
        conn().execute(QStringLiteral("update formula_producto set costo=null where id_formula=11 "
                                      "and id_producto=2"));
        nutrient(11, 3, 0.8);
        nutrient(11, 1, 12.25);
    }

    db::Connection& conn() { return database.conn(); }

    void mix(int formula, int ingredient, double humeda, double shareHumeda, double seca,
             double shareSeca) {
        catalog.formulaIngredient(formula, ingredient, std::nullopt, std::nullopt);
        conn().execute(QStringLiteral("update formula_producto set cantidad_humeda=%1,"
                                      "porcentaje_humeda=%2,cantidad_seca=%3,porcentaje_seca=%4 "
                                      "where id_formula=%5 and id_producto=%6")
                           .arg(db::sqlReal(humeda), db::sqlReal(shareHumeda), db::sqlReal(seca),
                                db::sqlReal(shareSeca))
                           .arg(formula)
                           .arg(ingredient));
    }

    void nutrient(int formula, int id, double valor) {
        catalog.formulaNutrient(formula, id, std::nullopt, std::nullopt);
        conn().execute(QStringLiteral("update formula_propiedad set valor=%1 where id_formula=%2 "
                                      "and id_propiedad=%3")
                           .arg(db::sqlReal(valor))
                           .arg(formula)
                           .arg(id));
    }

    formulas::Comparison compare() {
        return formulas::buildComparison(conn(),
                                         {{10, QStringLiteral("10"), QStringLiteral("Prueba"),
                                           QStringLiteral("1"), QStringLiteral("07/12/2026")},
                                          {11, QStringLiteral("11"), QStringLiteral("Prueba \"B\""),
                                           QStringLiteral("3"), QString()}});
    }

    static QStringList names(const std::vector<ComparedItem>& items) {
        QStringList out;
        for (const ComparedItem& item : items)
            out << item.nombre;
        return out;
    }

    TestDatabase database{TestDatabase::Contents::Schema};
    SmallCatalog catalog;
};

TEST_F(Comparison, TotalsOfThePartsExampleAndItemsLinedUpByIdentifier) {
    const formulas::Comparison c = compare();
    ASSERT_EQ(c.formulas.size(), 2u);
    const formulas::ComparedFormula& a = c.formulas[0];
    EXPECT_EQ(a.cantidadHumeda, 100);
    EXPECT_EQ(a.cantidadSeca, 74);
    EXPECT_EQ(a.materiaSeca, 74);
    EXPECT_EQ(a.costoUHumeda, 1.6);
    EXPECT_EQ(a.costoUSeca, 2.1622); // 2 / 0.9 × 54/74 + 1 / 0.5 × 20/74
    EXPECT_EQ(a.costoTotal, 160);
    EXPECT_TRUE(a.nutrientsDry);

    // The ingredient without dry matter adds nothing to the dry cost; the null price counts 0.
    const formulas::ComparedFormula& b = c.formulas[1];
    EXPECT_FALSE(b.nutrientsDry);
    EXPECT_EQ(b.costoUSeca, 0);
    EXPECT_EQ(b.costoUHumeda, 0);
    EXPECT_EQ(b.materiaSeca, 25);

    EXPECT_EQ(names(c.nutrients), QStringList({"Proteína", "Energía", "Calcio"}));
    EXPECT_EQ(names(c.ingredients), QStringList({"Maíz", "Silaje", "Agua"}));
    // Proteína in both, Energía in the first only, Calcio in the second only.
    EXPECT_EQ((*c.nutrients[0].figures[1])[0], 12.25);
    EXPECT_FALSE(c.nutrients[1].figures[1].has_value());
    EXPECT_FALSE(c.nutrients[2].figures[0].has_value());
    const auto& silage = c.ingredients[1];
    EXPECT_EQ((*silage.figures[0])[0], 20);
    EXPECT_NEAR(*(*silage.figures[0])[1], 2000.0 / 74, 1e-12);
    EXPECT_EQ((*silage.figures[0])[2], 1);
    EXPECT_FALSE((*silage.figures[1])[2].has_value());
}

TEST_F(Comparison, TheSheetLaysTheFormulasOutSideBySide) {
    const reports::Sheet s = formulas::comparisonSheet(compare());
    const auto text = [&s](int row, int column) {
        const reports::SheetCell* cell = s.find(row, column);
        return cell ? cell->text : QStringLiteral("~");
    };
    const auto number = [&s](int row, int column) {
        const reports::SheetCell* cell = s.find(row, column);
        return cell && cell->kind == reports::SheetCell::Kind::Number ? cell->number : -1.0;
    };
    EXPECT_EQ(s.columnWidths().at(1), 0);
    EXPECT_EQ(s.columnWidths().at(2), 0);
    EXPECT_EQ(s.columnWidths().at(3), 30);
    EXPECT_TRUE(s.fitToPageWidth);
    const QStringList labels = {"",
                                "Fórmula",
                                "Ult.Modificación",
                                "Cant.Húmeda",
                                "Cant.Seca",
                                "Materia Seca %",
                                "Costo U.Seca",
                                "Costo U.Húmeda",
                                "Costo Total",
                                "",
                                "Propiedades",
                                "Proteína",
                                "Energía",
                                "Calcio",
                                "",
                                "Ingredientes",
                                "Maíz",
                                "Silaje",
                                "Agua"};
    for (int r = 1; r <= labels.size(); ++r)
        EXPECT_EQ(text(r, 3), labels[r - 1]) << r;
    EXPECT_EQ(s.lastRow(), 19);

    // First formula in D:F, the second in G:I; texts lose their double quotes.
    EXPECT_EQ(text(1, 4), QStringLiteral("10"));
    EXPECT_EQ(text(1, 5), QStringLiteral("Versión 1"));
    EXPECT_EQ(text(2, 7), QStringLiteral("Prueba 'B'"));
    EXPECT_EQ(text(3, 4), QStringLiteral("07/12/2026"));
    EXPECT_EQ(number(7, 4), 2.1622);
    EXPECT_EQ(number(8, 4), 1.6);
    EXPECT_EQ(number(9, 4), 160);
    // Every total in one format across the formulas: 1000.00 beside 2112.08.
    for (int row = 4; row <= 9; ++row)
        for (int column : {4, 7})
            EXPECT_EQ(s.find(row, column)->style.numberFormat,
                      QString::fromLatin1(row == 7 || row == 8 ? "0.00##" : "0.00"))
                << row << " " << column;
    // Each formula's nutrient values labelled with their basis.
    EXPECT_EQ(text(11, 4), QStringLiteral("Valor"));
    EXPECT_EQ(text(11, 5), QStringLiteral("Base Seca"));
    EXPECT_EQ(text(11, 8), QStringLiteral("Base Húmeda"));
    EXPECT_EQ(number(13, 4), 2.9);
    EXPECT_EQ(s.find(13, 7)->kind, reports::SheetCell::Kind::Blank);
    EXPECT_EQ(s.find(12, 7)->style.numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(text(16, 5), QStringLiteral("%"));
    EXPECT_EQ(number(18, 5), 2000.0 / 74);
    EXPECT_EQ(s.find(18, 5)->style.numberFormat, QStringLiteral("\"% \"0.00"));

    // Headings filled and bold, row 1 in 12 points; a frame round A2:C19 and each formula.
    for (int row : {1, 11, 16}) {
        for (int column = 3; column <= 9; ++column) {
            EXPECT_EQ(s.find(row, column)->style.fill, reports::kHeadingFill) << row << column;
            EXPECT_TRUE(s.find(row, column)->style.bold);
        }
    }
    EXPECT_EQ(s.find(1, 9)->style.fontSize, 12);
    EXPECT_TRUE(s.find(2, 1)->style.top && s.find(2, 1)->style.left);
    EXPECT_TRUE(s.find(19, 3)->style.bottom && s.find(19, 3)->style.right);
    EXPECT_TRUE(s.find(1, 4)->style.top && s.find(1, 4)->style.left);
    EXPECT_TRUE(s.find(19, 6)->style.right && s.find(19, 7)->style.left);
}

TEST_F(Comparison, NoMarkedFormulaGivesTheLabelsAlone) {
    const reports::Sheet s = formulas::comparisonSheet(formulas::buildComparison(conn(), {}));
    EXPECT_EQ(s.lastRow(), 13);
    for (const auto& [place, cell] : s.cells())
        EXPECT_LE(place.second, 3);
    EXPECT_EQ(s.find(13, 3)->text, QStringLiteral("Ingredientes"));
}

} // namespace
} // namespace tarvela::test
