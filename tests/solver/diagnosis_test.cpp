// The diagnosis of problems whose limits cannot all be met: hand-made conflicts whose minimal set
// is known, and generated infeasible formulations checked against GLPK.
#include "solver/diagnosis.h"
#include "solver/limit_relaxation.h"
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"
#include "support/reference/infeasible_formulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>

namespace tarvela::test {
namespace {

using simplex::Diagnosis;
using simplex::Limit;
using simplex::LimitKind;
using simplex::LimitSide;
using simplex::LpProblem;

constexpr auto Min = LimitSide::Minimum;
constexpr auto Max = LimitSide::Maximum;
constexpr auto Ing = LimitKind::Ingredient;
constexpr auto Nut = LimitKind::Nutrient;
constexpr auto Tot = LimitKind::Total;

// Three ingredients A, B, C (dry matter 90 %, 50 %, 80 %) and one nutrient N with contents
// 20, 10 and 0.
LpProblem threeIngredients(double Q, Bases bases) {
    LpProblem pb;
    setBases(pb, bases);
    pb.Q = Q;
    const double dry[] = {0.9, 0.5, 0.8};
    const double price[] = {0.3, 0.2, 0.1};
    for (int j = 0; j < 3; ++j) {
        simplex::LpIngredient ing;
        ing.id = j + 1;
        ing.name = std::string(1, static_cast<char>('A' + j));
        ing.dryFraction = dry[j];
        ing.price = pb.vSecaIng ? price[j] / dry[j] : price[j];
        pb.ingredients.push_back(ing);
    }
    pb.nutrients.push_back({"N", std::nullopt, std::nullopt, {20, 10, 0}});
    return pb;
}

struct Expected {
    LimitKind kind;
    LimitSide side;
    int index;
    std::optional<double> single;
};

void expectConflict(const Diagnosis& d, const std::vector<Expected>& expected) {
    ASSERT_FALSE(d.limitsMet);
    ASSERT_EQ(d.conflicts.size(), 1u);
    ASSERT_EQ(d.conflicts[0].size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        const auto& got = d.conflicts[0][k];
        EXPECT_EQ(got.limit.kind, expected[k].kind) << k;
        EXPECT_EQ(got.limit.side, expected[k].side) << k;
        EXPECT_EQ(got.limit.index, expected[k].index) << k;
        ASSERT_EQ(got.newValue.has_value(), expected[k].single.has_value()) << k;
        if (got.newValue) {
            EXPECT_DOUBLE_EQ(*got.newValue, *expected[k].single) << k;
        }
    }
}

TEST(Diagnosis, HandMadeConflictsNameTheirMinimalSet) {
    // Two ingredient minimums adding up to over the batch of 1000, the largest batch there is.
    LpProblem pb = threeIngredients(1000, Bases::DryDry);
    pb.ingredients[0].minimo = 400;
    pb.ingredients[1].minimo = 700;
    Diagnosis d = simplex::diagnose(pb);
    expectConflict(d, {{Ing, Min, 0, 300.0}, {Ing, Min, 1, 600.0}});
    // Relatively, B's minimum gives way more cheaply.
    ASSERT_TRUE(d.relaxation);
    ASSERT_EQ(d.relaxation->changes.size(), 1u);
    EXPECT_EQ(d.relaxation->changes[0].limit.index, 1);
    EXPECT_DOUBLE_EQ(*d.relaxation->changes[0].newValue, 600);
    // Per unit as fed: 0.4 and 0.6 of dry matter are 0.4/0.9 and 0.6/0.5 as fed.
    EXPECT_NEAR(d.relaxation->unitCost, (0.4 * 0.3 / 0.9 + 0.6 * 0.2 / 0.5) / (0.4 / 0.9 + 1.2),
                1e-12);

    // In a batch of 100 a larger batch makes room as well.
    pb.Q = 100;
    pb.ingredients[0].minimo = 40;
    pb.ingredients[1].minimo = 70;
    expectConflict(simplex::diagnose(pb),
                   {{Ing, Min, 0, 30.0}, {Ing, Min, 1, 60.0}, {Tot, Max, -1, 110.0}});

    // A nutrient minimum above the richest ingredient: alone in its set.
    pb = threeIngredients(1000, Bases::DryDry);
    pb.nutrients[0].minimo = 25;
    d = simplex::diagnose(pb);
    expectConflict(d, {{Nut, Min, 0, 20.0}});
    ASSERT_TRUE(d.relaxation);
    EXPECT_DOUBLE_EQ(*d.relaxation->changes.at(0).newValue, 20);
    EXPECT_NEAR(d.relaxation->unitCost, 0.3, 1e-9);
    // ... and when the richest ingredient is held to half the mix, nothing else reaches it.
    pb.ingredients[0].maximo = 500;
    expectConflict(simplex::diagnose(pb), {{Nut, Min, 0, 15.0}});
    // A second, independent conflict: a minimum no ingredient brings. Both are named, each
    // with the value that resolves it while the other is set aside, and the proposal moves a
    // limit of each.
    pb.nutrients.push_back({"M", 1.0, std::nullopt, {0, 0, 0}});
    d = simplex::diagnose(pb);
    ASSERT_EQ(d.conflicts.size(), 2u);
    std::map<int, std::optional<double>> needed;
    for (const auto& group : d.conflicts) {
        ASSERT_EQ(group.size(), 1u);
        EXPECT_EQ(group[0].limit.kind, Nut);
        needed[group[0].limit.index] = group[0].newValue;
    }
    EXPECT_EQ(needed[0], std::optional<double>(15.0));
    EXPECT_EQ(needed[1], std::optional<double>(0.0));
    ASSERT_TRUE(d.relaxation);
    EXPECT_EQ(d.relaxation->changes.size(), 2u);

    // A nutrient maximum that two ingredient minimums push the mix over (N >= 10 > 9), with a
    // minimum that is not involved.
    pb = threeIngredients(1000, Bases::DryDry);
    pb.ingredients[0].minimo = 300;
    pb.ingredients[1].minimo = 400;
    pb.nutrients[0].minimo = 2;
    pb.nutrients[0].maximo = 9;
    d = simplex::diagnose(pb);
    expectConflict(d, {{Nut, Max, 0, 10.0}, {Ing, Min, 0, 250.0}, {Ing, Min, 1, 300.0}});
    // Relative to its limit the maximum moves least (1/9 against 1/6 and 1/4).
    ASSERT_TRUE(d.relaxation);
    ASSERT_EQ(d.relaxation->changes.size(), 1u);
    EXPECT_EQ(d.relaxation->changes[0].limit, (Limit{Nut, Max, 0, 9}));
    EXPECT_DOUBLE_EQ(*d.relaxation->changes[0].newValue, 10);

    // The same with ingredients as fed and N on dry matter: the value is a ratio to the dry
    // matter of the mix, at least (0.3·0.9·20 + 0.4·0.5·10) / (0.27 + 0.2 + 0.3·0.8) = 10.4225...
    pb = threeIngredients(1000, Bases::WetDry);
    pb.ingredients[0].minimo = 300;
    pb.ingredients[1].minimo = 400;
    pb.nutrients[0].maximo = 9;
    d = simplex::diagnose(pb);
    ASSERT_EQ(d.conflicts.size(), 1u);
    ASSERT_EQ(d.conflicts[0].size(), 3u);
    EXPECT_EQ(d.conflicts[0][0].limit, (Limit{Nut, Max, 0, 9}));
    EXPECT_DOUBLE_EQ(*d.conflicts[0][0].newValue, 10.43);
    ASSERT_TRUE(d.relaxation);
    EXPECT_TRUE(simplex::leastUnitCost(simplex::withChanges(pb, d.relaxation->changes)));

    // Equal limits, widened by 0.001 as the run widens them, meet a nutrient maximum; a limit
    // of 0 is measured against the batch.
    pb = threeIngredients(1000, Bases::WetWet);
    pb.ingredients[0].minimo = 500;
    pb.ingredients[0].maximo = 500;
    pb.ingredients[2].maximo = 0;
    pb.nutrients[0].maximo = 8; // A alone brings 0.5·0.9·20 = 9
    d = simplex::diagnose(pb);
    ASSERT_EQ(d.conflicts.size(), 1u);
    ASSERT_EQ(d.conflicts[0].size(), 2u);
    EXPECT_EQ(d.conflicts[0][0].limit.kind, Nut);
    EXPECT_EQ(d.conflicts[0][1].limit, (Limit{Ing, Min, 0, 500}));
    ASSERT_TRUE(d.relaxation);
    EXPECT_TRUE(simplex::leastUnitCost(simplex::withChanges(pb, d.relaxation->changes)));

    // Limits that can be met leave nothing to name.
    pb = threeIngredients(1000, Bases::DryDry);
    pb.nutrients[0].minimo = 12;
    d = simplex::diagnose(pb);
    EXPECT_TRUE(d.limitsMet);
    EXPECT_TRUE(d.conflicts.empty());
}

// A ratio above what any ingredient gives, and a group minimum that with an ingredient minimum
// leaves no room in the batch: two conflicts, each named with the value that resolves it.
TEST(Diagnosis, RatioAndGroupLimitsTakePartInConflictsAndProposals) {
    for (Bases bases : {Bases::DryDry, Bases::WetWet, Bases::WetDry}) {
        LpProblem pb = threeIngredients(1000, bases);
        pb.nutrients.push_back({"P", std::nullopt, std::nullopt, {1, 2, 4}});
        pb.ratios.push_back({"N / P", 30.0, std::nullopt, {20, 10, 0}, {1, 2, 4}});
        pb.groups.push_back({"AB", 900.0, std::nullopt, {0, 1}});
        pb.ingredients[2].minimo = 200;
        const Diagnosis d = simplex::diagnose(pb);
        ASSERT_EQ(d.conflicts.size(), 2u);
        std::map<LimitKind, std::optional<double>> needed;
        for (const auto& group : d.conflicts)
            for (const auto& c : group)
                needed[c.limit.kind] = c.newValue;
        // A alone gives the highest ratio, 20; the group and C share the batch.
        EXPECT_EQ(needed[LimitKind::Ratio], std::optional<double>(20.0));
        EXPECT_EQ(needed[LimitKind::Group], std::optional<double>(800.0));
        EXPECT_EQ(needed[Ing], std::optional<double>(100.0));
        ASSERT_TRUE(d.relaxation);
        const LpProblem relaxed = simplex::withChanges(pb, d.relaxation->changes);
        auto built = simplex::buildTableau(relaxed);
        ASSERT_EQ(simplex::solve(built.tableau).outcome, simplex::Outcome::Optimal);
        EXPECT_EQ(violatedLimit(relaxed, mixOf(built.tableau), 1e-7), "");
    }
}

TEST(Diagnosis, RoundsOutwardToWhatTheGridsShow) {
    EXPECT_DOUBLE_EQ(simplex::roundOutward(17.3467, 2, false), 17.34);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(17.3417, 2, true), 17.35);
    // A value finer than the grid's step keeps no more decimals than the grid shows.
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0.0031234, 2, false), 0.0);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0.0031234, 2, true), 0.01);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0.337, 2, true), 0.34);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0.337, 2, false), 0.33);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0.98267, 3, false), 0.982);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(1234.5678, 3, true), 1234.568);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(299.9999999999, 3, false), 300);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(-4.5678, 2, false), -4.57);
    EXPECT_DOUBLE_EQ(simplex::roundOutward(0, 2, true), 0);
}

