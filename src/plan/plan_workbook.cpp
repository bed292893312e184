#include "plan/plan_workbook.h"

#include "plan/plan_grids.h"

namespace tarvela::plan {

namespace {

const QString kMoney = QStringLiteral("#,##0.00");
const QString kUnit = QStringLiteral("0.0000");
const QString kQuantity = QStringLiteral("#,##0.000");

void heading(reports::Sheet& sheet, int row, const QStringList& titles) {
    for (int c = 0; c < titles.size(); ++c)
        sheet.setText(row, c + 1, titles[c]);
    sheet.setBold(row, 1, row, static_cast<int>(titles.size()));
    sheet.setFill(row, 1, row, static_cast<int>(titles.size()), reports::kHeadingFill);
}

void optionalNumber(reports::Sheet& sheet, int row, int column, const std::optional<double>& v,
                    const QString& format) {
    if (v)
        sheet.setNumber(row, column, *v, format);
}

reports::Sheet summary(const Plan& plan, const PlanOutcome& outcome) {
    reports::Sheet sheet;
    sheet.setText(1, 1, QStringLiteral("Plan de Producción"));
    sheet.setText(1, 2, plan.nombre);
    sheet.setBold(1, 1, 1, 2);
    sheet.setText(2, 1, QStringLiteral("Costo del plan"));
    optionalNumber(sheet, 2, 2, outcome.costoTotal, kMoney);
    sheet.setText(3, 1, QStringLiteral("Costo de las fórmulas solas"));
    optionalNumber(sheet, 3, 2, outcome.costoSeparado, kMoney);
    sheet.setText(4, 1, QStringLiteral("Costo de la escasez"));
    optionalNumber(sheet, 4, 2, outcome.costoEscasez(), kMoney);

    int r = 6;
    heading(sheet, r++,
            {QStringLiteral("Código"), QStringLiteral("Producto"),
             QStringLiteral("Cantidad a elaborar"), QStringLiteral("Costo Unitario"),
             QStringLiteral("Costo U. Sola")});
    for (const FormulaOutcome& f : outcome.formulas) {
        sheet.setText(r, 1, f.formula.codigo);
        sheet.setText(r, 2, f.formula.producto);
        sheet.setNumber(r, 3, f.formula.cantidad, kQuantity);
        optionalNumber(sheet, r, 4, f.costoUnitario, kUnit);
        optionalNumber(sheet, r, 5, f.costoUnitarioSolo, kUnit);
        ++r;
    }
    ++r;
    heading(sheet, r++,
            {QStringLiteral("Ingrediente"), QStringLiteral("Existencia"), QStringLiteral("Usado"),
             QStringLiteral("Sobrante"), QStringLiteral("Valor de 1 kg más"), QString(),
             QStringLiteral("Precio")});
    for (const StockOutcome& s : outcome.existencias) {
        sheet.setText(r, 1, s.nombre);
        if (s.existencia)
            sheet.setNumber(r, 2, *s.existencia, kQuantity);
        else
            sheet.setText(r, 2, QStringLiteral("sin límite"));
        sheet.setNumber(r, 3, s.usado, kQuantity);
        optionalNumber(sheet, r, 4, s.sobrante, kQuantity);
        if (s.existencia)
            sheet.setNumber(r, 5, s.valorMarginal, kUnit);
        if (s.limitante)
            sheet.setText(r, 6, QStringLiteral("Limitante"));
        optionalNumber(sheet, r, 7, s.costo, kUnit);
        ++r;
    }
    sheet.setColumnWidth(1, 30);
    for (int c = 2; c <= 7; ++c)
        sheet.setColumnWidth(c, 16);
    return sheet;
}

reports::Sheet formulaSheet(const FormulaOutcome& f) {
    reports::Sheet sheet;
    sheet.setText(1, 1, QStringLiteral("Fórmula ") + f.formula.codigo);
    sheet.setText(1, 2, f.formula.producto);
    sheet.setBold(1, 1, 1, 2);
    sheet.setText(2, 1, QStringLiteral("Cantidad a elaborar"));
    sheet.setNumber(2, 2, f.formula.cantidad, kQuantity);
    sheet.setText(3, 1, QStringLiteral("Costo Unitario"));
    optionalNumber(sheet, 3, 2, f.costoUnitario, kUnit);
    sheet.setText(4, 1, QStringLiteral("Costo U. Sola"));
    optionalNumber(sheet, 4, 2, f.costoUnitarioSolo, kUnit);
    int r = 6;
    heading(sheet, r++,
            {QStringLiteral("Ingrediente"), QStringLiteral("Cantidad"), QStringLiteral("%"),
             QStringLiteral("Cantidad Sola"), QStringLiteral("% Sola")});
    for (const IngredientLine& line : f.ingredientes) {
        sheet.setText(r, 1, line.nombre);
        sheet.setNumber(r, 2, line.cantidad, kQuantity);
        sheet.setNumber(r, 3, line.porcentaje, QStringLiteral("0.00"));
        sheet.setNumber(r, 4, line.cantidadSola, kQuantity);
        sheet.setNumber(r, 5, line.porcentajeSolo, QStringLiteral("0.00"));
        ++r;
    }
    sheet.setColumnWidth(1, 30);
    for (int c = 2; c <= 5; ++c)
        sheet.setColumnWidth(c, 14);
    return sheet;
}

} // namespace

QString formulaSheetName(const QString& codigo, const std::vector<reports::NamedSheet>& taken) {
    QString base = QStringLiteral("F ") + codigo;
    static const QString kForbidden = QStringLiteral("[]:*?/\\'");
    for (QChar& c : base)
        if (kForbidden.contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    base = base.left(28);
    QString name = base;
    for (int n = 2;; ++n) {
        const bool used =
            std::any_of(taken.begin(), taken.end(), [&](const reports::NamedSheet& s) {
                return s.name.compare(name, Qt::CaseInsensitive) == 0;
            });
        if (!used)
            return name;
        name = base + QStringLiteral(" ") + QString::number(n);
    }
}

std::vector<reports::NamedSheet> planSheets(const Plan& plan, const PlanOutcome& outcome) {
    std::vector<reports::NamedSheet> sheets;
    sheets.push_back({QStringLiteral("Resumen"), summary(plan, outcome)});
    for (const FormulaOutcome& f : outcome.formulas)
        sheets.push_back({formulaSheetName(f.formula.codigo, sheets), formulaSheet(f)});
    return sheets;
}

} // namespace tarvela::plan
