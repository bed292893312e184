#include "solver/problem.h"

#include <cstddef>

namespace tarvela::simplex {

namespace {

const char* const kMinimumLabel = "Mínimo para ";
const char* const kMaximumLabel = "Máximo para ";

int countNutrientRows(const LpProblem& problem) {
    int rows = 0;
    for (const LpNutrient& n : problem.nutrients) {
        rows += n.minimo ? 1 : 0;
        rows += n.maximo ? 1 : 0;
    }
    return rows;
}

int countIngredientRows(const LpProblem& problem) {
    int rows = 0;
    for (const LpIngredient& ing : problem.ingredients) {
        rows += ing.maximo ? 2 : 1;
    }
    return rows;
}

double contentOf(const LpNutrient& nutrient, std::size_t j) {
    return j < nutrient.contents.size() ? nutrient.contents[j] : 0.0;
}

// Coefficient of ingredient j in a nutrient's minimum row, by basis combination.
double minimumCoefficient(const LpProblem& pb, double v, double d, double minimo) {
    if (pb.vSecaIng && pb.vSecaNut) {
        return -v;
    }
    if (!pb.vSecaIng && pb.vSecaNut) {
        return (minimo - v) * d;
    }
    if (!pb.vSecaIng && !pb.vSecaNut) {
        return -v * d;
    }
    return 0.0; // dry ingredients with as-fed nutrients: refused before the build
}

double maximumCoefficient(const LpProblem& pb, double v, double d, double maximo) {
    if (pb.vSecaIng && pb.vSecaNut) {
        return v;
    }
    if (!pb.vSecaIng && pb.vSecaNut) {
        return (v - maximo) * d;
    }
    if (!pb.vSecaIng && !pb.vSecaNut) {
        return v * d;
    }
    return 0.0;
}

// Right-hand side of a nutrient row: the limit itself unless the limit sits in the coefficients
// (ingredients as fed, nutrients on dry matter) or the combination is not allowed.
bool limitInRightHandSide(const LpProblem& pb) {
    return pb.vSecaIng == pb.vSecaNut;
}

} // namespace

BuiltTableau buildTableau(const LpProblem& problem) {
    const int ni = static_cast<int>(problem.ingredients.size());
    BuiltTableau built;
    built.A = countNutrientRows(problem);
    built.B = countIngredientRows(problem);
    const int m = built.A + built.B + 2;
    built.tableau = Tableau(ni, m);
    built.rowLabels.assign(static_cast<std::size_t>(m) + 1, std::string());
    Tableau& t = built.tableau;
    const double q = problem.Q;

    t.at(0, 0) = 1.0;
    for (int j = 1; j <= ni; ++j) {
        t.at(0, j) = problem.ingredients[static_cast<std::size_t>(j - 1)].price;
    }

    auto startRow = [&](int r, std::string label) {
        t.at(r, ni + r) = 1.0;
        built.rowLabels[static_cast<std::size_t>(r)] = std::move(label);
    };

    int r = 1;
    for (const LpNutrient& n : problem.nutrients) {
        if (n.minimo) {
            startRow(r, kMinimumLabel + n.name);
            for (int j = 1; j <= ni; ++j) {
                const auto& ing = problem.ingredients[static_cast<std::size_t>(j - 1)];
                const double v = contentOf(n, static_cast<std::size_t>(j - 1));
                t.at(r, j) = minimumCoefficient(problem, v, ing.dryFraction, *n.minimo);
            }
            t.rhs(r) = limitInRightHandSide(problem) ? -*n.minimo : 0.0;
            ++r;
        }
        if (n.maximo) {
            startRow(r, kMaximumLabel + n.name);
            for (int j = 1; j <= ni; ++j) {
                const auto& ing = problem.ingredients[static_cast<std::size_t>(j - 1)];
                const double v = contentOf(n, static_cast<std::size_t>(j - 1));
                t.at(r, j) = maximumCoefficient(problem, v, ing.dryFraction, *n.maximo);
            }
            t.rhs(r) = limitInRightHandSide(problem) ? *n.maximo : 0.0;
            ++r;
        }
    }

    for (int k = 1; k <= ni; ++k) {
        const LpIngredient& ing = problem.ingredients[static_cast<std::size_t>(k - 1)];
        startRow(r, kMinimumLabel + ing.name);
        t.at(r, k) = -1.0;
        t.rhs(r) = ing.minimo ? -*ing.minimo / q : 0.0;
        ++r;
        if (ing.maximo) {
            startRow(r, kMaximumLabel + ing.name);
            t.at(r, k) = 1.0;
            t.rhs(r) = *ing.maximo / q;
            if (ing.minimo && *ing.minimo == *ing.maximo) {
                t.rhs(r - 1) += 0.001 / q;
                t.rhs(r) += 0.001 / q;
            }
            ++r;
        }
    }

    startRow(m - 1, "Cantidad > 1.0000001");
    startRow(m, "Cantidad < 0.0000009");
    for (int j = 1; j <= ni; ++j) {
        t.at(m - 1, j) = 1.0;
        t.at(m, j) = -1.0;
    }
    t.rhs(m - 1) = 1.00000001;
    t.rhs(m) = -0.99999999;
    return built;
}

} // namespace tarvela::simplex
