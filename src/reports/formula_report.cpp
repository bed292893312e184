#include "reports/formula_report.h"

#include "formulation/mix_share.h"
#include "reports/output_file.h"
#include "text/format.h"

namespace tarvela::reports {

std::vector<const formulation::IngredientRow*> FormulaReport::ingredientsInMix() const {
    std::vector<const formulation::IngredientRow*> rows;
    for (const formulation::IngredientRow& row : model.ingredients)
        if (formulation::isInMix(row.cantidad_humeda, model.batchQuantity))
            rows.push_back(&row);
    return rows;
}

std::vector<LimitLine> FormulaReport::ratioAndGroupLines() const {
    std::vector<LimitLine> lines;
    for (const formulation::RatioRow& r : model.relaciones)
        lines.push_back({formulation::ratioCaption(r), r.minimo, r.maximo, r.valor});
    for (const formulation::GroupRow& g : model.grupos)
        lines.push_back({formulation::groupCaption(g), g.minimo, g.maximo, g.valor});
    return lines;
}

QString FormulaReport::lineValue(const LimitLine& line) const {
    return line.valor ? nutrientFigure(line.valor) : kNoValue;
}

QString FormulaReport::todayText() const {
    return text::formatDate(today, QStringLiteral("dd/mm/yyyy"));
}

QString FormulaReport::nutrientBasis() const {
    return model.vSecaNut ? QStringLiteral("Base Seca") : QStringLiteral("Base Húmeda");
}

QString FormulaReport::unitOf(const formulation::NutrientRow& nutrient) const {
    return units.value(nutrient.id_propiedad).trimmed();
}

QString FormulaReport::figure(const std::optional<double>& value, const QString& pattern) const {
    return value ? text::formatNumber(*value, pattern, decimalSeparator) : QString();
}

QString FormulaReport::nutrientFigure(const std::optional<double>& value) const {
    return figure(value, QString::fromLatin1(kNutrientPattern));
}

QString FormulaReport::quantity(const std::optional<double>& value) const {
    return figure(value, QString::fromLatin1(kQuantityPattern));
}

QString FormulaReport::share(const std::optional<double>& fraction) const {
    if (!fraction)
        return QString();
    return figure(*fraction * 100, QString::fromLatin1(kQuantityPattern)) + QStringLiteral(" %");
}

QString formulaDocumentName(const formulation::FormulaHeader& header) {
    QString name = QStringLiteral("Fórmula");
    if (!header.codigo.trimmed().isEmpty())
        name += QLatin1Char(' ') + header.codigo.trimmed();
    if (!header.version.trimmed().isEmpty())
        name += QStringLiteral(" v") + header.version.trimmed();
    return fileNamePart(name);
}

} // namespace tarvela::reports
