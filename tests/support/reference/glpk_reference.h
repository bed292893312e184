#pragma once

// GLPK's primal simplex as the independent solver the tests and the benchmarks compare with:
// either on the programme of an initial tableau, or on the least-cost programme stated directly
// from a problem (not from its tableau).
#include "solver/problem.h"
#include "solver/simplex.h"
#include "solver/sparse_programme.h"

#include <glpk.h>

#include <memory>
#include <optional>
#include <vector>

namespace tarvela::test {

struct GlpkProblemDeleter {
    void operator()(glp_prob* p) const { glp_delete_prob(p); }
};
using GlpkProblem = std::unique_ptr<glp_prob, GlpkProblemDeleter>;

// Messages off, presolve off, the primal simplex.
glp_smcp primalSimplexParameters();

// min Σ T(0,j)·x(j) subject to Σ T(i,j)·x(j) <= T(i,P) for i = 1..M, x >= 0 (j = 1..NI),
// scaled.
GlpkProblem toGlpk(const simplex::Tableau& t);

struct GlpkAnswer {
    bool optimal = false;
    bool infeasible = false;
    double cost = 0;
    // The final basis: which rows' slacks (index i = 1..M) and which ingredient columns (index
    // j = 1..NI) are basic; index 0 unused.
    std::vector<char> basicSlack;
    std::vector<char> basicColumn;
};

// The programme of an initial tableau. The primal simplex in floating point stops within its own
// tolerances (1e-7), which can leave the cost a few 1e-9 off; `exact` continues from its basis
// in rational arithmetic.
GlpkAnswer solveTableauWithGlpk(const simplex::Tableau& initial, bool exact = true);

// The tableau B⁻¹ × the initial tableau for the basis GLPK ended with (basic ingredients in the
// rows whose slacks are not basic, in column order), or std::nullopt when that basis is not one
// of the tableau's.
std::optional<simplex::Tableau> tableauOfGlpkBasis(const simplex::Tableau& initial,
                                                   const GlpkAnswer& answer);

struct GlpkSolution {
    double unitCost = 0;        // per unit of the ingredients' basis
    std::vector<double> shares; // one per ingredient
};

// The least-cost programme of a problem: shares between their limits (equal limits widened by
// 0.001 batch units), nutrient rows on the basis combination's terms, shares adding up to 1
// within 1e-8. std::nullopt when GLPK finds no feasible mix.
std::optional<GlpkSolution> solveProblemWithGlpk(const simplex::LpProblem& problem);

// A sparse programme by GLPK's primal simplex (then its exact arithmetic): the cost, the columns
// and each row's dual value (the change of the cost per unit of its binding bound).
// std::nullopt when GLPK finds no optimum.
struct GlpkSparseAnswer {
    double cost = 0;
    std::vector<double> x;
    std::vector<double> duals;
};
std::optional<GlpkSparseAnswer> solveSparseWithGlpk(const simplex::SparseProgramme& programme);

} // namespace tarvela::test
