#pragma once

#include "formulation/working_model.h"

#include <QChar>
#include <QDate>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// What every output of a formula reads (printout, text document, workbook, CSV): the formula as
// the formulation window holds it, saved or not: its header and totals boxes, the nutrient
// working table by name and the ingredients of the mix, largest share first.
namespace tarvela::reports {

// One line of the section "RELACIONES Y GRUPOS": "Relación Calcio / Fósforo Disponible" or
// "Grupo Cereales" with its limits and value (a ratio whose denominator is 0 in the mix has none).
struct LimitLine {
    QString nombre;
    std::optional<double> minimo;
    std::optional<double> maximo;
    std::optional<double> valor;
};

// What a line's value shows when it has none: a dash, never inf or NaN.
inline const QString kNoValue = QStringLiteral("—");

struct FormulaReport {
    const formulation::WorkingModel& model;
    bool includeCosts = false;
    QDate today;
    QChar decimalSeparator = QLatin1Char('.');
    // The unit of each nutrient, by key, as the catalog names it ("%", "Mcal/kg").
    QHash<int, QString> units = {};

    const formulation::FormulaHeader& header() const { return model.header; }
    const formulation::TotalsTexts& boxes() const { return model.totalsTexts; }
    // The ingredients listed: those in the mix (an as-fed quantity other than 0), in the
    // working table's order.
    std::vector<const formulation::IngredientRow*> ingredientsInMix() const;
    // The ratio limits, then the group limits; empty when the formula has none.
    std::vector<LimitLine> ratioAndGroupLines() const;
    // A line's value as the nutrient section shows a value, or kNoValue.
    QString lineValue(const LimitLine& line) const;

    // "dd/mm/yyyy".
    QString todayText() const;
    // The basis of the nutrient values: "Base Seca" or "Base Húmeda".
    QString nutrientBasis() const;
    // The nutrient's unit; empty when the catalog names none.
    QString unitOf(const formulation::NutrientRow& nutrient) const;
    // A figure with the given pattern and the workstation's separator; empty without a value.
    QString figure(const std::optional<double>& value, const QString& pattern) const;
    // A nutrient's limit or value: "#########0.00".
    QString nutrientFigure(const std::optional<double>& value) const;
    // An ingredient's quantity or cost: "#######0.00".
    QString quantity(const std::optional<double>& value) const;
    // A share (a fraction of 1) in percent: "#######0.00" and " %".
    QString share(const std::optional<double>& fraction) const;
};

inline constexpr char kNutrientPattern[] = "#########0.00";
// The label of the nutrient basis in the header data of the documents that use colons.
inline constexpr char kNutrientBasisLabel[] = "Nutrientes en:";
inline constexpr char kQuantityPattern[] = "#######0.00";

// The name a generated document of the formula takes: "Fórmula <code> v<version>".
QString formulaDocumentName(const formulation::FormulaHeader& header);

} // namespace tarvela::reports
