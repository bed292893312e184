#include "solver/problem.h"

#include "solver/tolerances.h"

#include <cstddef>

namespace tarvela::simplex {

namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

double contentAt(const std::vector<double>& contents, std::size_t j) {
    return j < contents.size() ? contents[j] : 0.0;
}

double contentOf(const LpNutrient& nutrient, std::size_t j) {
    return contentAt(nutrient.contents, j);
}

bool equalLimits(const std::optional<double>& minimo, const std::optional<double>& maximo) {
    return minimo && maximo && *minimo == *maximo;
}

} // namespace

std::vector<Limit> rowLimits(const LpProblem& problem) {
    std::vector<Limit> rows;
    for (std::size_t n = 0; n < problem.nutrients.size(); ++n) {
        const LpNutrient& nut = problem.nutrients[n];
        const int index = static_cast<int>(n);
        if (nut.minimo)
            rows.push_back({LimitKind::Nutrient, LimitSide::Minimum, index, *nut.minimo});
        if (nut.maximo)
            rows.push_back({LimitKind::Nutrient, LimitSide::Maximum, index, *nut.maximo});
    }
    for (std::size_t k = 0; k < problem.ratios.size(); ++k) {
        const LpRatio& ratio = problem.ratios[k];
        const int index = static_cast<int>(k);
        if (ratio.minimo)
            rows.push_back({LimitKind::Ratio, LimitSide::Minimum, index, *ratio.minimo});
        if (ratio.maximo)
            rows.push_back({LimitKind::Ratio, LimitSide::Maximum, index, *ratio.maximo});
    }
    for (std::size_t j = 0; j < problem.ingredients.size(); ++j) {
        const LpIngredient& ing = problem.ingredients[j];
        const int index = static_cast<int>(j);
        // The lower-limit row is always there: with no minimum it holds the share at 0 or above.
        rows.push_back(
            {LimitKind::Ingredient, LimitSide::Minimum, index, ing.minimo.value_or(0.0)});
        if (ing.maximo)
            rows.push_back({LimitKind::Ingredient, LimitSide::Maximum, index, *ing.maximo});
    }
    for (std::size_t k = 0; k < problem.groups.size(); ++k) {
        const LpGroup& group = problem.groups[k];
        const int index = static_cast<int>(k);
        if (group.minimo)
            rows.push_back({LimitKind::Group, LimitSide::Minimum, index, *group.minimo});
        if (group.maximo)
            rows.push_back({LimitKind::Group, LimitSide::Maximum, index, *group.maximo});
    }
    rows.push_back({LimitKind::Total, LimitSide::Maximum, -1, problem.Q});
    rows.push_back({LimitKind::Total, LimitSide::Minimum, -1, problem.Q});
    return rows;
}

namespace {

// Each row builder writes the coefficients of the ingredient columns and the right-hand side of
// row r; the row's own slack is set by the caller. Every row is "<=": a minimum is written
// negated.

// Nutrient rows, by basis combination. With ingredients as fed and nutrients on dry matter the
// value is a ratio to the dry matter of the mix, and the limit moves into the coefficients.
void nutrientRow(Tableau& t, int r, const LpProblem& pb, const Limit& row) {
    const LpNutrient& n = pb.nutrients[at(row.index)];
    const double sign = row.side == LimitSide::Minimum ? -1.0 : 1.0;
    for (int j = 1; j <= t.ni(); ++j) {
        const double v = contentOf(n, at(j - 1));
        const double d = pb.ingredients[at(j - 1)].dryFraction;
        double coefficient = 0.0; // dry ingredients with as-fed nutrients: refused before the build
        if (pb.vSecaIng && pb.vSecaNut)
            coefficient = sign * v;
        else if (!pb.vSecaIng && pb.vSecaNut)
            coefficient = sign * (v - row.value) * d;
        else if (!pb.vSecaIng && !pb.vSecaNut)
            coefficient = sign * v * d;
        t.at(r, j) = coefficient;
    }
    t.rhs(r) = pb.vSecaIng == pb.vSecaNut ? sign * row.value : 0.0;
}

// An ingredient's share against its limit in shares of the batch; equal limits widened.
void ingredientRow(Tableau& t, int r, const LpProblem& pb, const Limit& row) {
    const LpIngredient& ing = pb.ingredients[at(row.index)];
    const double sign = row.side == LimitSide::Minimum ? -1.0 : 1.0;
    t.at(r, row.index + 1) = sign;
    // Without a minimum the row only keeps the share from going below 0.
    t.rhs(r) = row.side == LimitSide::Minimum && !ing.minimo ? 0.0 : sign * row.value / pb.Q;
    if (equalLimits(ing.minimo, ing.maximo))
        t.rhs(r) += kEqualLimitsWidening / pb.Q;
}

// The ratio of two nutrients against r: (c_num − r·c_den)·x summed is at least 0 for a minimum,
// at most 0 for a maximum, the contents on the ingredients' basis (the ratio is the same on
// either basis of the nutrients).
void ratioRow(Tableau& t, int r, const LpProblem& pb, const Limit& row) {
    const LpRatio& ratio = pb.ratios[at(row.index)];
    const double sign = row.side == LimitSide::Minimum ? -1.0 : 1.0;
    for (int j = 1; j <= t.ni(); ++j) {
        const double num = basisContent(pb, contentAt(ratio.numerator, at(j - 1)), j - 1);
        const double den = basisContent(pb, contentAt(ratio.denominator, at(j - 1)), j - 1);
        t.at(r, j) = sign * (num - row.value * den);
    }
    t.rhs(r) = 0.0;
}

// The members' shares together against the limit in shares of the batch; equal limits widened.
void groupRow(Tableau& t, int r, const LpProblem& pb, const Limit& row) {
    const LpGroup& group = pb.groups[at(row.index)];
    const double sign = row.side == LimitSide::Minimum ? -1.0 : 1.0;
    for (int member : group.members)
        t.at(r, member + 1) = sign;
    t.rhs(r) = sign * row.value / pb.Q;
    if (equalLimits(group.minimo, group.maximo))
        t.rhs(r) += kEqualLimitsWidening / pb.Q;
}

// The shares add up to between kShareSumBelow and kShareSumAbove.
void totalRow(Tableau& t, int r, const LpProblem&, const Limit& row) {
    const double sign = row.side == LimitSide::Minimum ? -1.0 : 1.0;
    for (int j = 1; j <= t.ni(); ++j)
        t.at(r, j) = sign;
    t.rhs(r) = row.side == LimitSide::Minimum ? -kShareSumBelow : kShareSumAbove;
}

void fillRow(Tableau& t, int r, const LpProblem& pb, const Limit& row) {
    switch (row.kind) {
    case LimitKind::Nutrient:
        return nutrientRow(t, r, pb, row);
    case LimitKind::Ratio:
        return ratioRow(t, r, pb, row);
    case LimitKind::Ingredient:
        return ingredientRow(t, r, pb, row);
    case LimitKind::Group:
        return groupRow(t, r, pb, row);
    case LimitKind::Total:
        return totalRow(t, r, pb, row);
    }
}

} // namespace

