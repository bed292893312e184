#pragma once

#include "solver/problem.h"
#include "solver/simplex.h"

#include <vector>

// The limits of a least-cost problem one by one, and the programme that asks whether a choice of
// them can be met together.
//
// The programme is stated on quantities, so that the batch is a limit like the others: w(j) >= 0
// for each ingredient and a scale t >= 0, the quantity of ingredient j in the batch being
// w(j) / t and the batch itself sum(w) / t. With both batch limits present (sum(w) = Q·t within
// the run's band of 1e-8) it is the run's programme on shares; without them the batch may take
// any size up to 1000, the largest the system accepts. Two kinds of limits:
// - values of the mix (nutrients, ratios): sum(a(j)·w(j)) / sum(h(j)·w(j)) against the limit.
//   For a nutrient a(j) is the content on the terms of the basis combination and h(j) 1, or the
//   dry-matter fraction when ingredients are as fed and nutrients on dry matter; for a ratio a and
//   h are the two nutrients' contents on the ingredients' basis.
// - quantities of the batch (ingredients, groups, the batch): sum(a(j)·w(j)) / t, a(j) 1 for the
//   ingredients counted and 0 for the others.
// Every row is homogeneous; one normalisation row fixes the scale.
namespace tarvela::simplex {

// Every limit the problem states, in the order of the run's rows: nutrient minimum and maximum,
// ingredient minimum (when above 0: a minimum of 0 only repeats that quantities are not negative)
// and maximum, then the batch as the largest and as the smallest total of the quantities.
std::vector<Limit> limitsOf(const LpProblem& problem);

// How a limit takes part in one solve of the programme.
enum class Role {
    Absent,  // left out
    Hard,    // must hold
    Elastic, // may be broken by a violation variable that the objective weighs
};

// Which sum the normalisation row holds at 1: the shares (sum(w) = 1, so that w are the shares
// while the batch is fixed) or the denominator of a value of the mix (sum(h·w) = 1, so that the
// value is linear in w).
enum class Normalisation { Shares, Denominator };

struct ProgrammeSetup {
    std::vector<Role> roles;     // one per limit
    std::vector<double> weights; // one per limit: the cost of a unit of violation (Elastic only)
    Normalisation normalisation = Normalisation::Shares;
    Limit denominatorOf; // with Normalisation::Denominator: the limit whose denominator is 1
    // Cost of each w(j), then of t; empty when the question is feasibility alone.
    std::vector<double> cost;
};

struct ProgrammeSolution {
    Outcome outcome = Outcome::Infeasible;
    std::vector<double> w; // one per ingredient
    double t = 0;
    // Per limit: the price of its row at the optimum (0 when absent or not binding).
    std::vector<double> prices;

    bool feasible() const { return outcome != Outcome::Infeasible; }
};

class LimitProgramme {
public:
    LimitProgramme(const LpProblem& problem, std::vector<Limit> limits);

    const LpProblem& problem() const { return problem_; }
    const std::vector<Limit>& limits() const { return limits_; }

    // Solves with the run's solver.
    ProgrammeSolution solve(const ProgrammeSetup& setup) const;
    // Whether the limits marked Hard can be met together.
    bool feasible(const std::vector<Role>& roles) const;

    // Whether a limit bounds a value of the mix (a nutrient, a ratio) rather than a quantity of
    // the batch.
    static bool boundsValue(const Limit& limit);
    // The terms a(j) and, for values of the mix, h(j) of a limit for ingredient j.
    double numeratorTerm(const Limit& limit, int j) const;
    double denominatorTerm(const Limit& limit, int j) const;

    // The bound the programme holds a limit to: its value, or for equal ingredient or group
    // limits the value widened by kEqualLimitsWidening batch units, as the run widens them.
    double boundOf(const Limit& limit) const;

    // What a limit bounds, for the quantities w and scale t of a solution: the nutrient's value,
    // the ratio, the ingredient's or group's quantity in the batch, or the batch quantity.
    double valueAt(const Limit& limit, const std::vector<double>& w, double t) const;

private:
    LpProblem problem_;
    std::vector<Limit> limits_;
};

} // namespace tarvela::simplex
