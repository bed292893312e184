#include "reports/formula_csv.h"

#include "reports/sample_formula.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

// The cells of a line, trailing empty cells dropped; null cells as "~".
QStringList line(const db::Result& table, int r) {
    QStringList cells;
    for (const QVariant& v : table.row(r))
        cells << (v.isNull() ? QStringLiteral("~") : v.toString());
    while (!cells.isEmpty() && cells.last() == QStringLiteral("~"))
        cells.removeLast();
    return cells;
}

TEST(FormulaCsv, NineColumnsInTheReportsOrderWithCostsOnACommaWorkstation) {
    const formulation::WorkingModel model = sampleFormula();
    const db::Result table = reports::formulaCsvTable(
        {model, true, QDate(2026, 3, 5), QLatin1Char(','), {{3, "%"}, {1, "g/kg"}}});
    EXPECT_EQ(table.columns(), QStringList({"_1", "_2", "_3", "_4", "_5", "_6", "_7", "_8", "_9"}));
    const std::vector<QStringList> expected = {
        {"TARVELA - Composición de Fórmulas", "Nutrientes en Base Seca"},
        {"Fecha: ", "05/03/2026"},
        {"Fórmula:", "Ración A<b>&C"},
        {"Código:", "1001"},
        {"Versión:", "2"},
        {"Cantidad Húmeda:", "1000.00"},
        {"Cantidad Seca:", "880.00"},
        {"Materia Seca %:", "88.00 %"},
        {"Costo U.Seca:", "$ 0.7045"},
        {"Costo U.Húmeda:", "$ 0.62"},
        {"Costo Total:", "$ 620.00"},
        {},
        {"NUTRIENTES", "Mínimo", "Máximo", "Valor", "Unidad"},
        {"Calcio", "0,60", "0,80", "0,71", "%"},
        {"Proteína Bruta", "~", "18,00", "16,40", "g/kg"},
        {},
        {"INGREDIENTES", "Base Seca", "~", "Base Húmeda", "~", "Costo U.", "Costo Total"},
        {"Maíz grano", "528,00", "60,00 %", "600,00", "60,00 %", "0,200", "120,00"},
        {"=1+1", "352,00", "40,00 %", "400,00", "40,00 %", "1,250", "500,00"},
    };
    ASSERT_EQ(table.rowCount(), static_cast<int>(expected.size()));
    for (int r = 0; r < table.rowCount(); ++r)
        EXPECT_EQ(line(table, r), expected[static_cast<size_t>(r)]) << r;
}

TEST(FormulaCsv, WithoutCostsNoCostRowsOrCells) {
    formulation::WorkingModel model = sampleFormula();
    model.vSecaIng = model.vSecaNut = false;
    const db::Result table =
        reports::formulaCsvTable({model, false, QDate(2026, 3, 5), QLatin1Char('.')});
    ASSERT_EQ(table.rowCount(), 16);
    EXPECT_EQ(line(table, 0),
              QStringList({"TARVELA - Composición de Fórmulas", "Nutrientes en Base Húmeda"}));
    EXPECT_EQ(line(table, 7), QStringList({"Materia Seca %:", "88.00 %"}));
    EXPECT_EQ(line(table, 8), QStringList());
    EXPECT_EQ(line(table, 9), QStringList({"NUTRIENTES", "Mínimo", "Máximo", "Valor", "Unidad"}));
    EXPECT_EQ(line(table, 13), QStringList({"INGREDIENTES", "Base Seca", "~", "Base Húmeda"}));
    EXPECT_EQ(line(table, 14),
              QStringList({"Maíz grano", "528.00", "60.00 %", "600.00", "60.00 %"}));
    EXPECT_EQ(line(table, 15), QStringList({"=1+1", "352.00", "40.00 %", "400.00", "40.00 %"}));
}

} // namespace
} // namespace tarvela::test
