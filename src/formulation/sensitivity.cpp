#include "formulation/sensitivity.h"

#include "formulation/ingredient_index.h"
#include "solver/ranging.h"
#include "solver/tolerances.h"

namespace tarvela::formulation {

namespace {

Opt sum(const Opt& a, const Opt& b) {
    if (!a || !b)
        return std::nullopt;
    return *a + *b;
}

// The key of the item a limit row speaks of.
void setLimitItem(AnalysisRecord& rec, const simplex::LpProblem& problem,
                  const simplex::Limit& row) {
    const auto k = static_cast<size_t>(row.index);
    switch (row.kind) {
    case simplex::LimitKind::Nutrient:
        rec.itemId = problem.nutrients[k].id;
        break;
    case simplex::LimitKind::Ingredient:
        rec.itemId = problem.ingredients[k].id;
        break;
    case simplex::LimitKind::Ratio:
        rec.itemId = problem.ratios[k].idNum;
        rec.itemId2 = problem.ratios[k].idDen;
        break;
    case simplex::LimitKind::Group:
        rec.itemId = problem.groups[k].id;
        break;
    case simplex::LimitKind::Total:
        break;
    }
}

} // namespace

std::optional<AnalysisKind> analysisKindOf(simplex::LimitKind kind) {
    switch (kind) {
    case simplex::LimitKind::Nutrient:
        return AnalysisKind::NutrientLimit;
    case simplex::LimitKind::Ingredient:
        return AnalysisKind::IngredientLimit;
    case simplex::LimitKind::Ratio:
        return AnalysisKind::RatioLimit;
    case simplex::LimitKind::Group:
        return AnalysisKind::GroupLimit;
    case simplex::LimitKind::Total:
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<AnalysisRecord> analysisRecords(const simplex::BuiltTableau& built,
                                            const simplex::LpProblem& problem,
                                            const std::vector<IngredientRow>& ingredients) {
    const simplex::Tableau t = simplex::withZeroSharesOutOfBasis(built.tableau);
    const int ni = t.ni();
    const int m = t.m();
    const int p = t.p();
    const double unitCost = -t.at(0, p);
    const auto rowOf = [&](int slack) -> const simplex::Limit& {
        return built.rows[static_cast<size_t>(slack - ni)];
    };

    std::vector<char> basic(static_cast<size_t>(t.cols()), 0);
    std::vector<double> shares(static_cast<size_t>(ni), 0.0);
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[static_cast<size_t>(i)];
        basic[static_cast<size_t>(b)] = 1;
        if (b >= 1 && b <= ni)
            shares[static_cast<size_t>(b - 1)] = t.rhs(i);
    }

    const IngredientIndex byKey(ingredients);
    const auto ingredientFor = [&](int column) -> const IngredientRow* {
        const int k = byKey.position(problem.ingredients[static_cast<size_t>(column - 1)].id);
        return k < 0 ? nullptr : &ingredients[static_cast<size_t>(k)];
    };
    const auto dry = [&](int column) {
        return problem.ingredients[static_cast<size_t>(column - 1)].dryFraction;
    };

    std::vector<AnalysisRecord> records;

    // Ingredients in the mix: how far the price may rise before the mix changes. The slacks of
    // the total-share rows only mark where the total moves within its band, and a row without a
    // positive entry in any other non-basic column sets no limit on the rise.
    for (int i = 1; i <= m; ++i) {
        const int k = t.basis()[static_cast<size_t>(i)];
        if (k < 1 || k > ni)
            continue;
        Opt ratio;
        for (int j = 1; j <= ni + m; ++j) {
            if (basic[static_cast<size_t>(j)] ||
                (j > ni && rowOf(j).kind == simplex::LimitKind::Total))
                continue;
            const double entry = t.at(i, j);
            if (entry <= simplex::kRoundOff)
                continue;
            const double r = t.at(0, j) / entry;
            if (!ratio || r < *ratio)
                ratio = r;
        }
        AnalysisRecord rec;
        rec.kind = AnalysisKind::IngredientInMix;
        rec.itemId = problem.ingredients[static_cast<size_t>(k - 1)].id;
        if (const IngredientRow* row = ingredientFor(k)) {
            rec.detalle = row->nombre;
            rec.valor1 = row->costo_humeda;
            if (ratio)
                rec.valor2 = problem.vSecaIng ? *ratio * dry(k) : *ratio;
            rec.valor3 = sum(rec.valor1, rec.valor2);
        }
        records.push_back(std::move(rec));
    }

    // Ingredients left out: by how much the price exceeds the price at which they would enter.
    for (int j = 1; j <= ni; ++j) {
        if (basic[static_cast<size_t>(j)])
            continue;
        AnalysisRecord rec;
        rec.kind = AnalysisKind::IngredientLeftOut;
        rec.itemId = problem.ingredients[static_cast<size_t>(j - 1)].id;
        if (const IngredientRow* row = ingredientFor(j)) {
            rec.detalle = row->nombre;
            rec.valor1 = row->costo_humeda;
            rec.valor2 = problem.vSecaIng ? t.at(0, j) * dry(j) : t.at(0, j);
            if (rec.valor1)
                rec.valor3 = *rec.valor1 - *rec.valor2;
        }
        records.push_back(std::move(rec));
    }

    // Binding limit rows, kind by kind in the order of the kinds and rows in their order: the
    // change of the batch cost per unit of the limit.
    for (AnalysisKind kind : {AnalysisKind::NutrientLimit, AnalysisKind::IngredientLimit,
                              AnalysisKind::RatioLimit, AnalysisKind::GroupLimit}) {
        for (int c = ni + 1; c <= ni + m; ++c) {
            const simplex::Limit& row = rowOf(c);
            if (basic[static_cast<size_t>(c)] || analysisKindOf(row.kind) != kind)
                continue;
            // A minimum of 0 on an ingredient only says that a quantity is never negative: the
            // ingredient's own record prices its entry.
            if (row.kind == simplex::LimitKind::Ingredient &&
                row.side == simplex::LimitSide::Minimum && row.value == 0)
                continue;
            AnalysisRecord rec;
            rec.kind = kind;
            rec.detalle = QString::fromStdString(built.rowLabels[static_cast<size_t>(c - ni)]);
            rec.valor1 = unitCost * problem.Q;
            rec.valor2 =
                t.at(0, c) * simplex::rowTighteningPerUnit(problem, row, shares) * problem.Q;
            rec.valor3 = *rec.valor1 + *rec.valor2;
            const simplex::ValueRange range = simplex::limitRange(t, problem, c - ni, row);
            rec.ranged = true;
            rec.validoDesde = range.from;
            rec.validoHasta = range.to;
            rec.maximo = row.side == simplex::LimitSide::Maximum;
            setLimitItem(rec, problem, row);
            records.push_back(std::move(rec));
        }
    }
    return records;
}

} // namespace tarvela::formulation