double basisContent(const LpProblem& problem, double v, int j) {
    return problem.vSecaIng ? v : v * problem.ingredients[at(j)].dryFraction;
}

int BuiltTableau::rowsOf(LimitKind kind) const {
    int count = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
        count += rows[i].kind == kind ? 1 : 0;
    return count;
}

std::string rowLabel(const LpProblem& problem, const Limit& row) {
    const std::string side = row.side == LimitSide::Minimum ? "Mínimo para " : "Máximo para ";
    switch (row.kind) {
    case LimitKind::Nutrient:
        return side + problem.nutrients[at(row.index)].name;
    case LimitKind::Ratio:
        return side + "Relación " + problem.ratios[at(row.index)].name;
    case LimitKind::Ingredient:
        return side + problem.ingredients[at(row.index)].name;
    case LimitKind::Group:
        return side + "Grupo " + problem.groups[at(row.index)].name;
    case LimitKind::Total:
        return row.side == LimitSide::Maximum ? "Cantidad > 1.0000001" : "Cantidad < 0.0000009";
    }
    return {};
}

double rowTighteningPerUnit(const LpProblem& problem, const Limit& row,
                            const std::vector<double>& x) {
    const double sign = row.side == LimitSide::Minimum ? 1.0 : -1.0;
    switch (row.kind) {
    case LimitKind::Nutrient: {
        if (problem.vSecaIng || !problem.vSecaNut)
            return sign;
        // The limit sits in the coefficients, each times the ingredient's dry matter.
        double dryOfMix = 0;
        for (std::size_t j = 0; j < x.size(); ++j)
            dryOfMix += problem.ingredients[j].dryFraction * x[j];
        return sign * dryOfMix;
    }
    case LimitKind::Ratio: {
        // One unit more of the ratio asks the denominator's value once more of the numerator.
        const LpRatio& ratio = problem.ratios[at(row.index)];
        double denominator = 0;
        for (std::size_t j = 0; j < x.size(); ++j)
            denominator +=
                basisContent(problem, contentAt(ratio.denominator, j), static_cast<int>(j)) * x[j];
        return sign * denominator;
    }
    case LimitKind::Ingredient:
    case LimitKind::Group:
        return sign / problem.Q;
    case LimitKind::Total:
        return 0.0;
    }
    return 0.0;
}

BuiltTableau buildTableau(const LpProblem& problem) {
    const int ni = static_cast<int>(problem.ingredients.size());
    BuiltTableau built;
    std::vector<Limit> rows = rowLimits(problem);
    const int m = static_cast<int>(rows.size());
    built.tableau = Tableau(ni, m);
    built.rows.reserve(rows.size() + 1);
    built.rows.push_back({LimitKind::Total, LimitSide::Maximum, -1, 0}); // row 0: the objective
    built.rowLabels.reserve(rows.size() + 1);
    built.rowLabels.emplace_back();
    Tableau& t = built.tableau;

    t.at(0, 0) = 1.0;
    for (int j = 1; j <= ni; ++j)
        t.at(0, j) = problem.ingredients[at(j - 1)].price;
    for (int r = 1; r <= m; ++r) {
        const Limit& row = rows[at(r - 1)];
        t.at(r, ni + r) = 1.0;
        fillRow(t, r, problem, row);
        built.rowLabels.push_back(rowLabel(problem, row));
        built.rows.push_back(row);
    }
    return built;
}

} // namespace tarvela::simplex
