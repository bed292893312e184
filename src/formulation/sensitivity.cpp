#include "formulation/sensitivity.h"

#include "formulation/ingredient_index.h"

namespace tarvela::formulation {

namespace {

// Entries smaller than this are round-off of the pivots, not coefficients of the mix.
constexpr double kEntryTolerance = 1e-9;

bool isMaximumLabel(const QString& label) {
    return label.left(6) == QStringLiteral("Máximo");
}

Opt sum(const Opt& a, const Opt& b) {
    if (!a || !b)
        return std::nullopt;
    return *a + *b;
}

} // namespace

std::vector<AnalysisRecord> analysisRecords(const SensitivityInput& in,
                                            const std::vector<IngredientRow>& ingredients) {
    const simplex::Tableau& t = in.tableau;
    const int ni = t.ni();
    const int m = t.m();
    const int p = t.p();
    const double unitCost = -t.at(0, p);

    std::vector<char> basic(static_cast<size_t>(t.cols()), 0);
    for (int i = 1; i <= m; ++i)
        basic[static_cast<size_t>(t.basis()[static_cast<size_t>(i)])] = 1;

    const IngredientIndex byKey(ingredients);
    const auto ingredientFor = [&](int column) -> const IngredientRow* {
        const int k = byKey.position(in.keys[static_cast<size_t>(column - 1)]);
        return k < 0 ? nullptr : &ingredients[static_cast<size_t>(k)];
    };
    const auto dry = [&](int column) { return in.dryFractions[static_cast<size_t>(column - 1)]; };

    std::vector<AnalysisRecord> records;

    // Ingredients in the mix: how far the price may rise before the mix changes. A row without a
    // positive entry in any non-basic column sets no limit on the rise.
    for (int i = 1; i <= m; ++i) {
        const int k = t.basis()[static_cast<size_t>(i)];
        if (k < 1 || k > ni)
            continue;
        Opt ratio;
        for (int j = 1; j <= ni + m - 2; ++j) {
            if (basic[static_cast<size_t>(j)])
                continue;
            const double entry = t.at(i, j);
            if (entry <= kEntryTolerance)
                continue;
            const double r = t.at(0, j) / entry;
            if (!ratio || r < *ratio)
                ratio = r;
        }
        AnalysisRecord rec;
        rec.tipo = QStringLiteral("IA");
        if (const IngredientRow* row = ingredientFor(k)) {
            rec.detalle = row->nombre;
            rec.valor1 = row->costo_humeda;
            if (ratio)
                rec.valor2 = in.vSecaIng ? *ratio * dry(k) : *ratio;
            rec.valor3 = sum(rec.valor1, rec.valor2);
        }
        records.push_back(std::move(rec));
    }

    // Ingredients left out: by how much the price exceeds the price at which they would enter.
    for (int j = 1; j <= ni; ++j) {
        if (basic[static_cast<size_t>(j)])
            continue;
        AnalysisRecord rec;
        rec.tipo = QStringLiteral("II");
        if (const IngredientRow* row = ingredientFor(j)) {
            rec.detalle = row->nombre;
            rec.valor1 = row->costo_humeda;
            rec.valor2 = in.vSecaIng ? t.at(0, j) * dry(j) : t.at(0, j);
            if (rec.valor1)
                rec.valor3 = *rec.valor1 - *rec.valor2;
        }
        records.push_back(std::move(rec));
    }

    // Binding nutrient rows. With ingredients as fed and nutrients on dry matter the limit sits
    // in the coefficients: one unit more of the limit moves the row by the dry matter of the mix.
    double dryOfMix = 1.0;
    if (!in.vSecaIng && in.vSecaNut) {
        dryOfMix = 0;
        for (int i = 1; i <= m; ++i) {
            const int k = t.basis()[static_cast<size_t>(i)];
            if (k >= 1 && k <= ni)
                dryOfMix += dry(k) * t.rhs(i);
        }
    }
    const auto constraintRecord = [&](const QString& tipo, int c, double scale) {
        const QString& label = in.rowLabels[static_cast<size_t>(c - ni)];
        AnalysisRecord rec;
        rec.tipo = tipo;
        rec.detalle = label;
        rec.valor1 = unitCost * in.Q;
        const double perUnit = isMaximumLabel(label) ? -t.at(0, c) : t.at(0, c);
        rec.valor2 = perUnit * scale;
        rec.valor3 = *rec.valor1 + *rec.valor2;
        records.push_back(std::move(rec));
    };
    for (int c = ni + 1; c <= ni + in.A; ++c)
        if (!basic[static_cast<size_t>(c)])
            constraintRecord(QStringLiteral("RN"), c, in.Q * dryOfMix);
    // Ingredient limits are batch quantities and their rows are in shares: no factor Q.
    for (int c = ni + in.A + 1; c <= ni + in.A + in.B; ++c)
        if (!basic[static_cast<size_t>(c)])
            constraintRecord(QStringLiteral("RI"), c, 1.0);

    return records;
}

} // namespace tarvela::formulation
