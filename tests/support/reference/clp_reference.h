#pragma once

// COIN-OR CLP's dual simplex method as a second peer in the solver benchmark: the programme of
// an initial tableau loaded once, solved from the slack basis as a user of the library would
// call it (its own scaling, no presolve).
#include "solver/simplex.h"

#include <memory>

class ClpSimplex;

namespace tarvela::test {

class ClpProblem {
public:
    // min Σ T(0,j)·x(j) subject to Σ T(i,j)·x(j) <= T(i,P) for i = 1..M, x >= 0 (j = 1..NI).
    explicit ClpProblem(const simplex::Tableau& initial);
    ~ClpProblem();
    ClpProblem(ClpProblem&&) noexcept;
    ClpProblem& operator=(ClpProblem&&) noexcept;

    // From the slack basis; true at an optimum.
    bool solve();
    double cost() const;

private:
    std::unique_ptr<ClpSimplex> model_;
};

} // namespace tarvela::test