// ---------------------------------------------------------------------------------------------
// Generated infeasible formulations.

// Whether the limits kept can be met, stated for GLPK apart from the program's own statement:
// shares x adding up to 1 and s = 1 / batch between 1/1000 and the bounds of the batch limits
// kept; ingredient limits x >= L·s and x <= U·s; nutrient limits as homogeneous rows.
bool glpkMeets(const LpProblem& pb, const std::vector<Limit>& kept) {
    const int n = static_cast<int>(pb.ingredients.size());
    GlpkProblem owner(glp_create_prob());
    glp_prob* lp = owner.get();
    glp_add_cols(lp, n + 1);
    for (int j = 1; j <= n; ++j)
        glp_set_col_bnds(lp, j, GLP_LO, 0, 0);
    const int s = n + 1;
    double sLo = 1.0 / 1000;
    double sHi = 1e30;
    for (const Limit& l : kept) {
        if (l.kind == Tot && l.side == Max)
            sLo = std::max(sLo, 1.0 / (l.value * 1.00000001));
        if (l.kind == Tot && l.side == Min)
            sHi = 1.0 / (l.value * 0.99999999);
    }
    if (sLo > sHi)
        return false;
    glp_set_col_bnds(lp, s, sHi < 1e30 ? GLP_DB : GLP_LO, sLo, sHi);

    std::vector<int> ia{0}, ja{0};
    std::vector<double> ar{0};
    int row = 0;
    auto addRow = [&](const std::vector<std::pair<int, double>>& coef, int type, double bound) {
        glp_add_rows(lp, 1);
        ++row;
        glp_set_row_bnds(lp, row, type, bound, bound);
        for (auto [col, v] : coef) {
            ia.push_back(row);
            ja.push_back(col);
            ar.push_back(v);
        }
    };
    std::vector<std::pair<int, double>> ones;
    for (int j = 1; j <= n; ++j)
        ones.push_back({j, 1.0});
    addRow(ones, GLP_FX, 1.0);
    const bool ratio = !pb.vSecaIng && pb.vSecaNut;
    for (const Limit& l : kept) {
        if (l.kind == Ing) {
            const auto& ing = pb.ingredients[static_cast<size_t>(l.index)];
            const bool eq = ing.minimo && ing.maximo && *ing.minimo == *ing.maximo;
            const double bound = l.value + (eq ? (l.side == Min ? -0.001 : 0.001) : 0.0);
            addRow({{l.index + 1, 1.0}, {s, -bound}}, l.side == Min ? GLP_LO : GLP_UP, 0);
        } else if (l.kind == Nut) {
            std::vector<std::pair<int, double>> coef;
            const auto& nut = pb.nutrients[static_cast<size_t>(l.index)];
            for (int j = 0; j < n; ++j) {
                const double d = pb.ingredients[static_cast<size_t>(j)].dryFraction;
                const double a = nut.contents[static_cast<size_t>(j)] * (pb.vSecaIng ? 1.0 : d);
                coef.push_back({j + 1, a - l.value * (ratio ? d : 1.0)});
            }
            addRow(coef, l.side == Min ? GLP_LO : GLP_UP, 0);
        }
    }
    glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    glp_term_out(GLP_OFF);
    glp_scale_prob(lp, GLP_SF_AUTO);
    glp_smcp parm = primalSimplexParameters();
    if (glp_simplex(lp, &parm) != 0)
        return false;
    glp_exact(lp, &parm);
    return glp_get_status(lp) == GLP_OPT;
}

