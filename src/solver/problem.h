#pragma once

#include "solver/simplex.h"

#include <optional>
#include <string>
#include <vector>

// The least-cost programme as the run states it, and its tableau. Plain C++: the solver tests
// and benchmarks build problems without a database.
namespace tarvela::simplex {

struct LpIngredient {
    int id = 0;
    std::string name;       // UTF-8, trimmed
    double price = 0;       // per unit of the ingredients' basis (dry price when on dry matter)
    double dryFraction = 1; // materia_seca / 100
    std::optional<double> minimo; // batch quantities on the ingredients' basis
    std::optional<double> maximo;
};

struct LpNutrient {
    std::string name; // UTF-8, trimmed
    std::optional<double> minimo;
    std::optional<double> maximo;
    std::vector<double> contents; // dry-basis content per ingredient, same order as ingredients
};

struct LpProblem {
    double Q = 1000;
    bool vSecaIng = true;
    bool vSecaNut = true;
    std::vector<LpIngredient> ingredients; // in id_producto order: column j = ingredient j-1
    std::vector<LpNutrient> nutrients;     // in the nutrient table's order
};

struct BuiltTableau {
    Tableau tableau;
    std::vector<std::string> rowLabels; // index 0 empty, 1..M the constraint rows
    int A = 0;                          // nutrient rows
    int B = 0;                          // ingredient-limit rows
};

// Builds the tableau: nutrient rows (minimum then maximum), ingredient rows (lower limit always,
// upper limit when set; equal limits widened by 0.001 batch units), the two total-share rows,
// the price row, the slack basis.
BuiltTableau buildTableau(const LpProblem& problem);

} // namespace tarvela::simplex
