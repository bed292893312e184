#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include "formulation/sensitivity.h"
#include "solver/problem.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include <cmath>

namespace tarvela::test {
namespace {

using formulation::AnalysisKind;
using formulation::AnalysisRecord;
using simplex::LpIngredient;
using simplex::LpNutrient;
using simplex::LpProblem;

struct Ingredient {
    int id;
    const char* name;
    double precioHumeda;
    double materiaSeca; // percent
    std::optional<double> minimo, maximo;
    std::vector<double> contents;
};
struct Nutrient {
    const char* name;
    std::optional<double> minimo, maximo;
};

LpProblem makeProblem(bool secaIng, bool secaNut, const std::vector<Ingredient>& ings,
                      const std::vector<Nutrient>& nuts, double Q = 1000) {
    LpProblem p;
    p.Q = Q;
    p.vSecaIng = secaIng;
    p.vSecaNut = secaNut;
    for (const Ingredient& i : ings) {
        const double d = i.materiaSeca / 100;
        p.ingredients.push_back(
            {i.id, i.name, secaIng ? i.precioHumeda / d : i.precioHumeda, d, i.minimo, i.maximo});
    }
    for (size_t n = 0; n < nuts.size(); ++n) {
        LpNutrient nut{nuts[n].name, nuts[n].minimo, nuts[n].maximo, {}};
        for (const Ingredient& i : ings)
            nut.contents.push_back(i.contents[n]);
        p.nutrients.push_back(nut);
    }
    return p;
}

struct Solved {
    simplex::SolveReport report;
    std::vector<AnalysisRecord> records;
};

Solved solveWithRecords(const LpProblem& p) {
    simplex::BuiltTableau built = simplex::buildTableau(p);
    Solved s;
    s.report = simplex::solve(built.tableau);
    std::vector<formulation::IngredientRow> rows;
    for (const LpIngredient& i : p.ingredients) {
        formulation::IngredientRow r;
        r.id_producto = i.id;
        r.nombre = QString::fromStdString(i.name);
        r.costo_humeda = p.vSecaIng ? i.price * i.dryFraction : i.price;
        rows.push_back(r);
    }
    s.records = formulation::analysisRecords(built, p, rows);
    return s;
}

double batchCost(const LpProblem& p) {
    const auto s = solveProblemWithGlpk(p);
    EXPECT_TRUE(s.has_value());
    return s ? s->unitCost * p.Q : NAN;
}

// The limit a constraint record speaks of, found by its label.
std::optional<double>* limitOf(LpProblem& p, const AnalysisRecord& rec) {
    const bool maximum = rec.detalle.startsWith(QStringLiteral("Máximo para "));
    const std::string name = rec.detalle.mid(12).toStdString();
    if (rec.kind == AnalysisKind::RatioLimit) {
        for (simplex::LpRatio& r : p.ratios)
            if ("Relación " + r.name == name)
                return maximum ? &r.maximo : &r.minimo;
        return nullptr;
    }
    if (rec.kind == AnalysisKind::GroupLimit) {
        for (simplex::LpGroup& g : p.groups)
            if ("Grupo " + g.name == name)
                return maximum ? &g.maximo : &g.minimo;
        return nullptr;
    }
    if (rec.kind == AnalysisKind::NutrientLimit) {
        for (LpNutrient& n : p.nutrients)
            if (n.name == name)
                return maximum ? &n.maximo : &n.minimo;
    } else {
        for (LpIngredient& i : p.ingredients)
            if (i.name == name)
                return maximum ? &i.maximo : &i.minimo;
    }
    return nullptr;
}

// Every record against the re-solved programme: the cost of one unit more of each binding
// limit, the price range of each ingredient in the mix, the entry price of each one left out.
void expectRecordsMatchReSolving(const LpProblem& p, std::map<AnalysisKind, int>& counts,
                                 bool expectNutrientAndLimit = true) {
    const Solved s = solveWithRecords(p);
    ASSERT_EQ(s.report.outcome, simplex::Outcome::Optimal);
    const double base = batchCost(p);
    for (const AnalysisRecord& rec : s.records) {
        SCOPED_TRACE(formulation::analysisCode(rec.kind).toStdString() + " " +
                     rec.detalle.toStdString());
        ++counts[rec.kind];
        if (rec.kind != AnalysisKind::IngredientInMix &&
            rec.kind != AnalysisKind::IngredientLeftOut) {
            EXPECT_NEAR(*rec.valor1, base, 1e-9 * base);
            LpProblem q = p;
            std::optional<double>* limit = limitOf(q, rec);
            ASSERT_TRUE(limit) << "a record of a limit the problem does not state";
            // An ingredient's lower-limit row without a minimum only keeps its share from going
            // below 0: at a degenerate optimum its slack may be out of the basis.
            if (!limit->has_value())
                continue;
            const double h = 1e-3;
            **limit += h;
            const double fd = (batchCost(q) - base) / h;
            EXPECT_NEAR(*rec.valor2, fd, 1e-3 * std::max(1.0, std::fabs(fd)));
            EXPECT_DOUBLE_EQ(*rec.valor3, *rec.valor1 + *rec.valor2);
            continue;
        }
        // Ingredients: move the price and watch the cost's slope (the ingredient's share).
        size_t k = 0;
        while (QString::fromStdString(p.ingredients[k].name) != rec.detalle)
            ++k;
        const double d = p.ingredients[k].dryFraction;
        const double toBasis = p.vSecaIng ? 1 / d : 1.0; // as-fed price step to the LP's price
        const auto costAtPriceStep = [&](double asFedStep) {
            LpProblem q = p;
            q.ingredients[k].price += asFedStep * toBasis;
            return batchCost(q);
        };
        const auto shareAtPriceStep = [&](double asFedStep) {
            LpProblem q = p;
            q.ingredients[k].price += asFedStep * toBasis;
            const auto solved = solveProblemWithGlpk(q);
            return solved ? solved->shares[k] : NAN;
        };
        const auto glpk = solveProblemWithGlpk(p);
        const double share = glpk->shares[k];
        if (rec.kind == AnalysisKind::IngredientInMix) {
            if (!rec.valor2) {
                // Unlimited: the share stays whatever the price rise.
                EXPECT_NEAR(costAtPriceStep(100.0), base + 100.0 * toBasis * share * p.Q, 1e-6);
                continue;
            }
            // The share holds up to the rise and falls just past it. The total may move within
            // its band of 0.99999999 to 1.00000001 before: that is not a change of the mix.
            const double rise = *rec.valor2;
            EXPECT_GE(rise, 0);
            EXPECT_NEAR(shareAtPriceStep(0.99 * rise), share, 1e-7);
            EXPECT_LT(shareAtPriceStep(1.05 * rise), share - 1e-6);
        } else {
            EXPECT_EQ(rec.kind, AnalysisKind::IngredientLeftOut);
            const double excess = *rec.valor2;
            EXPECT_GE(excess, 0);
            EXPECT_DOUBLE_EQ(*rec.valor3, *rec.valor1 - excess);
            EXPECT_NEAR(costAtPriceStep(-0.99 * excess), base, 1e-7);
            if (excess > 1e-6) {
                EXPECT_LT(costAtPriceStep(-1.5 * excess), base - 1e-9);
            }
        }
    }
    if (expectNutrientAndLimit) {
        EXPECT_GE(counts[AnalysisKind::NutrientLimit], 1);
        EXPECT_GE(counts[AnalysisKind::IngredientLimit], 1);
    }
}

void expectRecordsMatchReSolving(const LpProblem& p) {
    std::map<AnalysisKind, int> counts;
    expectRecordsMatchReSolving(p, counts);
}

const std::vector<Ingredient> kIngredients = {
    {11, "Maíz", 0.20, 88, std::nullopt, std::nullopt, {9, 3.8}},
    {12, "Soja", 0.42, 89, std::nullopt, std::nullopt, {48, 7}},
    {13, "Silaje", 0.05, 35, std::nullopt, 500.0, {8, 45}},
    {14, "Girasol", 0.30, 90, std::nullopt, std::nullopt, {34, 25}},
    {15, "Núcleo", 1.20, 95, 10.0, 12.0, {0, 0}},
};

TEST(Sensitivity, AsFedIngredientsWithDryNutrientsCostTheDryMatterOfTheMix) {
    const LpProblem p = makeProblem(false, true, kIngredients,
                                    {{"Proteína", 16.0, std::nullopt}, {"FDN", 25.0, 40.0}});
    expectRecordsMatchReSolving(p);

    // The value differs from the unscaled reduced cost by the mix's dry matter.
    const Solved s = solveWithRecords(p);
    const auto glpk = solveProblemWithGlpk(p);
    double dry = 0;
    for (size_t k = 0; k < p.ingredients.size(); ++k)
        dry += p.ingredients[k].dryFraction * glpk->shares[k];
    EXPECT_LT(dry, 0.9);
    for (const AnalysisRecord& r : s.records)
        if (r.detalle == QStringLiteral("Mínimo para Proteína")) {
            EXPECT_GT(*r.valor2, 0);
        }
}

// A ratio and a group held beyond where the cheapest mix would put them: their records are the
// costs of moving them, as re-solving finds them, on every basis combination.
TEST(Sensitivity, RatioAndGroupRecordsMatchReSolving) {
    const std::pair<bool, bool> bases[] = {{false, false}, {false, true}, {true, true}};
    for (const auto& [secaIng, secaNut] : bases) {
        SCOPED_TRACE(std::to_string(secaIng) + std::to_string(secaNut));
        LpProblem p = makeProblem(secaIng, secaNut, kIngredients,
                                  {{"Proteína", 14.0, std::nullopt}, {"FDN", std::nullopt, 60.0}});
        const auto free = solveProblemWithGlpk(p);
        ASSERT_TRUE(free);
        simplex::LpRatio ratio{"Proteína / FDN", std::nullopt, std::nullopt,
                               p.nutrients[0].contents, p.nutrients[1].contents};
        const std::optional<double> value = ratioValue(p, ratio, free->shares);
        ASSERT_TRUE(value);
        ratio.minimo = std::round(*value * 1.15 * 100) / 100;
        p.ratios.push_back(ratio);
        simplex::LpGroup group{"Granos", std::nullopt, std::nullopt, {0, 1}};
        const auto withRatio = solveProblemWithGlpk(p);
        ASSERT_TRUE(withRatio);
        group.maximo = std::round(groupShare(group, withRatio->shares) * p.Q * 0.9);
        p.groups.push_back(group);
        std::map<AnalysisKind, int> counts;
        expectRecordsMatchReSolving(p, counts, false);
        EXPECT_EQ(counts.count(AnalysisKind::RatioLimit), 1u);
        EXPECT_EQ(counts.count(AnalysisKind::GroupLimit), 1u);
    }
}

TEST(Sensitivity, WetAndDryBasesMatchReSolving) {
    expectRecordsMatchReSolving(
        makeProblem(false, false, kIngredients,
                    {{"Proteína", 14.0, std::nullopt}, {"FDN", std::nullopt, 18.0}}));
    expectRecordsMatchReSolving(makeProblem(
        true, true, kIngredients, {{"Proteína", 16.0, std::nullopt}, {"FDN", 25.0, 40.0}}));
}

// The slack columns of the two total-share rows stay out of the price-rise ratio test: here the
// smallest ratio over them (about 0.12) only marks where the total would move within its
// round-off band, while the mix changes at a rise of about 0.76.
TEST(Sensitivity, ThePriceRiseIsWhereTheMixChanges) {
    const std::vector<Ingredient> ingredients = {
        {128, "A", 1.5707, 45.87, std::nullopt, std::nullopt, {2.933, 0.6262, 0.0735}},
        {157, "B", 1.4419, 28.99, 64.22, 192.69, {0.9103, 0.3504, 0.0127}},
        {169, "C", 1.1505, 42.32, 63.73, std::nullopt, {1.1495, 0.3949, 0.0735}},
        {179, "D", 0.8814, 62.21, 90.88, std::nullopt, {1.0538, 0.3381, 0}},
        {213, "E", 2.0049, 47.21, 31.82, 95.49, {1.9404, 0.6701, 0.0127}},
    };
    const LpProblem p = makeProblem(
        false, false, ingredients,
        {{"N1", std::nullopt, 0.9663}, {"N2", 0.1966, 0.2364}, {"N3", 0.0104, std::nullopt}},
        521.49);
    expectRecordsMatchReSolving(p);
    const Solved s = solveWithRecords(p);
    const auto a = std::find_if(s.records.begin(), s.records.end(), [](const AnalysisRecord& r) {
        return r.kind == AnalysisKind::IngredientInMix && r.detalle == QStringLiteral("A");
    });
    ASSERT_NE(a, s.records.end());
    EXPECT_NEAR(*a->valor2, 0.762, 1e-3);
}

TEST(Sensitivity, OrderSignsAndAnUnlimitedRise) {
    const LpProblem p =
        makeProblem(false, false, kIngredients,
                    {{"Proteína", 14.0, std::nullopt}, {"FDN", std::nullopt, 18.0}});
    const Solved s = solveWithRecords(p);
    QStringList kinds;
    for (const AnalysisRecord& r : s.records)
        kinds << formulation::analysisCode(r.kind);
    QStringList sorted = kinds;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        const QStringList order{"IA", "II", "RN", "RI"};
        return order.indexOf(a) < order.indexOf(b);
    });
    EXPECT_EQ(kinds, sorted);

    bool sawUnlimited = false;
    for (const AnalysisRecord& r : s.records) {
        if (r.kind == AnalysisKind::NutrientLimit &&
            r.detalle.startsWith(QStringLiteral("Máximo"))) {
            EXPECT_LT(*r.valor2, 0) << "raising a binding maximum makes the batch cheaper";
        }
        if (r.kind == AnalysisKind::NutrientLimit &&
            r.detalle.startsWith(QStringLiteral("Mínimo"))) {
            EXPECT_GT(*r.valor2, 0);
        }
        if (r.kind == AnalysisKind::IngredientInMix && r.detalle == QStringLiteral("Núcleo")) {
            // Held at its fixed amount: no price rise changes the mix.
            EXPECT_FALSE(r.valor2.has_value());
            EXPECT_FALSE(r.valor3.has_value());
            EXPECT_EQ(*r.valor1, 1.20);
            sawUnlimited = true;
        }
    }
    EXPECT_TRUE(sawUnlimited);
}

} // namespace
} // namespace tarvela::test
