#pragma once

#include "db/connection.h"
#include "reports/workbook.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// Formulas compared side by side: for each marked version its list data, batch totals and unit
// costs, the value reached for each nutrient and the dry quantity, dry share and cost of each
// ingredient, nutrients and ingredients lined up by identifier. The comparison only reads.
namespace tarvela::formulas {

// A marked line of the formula list, as the list shows it.
struct ListedFormula {
    int id = 0;
    QString codigo; // without its blanks
    QString producto;
    QString version;
    QString fechaModificacion; // "dd/mm/yyyy" or empty
};

struct ComparedFormula {
    ListedFormula listed;
    // The basis the formula's nutrient values are expressed on ("Base Seca" when true).
    bool nutrientsDry = true;
    // Batch totals and unit costs, rounded as shown (2 decimals; unit costs 4).
    double cantidadHumeda = 0;
    double cantidadSeca = 0;
    double materiaSeca = 0; // percentage of the mix
    double costoUHumeda = 0;
    double costoUSeca = 0; // per unit of dry matter; ingredients without dry matter add 0
    double costoTotal = 0;
};

// One nutrient or ingredient and its figures in each compared formula.
struct ComparedItem {
    int id = 0;
    QString nombre;
    // Per formula, in the comparison's order: empty when the formula does not hold the item.
    // A nutrient has its value in [0]; an ingredient its dry quantity, dry share in percent and
    // price as fed.
    std::vector<std::optional<std::array<std::optional<double>, 3>>> figures;
};

struct Comparison {
    std::vector<ComparedFormula> formulas;
    std::vector<ComparedItem> nutrients;   // in the order first met
    std::vector<ComparedItem> ingredients; // in the order first met
    // Ratio limits ("Relación Calcio / Fósforo Disponible", id numerator × 32768 + denominator),
    // then group limits ("Grupo Cereales", id minus the group's): the value after the last run
    // in [0], each in the order first met.
    std::vector<ComparedItem> limits;
};

// Reads the marked formulas' ingredient, nutrient, ratio and group rows. Throws db::DbError.
Comparison buildComparison(db::Connection& conn, const std::vector<ListedFormula>& marked);

// The comparison as a worksheet: columns A and B hidden, the row labels in C and three columns
// per formula from D on.
reports::Sheet comparisonSheet(const Comparison& comparison);

} // namespace tarvela::formulas