std::vector<Limit> without(const std::vector<Limit>& limits, size_t k) {
    std::vector<Limit> rest = limits;
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(k));
    return rest;
}

// The same limit (kind, side, position), whatever its value.
bool sameLimit(const Limit& a, const Limit& b) {
    return a.kind == b.kind && a.side == b.side && a.index == b.index;
}

bool contains(const std::vector<Limit>& limits, const Limit& limit) {
    return std::any_of(limits.begin(), limits.end(),
                       [&](const Limit& l) { return sameLimit(l, limit); });
}

// The limits but those set aside.
std::vector<Limit> allBut(std::vector<Limit> limits, const std::vector<Limit>& aside) {
    std::erase_if(limits, [&](const Limit& l) { return contains(aside, l); });
    return limits;
}

// A move relative to the limit; a limit of 0 of an ingredient counts relative to the batch.
double scaleOf(const LpProblem& pb, const Limit& limit) {
    return limit.value != 0 ? std::fabs(limit.value) : pb.Q;
}

double relativeMove(const LpProblem& pb, const simplex::LimitChange& c) {
    return std::fabs(*c.newValue - c.limit.value) / scaleOf(pb, c.limit);
}

// The most that rounding a new value outward adds to its relative move.
double roundingOf(const LpProblem& pb, const simplex::LimitChange& c) {
    const int decimals = c.limit.kind == Nut ? 2 : 3;
    return std::pow(10.0, -decimals) / scaleOf(pb, c.limit);
}

