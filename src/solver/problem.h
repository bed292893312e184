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
    int id = 0;                   // the nutrient's key, for the readers of the results
};

// A limit on the ratio of two nutrients' values in the mix, the same on either basis.
struct LpRatio {
    std::string name; // UTF-8: "Calcio / Fósforo Disponible"
    std::optional<double> minimo;
    std::optional<double> maximo;
    std::vector<double> numerator; // dry-basis contents per ingredient, as LpNutrient::contents
    std::vector<double> denominator;
    int idNum = 0; // the nutrients' keys, for the readers of the results
    int idDen = 0;
};

// A limit on the total quantity of a group of ingredients in the batch.
struct LpGroup {
    std::string name;             // UTF-8, trimmed
    std::optional<double> minimo; // batch quantities on the ingredients' basis
    std::optional<double> maximo;
    std::vector<int> members; // positions of the member ingredients in the problem
    int id = 0;               // the group's key, for the readers of the results
};

struct LpProblem {
    double Q = 1000;
    bool vSecaIng = true;
    bool vSecaNut = true;
    std::vector<LpIngredient> ingredients; // in id_producto order: column j = ingredient j-1
    std::vector<LpNutrient> nutrients;     // in the nutrient table's order
    std::vector<LpRatio> ratios;
    std::vector<LpGroup> groups;
};

// What a limit bounds. Each kind has its rows in the tableau, in this order.
enum class LimitKind {
    Nutrient,   // the value of a nutrient in the mix
    Ratio,      // the ratio of two nutrients' values
    Ingredient, // the quantity of an ingredient in the batch
    Group,      // the total quantity of a group of ingredients
    Total,      // the batch: the shares adding up to 1
};

// A content on the terms of the ingredients' basis: the dry-basis content v of ingredient j, or
// v times its dry matter when ingredients are as fed.
double basisContent(const LpProblem& problem, double v, int j);

enum class LimitSide { Minimum, Maximum };

// One limit of the problem: its kind, side, the position of its nutrient or ingredient in the
// problem (-1 for the batch) and its value in the formula's units (nutrient units, batch units,
// the batch quantity).
struct Limit {
    LimitKind kind = LimitKind::Nutrient;
    LimitSide side = LimitSide::Minimum;
    int index = -1;
    double value = 0;

    bool operator==(const Limit&) const = default;
};

// The limits the tableau states, one per constraint row, in the order of the rows.
std::vector<Limit> rowLimits(const LpProblem& problem);

struct BuiltTableau {
    Tableau tableau;
    // What each constraint row states (index 0 unused): an ingredient's lower-limit row without a
    // minimum states a minimum of 0; the total-share rows state the batch.
    std::vector<Limit> rows;
    std::vector<std::string> rowLabels; // index 0 empty, 1..M the constraint rows

    // How many constraint rows state limits of a kind.
    int rowsOf(LimitKind kind) const;
};

// Builds the tableau: nutrient rows (minimum then maximum), ratio rows (sum of
// (c_num − r·c_den)·x at least 0 for a minimum r, at most 0 for a maximum), ingredient rows (lower
// limit always, upper limit when set; equal limits widened by kEqualLimitsWidening batch units),
// group rows (the members' shares together, equal limits widened alike), the two total-share
// rows, the price row, the slack basis.
BuiltTableau buildTableau(const LpProblem& problem);

// The row's label as the analysis shows it: "Mínimo para Proteína", "Máximo para Maíz",
// "Mínimo para Relación Calcio / Fósforo Disponible", "Máximo para Grupo Cereales",
// "Cantidad > 1.0000001".
std::string rowLabel(const LpProblem& problem, const Limit& row);

// By how much a limit's row tightens (its left side grows against its right-hand side) at the
// shares x when the limit rises by one unit: negative for a maximum, which loosens. The reduced
// cost of the row's slack times this is the change of the unit cost per unit of the limit.
double rowTighteningPerUnit(const LpProblem& problem, const Limit& row,
                            const std::vector<double>& x);

} // namespace tarvela::simplex
