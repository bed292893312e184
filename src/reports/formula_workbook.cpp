#include "reports/formula_workbook.h"

namespace tarvela::reports {

namespace {

// Number formats showing the figures as the window's boxes and the report's cells do.
const QString kQuantityBox = QStringLiteral("0.00#");
const QString kPercentBox = QStringLiteral("0.00\" %\"");
const QString kCostBox = QStringLiteral("\"$ \"0.00##");
const QString kTwoDecimals = QStringLiteral("0.00");
const QString kThreeDecimals = QStringLiteral("0.000");
const QString kShare = QStringLiteral("0.00 %");

// A heading row: bold, framed and filled from column A to the last column.
void headingRow(Sheet& sheet, int row, int lastColumn) {
    sheet.setBold(row, 1, row, lastColumn);
    sheet.setFill(row, 1, row, lastColumn, kHeadingFill);
    sheet.frame(row, 1, row, lastColumn);
}

} // namespace

Sheet formulaSheet(const FormulaReport& r) {
    Sheet sheet;
    sheet.setColumnWidth(1, 30);
    // Wide enough for every figure.
    for (int column = 2; column <= 7; ++column)
        sheet.setColumnWidth(column, 10);
    const auto& header = r.header();
    const auto& boxes = r.boxes();
    const auto& totals = r.model.totals;

    sheet.setText(1, 1, header.producto);
    sheet.cell(1, 1).style.bold = true;
    sheet.cell(1, 1).style.fontSize = 16;
    sheet.setRowHeight(1, 21);
    sheet.fitToPageWidth = true;

    // Header block; a box the window shows empty stays empty.
    const auto number = [&sheet](int row, const QString& box, double value, const QString& format) {
        if (!box.isEmpty())
            sheet.setNumber(row, 2, value, format);
    };
    sheet.setText(2, 1, QStringLiteral("Fórmula"));
    sheet.setText(2, 2, header.producto);
    sheet.setText(3, 1, QStringLiteral("Código"));
    sheet.setText(3, 2, header.codigo);
    sheet.setText(4, 1, QStringLiteral("Versión"));
    bool wholeNumber = false;
    const int version = header.version.trimmed().toInt(&wholeNumber);
    if (wholeNumber)
        sheet.setNumber(4, 2, version);
    else
        sheet.setText(4, 2, header.version);
    sheet.setText(5, 1, QStringLiteral("Cantidad Húmeda"));
    number(5, boxes.txtCanH, totals.cantidadHumeda, kQuantityBox);
    sheet.setText(6, 1, QStringLiteral("Cantidad Seca"));
    number(6, boxes.txtCanS, totals.cantidadSeca, kQuantityBox);
    sheet.setText(7, 1, QStringLiteral("Materia Seca %"));
    number(7, boxes.txtMatSeca, totals.materiaSeca, kPercentBox);
    int r0 = 7;
    if (r.includeCosts) {
        sheet.setText(8, 1, QStringLiteral("Costo U.Seca"));
        number(8, boxes.txtCosS, totals.costoUnitarioSeca, kCostBox);
        sheet.setText(9, 1, QStringLiteral("Costo U.Húmeda"));
        number(9, boxes.txtCosH, totals.costoUnitarioHumeda, kCostBox);
        sheet.setText(10, 1, QStringLiteral("Costo Total"));
        number(10, boxes.txtCosTot, totals.costoTotal, kCostBox);
        r0 = 10;
    }
    // The basis the nutrient values below are expressed on.
    ++r0;
    sheet.setText(r0, 1, QStringLiteral("Nutrientes en"));
    sheet.setText(r0, 2, r.nutrientBasis());
    sheet.setBold(2, 2, r0, 2);

    // Nutrients.
    int row = r0 + 2;
    const int nutrientHeading = row;
    sheet.setText(row, 1, QStringLiteral("Nutrientes"));
    sheet.setText(row, 2, QStringLiteral("Mínimo"));
    sheet.setText(row, 3, QStringLiteral("Máximo"));
    sheet.setText(row, 4, QStringLiteral("Valor"));
    sheet.setText(row, 5, QStringLiteral("Unidad"));
    sheet.cell(row, 5).style.indent = 1;
    headingRow(sheet, row, 5);
    for (const formulation::NutrientRow& n : r.model.rsPropiedades) {
        ++row;
        sheet.setText(row, 1, n.nombre);
        const std::optional<double> figures[3] = {n.minimo, n.maximo, n.valor};
        for (int c = 0; c < 3; ++c)
            if (figures[c])
                sheet.setNumber(row, 2 + c, *figures[c], kTwoDecimals);
        // The unit a step away from its value.
        sheet.setText(row, 5, r.unitOf(n));
        sheet.cell(row, 5).style.indent = 1;
    }
    sheet.frame(nutrientHeading, 1, row, 5);

    // Ratio and group limits, as the nutrients; a ratio without a value shows a dash.
    const std::vector<LimitLine> lines = r.ratioAndGroupLines();
    if (!lines.empty()) {
        row += 2;
        const int limitsHeading = row;
        sheet.setText(row, 1, QStringLiteral("RELACIONES Y GRUPOS"));
        sheet.setText(row, 2, QStringLiteral("Mínimo"));
        sheet.setText(row, 3, QStringLiteral("Máximo"));
        sheet.setText(row, 4, QStringLiteral("Valor"));
        headingRow(sheet, row, 5);
        for (const LimitLine& line : lines) {
            ++row;
            sheet.setText(row, 1, line.nombre);
            if (line.minimo)
                sheet.setNumber(row, 2, *line.minimo, kTwoDecimals);
            if (line.maximo)
                sheet.setNumber(row, 3, *line.maximo, kTwoDecimals);
            if (line.valor)
                sheet.setNumber(row, 4, *line.valor, kTwoDecimals);
            else
                sheet.setText(row, 4, kNoValue);
        }
        sheet.frame(limitsHeading, 1, row, 5);
    }

    // Ingredients of the mix.
    row += 2;
    const int ingredientHeading = row;
    sheet.setText(row, 1, QStringLiteral("Ingredientes"));
    sheet.setText(row, 2, QStringLiteral("Base Seca"));
    sheet.setText(row, 4, QStringLiteral("Base Húmeda"));
    if (r.includeCosts) {
        sheet.setText(row, 6, QStringLiteral("Costo U."));
        sheet.setText(row, 7, QStringLiteral("Costo Total"));
    }
    headingRow(sheet, row, 7);
    for (const formulation::IngredientRow* ing : r.ingredientsInMix()) {
        ++row;
        sheet.setText(row, 1, ing->nombre);
        sheet.setNumber(row, 2, ing->cantidad_seca.value_or(0), kTwoDecimals);
        sheet.setNumber(row, 3, ing->porcentaje_seca.value_or(0), kShare);
        sheet.setNumber(row, 4, ing->cantidad_humeda.value_or(0), kTwoDecimals);
        sheet.setNumber(row, 5, ing->porcentaje_humeda.value_or(0), kShare);
        if (r.includeCosts) {
            const double price = ing->costo_humeda.value_or(0);
            sheet.setNumber(row, 6, price, kThreeDecimals);
            sheet.setFormula(row, 7, QStringLiteral("=F%1*D%1").arg(row),
                             price * ing->cantidad_humeda.value_or(0), kTwoDecimals);
        }
    }
    sheet.frame(ingredientHeading, 1, row, 7);
    return sheet;
}

} // namespace tarvela::reports