TEST(Diagnosis, GeneratedInfeasibleFormulasGetAMinimalSetAndAFeasibleProposal) {
    std::mt19937_64 rng(20261212);
    const Bases all[] = {Bases::DryDry, Bases::WetWet, Bases::WetDry};
    int withBatch = 0;
    int alone = 0;
    int several = 0;
    for (int k = 0; k < 240; ++k) {
        const LpProblem pb = infeasibleFormulation(rng, 4 + static_cast<int>(rng() % 12),
                                                   2 + static_cast<int>(rng() % 7), all[k % 3]);
        const Diagnosis d = simplex::diagnose(pb);
        ASSERT_FALSE(d.limitsMet) << k;
        ASSERT_FALSE(d.conflicts.empty()) << k;
        several += d.conflicts.size() > 1 ? 1 : 0;

        // Each set cannot be met and needs every member; set aside, the rest can be met.
        std::vector<Limit> aside;
        for (const auto& group : d.conflicts)
            for (const auto& c : group)
                if (c.limit.kind != Tot)
                    aside.push_back(c.limit);
        EXPECT_TRUE(glpkMeets(pb, allBut(simplex::limitsOf(pb), aside))) << "problem " << k;
        for (const auto& group : d.conflicts) {
            std::vector<Limit> set;
            for (const auto& c : group)
                set.push_back(c.limit);
            EXPECT_FALSE(glpkMeets(pb, set)) << "problem " << k << ": the set can be met";
            for (size_t m = 0; m < set.size(); ++m)
                EXPECT_TRUE(glpkMeets(pb, without(set, m)))
                    << "problem " << k << ": member " << m << " is not needed";

            // A member's own move, when there is one, resolves its set with the others set
            // aside.
            std::vector<Limit> others = aside;
            std::erase_if(others, [&](const Limit& l) { return contains(set, l); });
            for (const auto& c : group) {
                withBatch += c.limit.kind == Tot ? 1 : 0;
                if (!c.newValue)
                    continue;
                ++alone;
                const LpProblem moved = simplex::withChanges(pb, {c});
                EXPECT_TRUE(glpkMeets(moved, allBut(simplex::limitsOf(moved), others)))
                    << "problem " << k;
                if (d.conflicts.size() == 1) {
                    EXPECT_TRUE(solveProblemWithGlpk(moved)) << "problem " << k;
                }
            }
        }
        // The proposal moves limits of the conflicts only.
        if (d.relaxation) {
            for (const auto& c : d.relaxation->changes) {
                bool listed = false;
                for (const auto& group : d.conflicts)
                    for (const auto& member : group)
                        listed = listed || member.limit == c.limit;
                EXPECT_TRUE(listed) << "problem " << k;
            }
        }

        // The combined proposal gives a run that finds a mix within every limit.
        ASSERT_TRUE(d.relaxation) << "problem " << k;
        const LpProblem relaxed = simplex::withChanges(pb, d.relaxation->changes);
        auto built = simplex::buildTableau(relaxed);
        ASSERT_EQ(simplex::solve(built.tableau).outcome, simplex::Outcome::Optimal) << k;
        EXPECT_EQ(violatedLimit(relaxed, mixOf(built.tableau), 1e-7), "") << "problem " << k;
        // It moves the limits no more, relatively, than any one of them moving alone (exactly so
        // where nutrient values are not a ratio to the dry matter), give or take the rounding.
        if (all[k % 3] != Bases::WetDry) {
            double total = 0;
            double rounding = 0;
            for (const auto& c : d.relaxation->changes) {
                total += relativeMove(pb, c);
                rounding += roundingOf(pb, c);
            }
            for (const auto& c :
                 d.conflicts.size() == 1 ? d.conflicts[0] : std::vector<simplex::LimitChange>{}) {
                if (c.newValue && c.limit.kind != Tot) {
                    EXPECT_LE(total, relativeMove(pb, c) + roundingOf(pb, c) + rounding + 1e-9)
                        << "problem " << k;
                }
            }
        }

        const auto glpk = solveProblemWithGlpk(relaxed);
        ASSERT_TRUE(glpk) << "problem " << k;
        double asFed = 0;
        for (size_t j = 0; j < glpk->shares.size(); ++j)
            asFed += glpk->shares[j] / (pb.vSecaIng ? pb.ingredients[j].dryFraction : 1.0);
        EXPECT_NEAR(d.relaxation->unitCost, glpk->unitCost / asFed,
                    1e-6 * std::fabs(d.relaxation->unitCost))
            << "problem " << k;
    }
    EXPECT_GT(withBatch, 0);
    EXPECT_GT(several, 0);

    EXPECT_GT(alone, 240);
}

} // namespace
} // namespace tarvela::test
