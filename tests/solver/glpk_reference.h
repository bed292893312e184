#pragma once

// The programme of an initial tableau as a GLPK problem, the independent solver the tests and
// the benchmark compare with.
#include "solver/simplex.h"

#include <glpk.h>

#include <memory>
#include <vector>

namespace tarvela::solvertest {

struct GlpkProblemDeleter {
    void operator()(glp_prob* p) const { glp_delete_prob(p); }
};
using GlpkProblem = std::unique_ptr<glp_prob, GlpkProblemDeleter>;

// min Σ T(0,j)·x(j) subject to Σ T(i,j)·x(j) <= T(i,P) for i = 1..M, x >= 0 (j = 1..NI).
inline GlpkProblem toGlpk(const simplex::Tableau& t) {
    GlpkProblem lp(glp_create_prob());
    glp_prob* p = lp.get();
    glp_set_obj_dir(p, GLP_MIN);
    glp_add_rows(p, t.m());
    glp_add_cols(p, t.ni());
    for (int i = 1; i <= t.m(); ++i) {
        glp_set_row_bnds(p, i, GLP_UP, 0.0, t.rhs(i));
    }
    for (int j = 1; j <= t.ni(); ++j) {
        glp_set_col_bnds(p, j, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(p, j, t.at(0, j));
    }
    std::vector<int> ia{0};
    std::vector<int> ja{0};
    std::vector<double> ar{0.0};
    for (int i = 1; i <= t.m(); ++i) {
        for (int j = 1; j <= t.ni(); ++j) {
            if (t.at(i, j) != 0.0) {
                ia.push_back(i);
                ja.push_back(j);
                ar.push_back(t.at(i, j));
            }
        }
    }
    glp_load_matrix(p, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    // Contents range over several orders of magnitude: unscaled, GLPK's primal simplex can stall
    // in its phase 1 for hundreds of thousands of iterations on the larger problems.
    glp_term_out(GLP_OFF);
    glp_scale_prob(p, GLP_SF_AUTO);
    return lp;
}

inline glp_smcp primalSimplexParameters() {
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.meth = GLP_PRIMAL;
    parm.presolve = GLP_OFF;
    return parm;
}

struct GlpkAnswer {
    bool optimal = false;
    bool infeasible = false;
    double cost = 0;
};

// The primal simplex in floating point stops within its own tolerances (1e-7), which can leave
// the cost a few 1e-9 off; `exact` continues from its basis in rational arithmetic.
inline GlpkAnswer solveWithGlpk(const simplex::Tableau& initial, bool exact = true) {
    GlpkProblem lp = toGlpk(initial);
    glp_smcp parm = primalSimplexParameters();
    GlpkAnswer answer;
    if (glp_simplex(lp.get(), &parm) != 0 || (exact && glp_exact(lp.get(), &parm) != 0)) {
        return answer;
    }
    const int status = glp_get_status(lp.get());
    answer.optimal = status == GLP_OPT;
    answer.infeasible = status == GLP_NOFEAS;
    answer.cost = glp_get_obj_val(lp.get());
    return answer;
}

} // namespace tarvela::solvertest
