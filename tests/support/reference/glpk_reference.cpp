#include "support/reference/glpk_reference.h"

#include "solver/simplex_internal.h"

#include <cmath>

namespace tarvela::test {

namespace {

void setRowBounds(glp_prob* lp, int row, std::optional<double> lo, std::optional<double> hi) {
    if (lo && hi)
        glp_set_row_bnds(lp, row, *lo == *hi ? GLP_FX : GLP_DB, *lo, *hi);
    else if (lo)
        glp_set_row_bnds(lp, row, GLP_LO, *lo, 0);
    else if (hi)
        glp_set_row_bnds(lp, row, GLP_UP, 0, *hi);
    else
        glp_set_row_bnds(lp, row, GLP_FR, 0, 0);
}

} // namespace

glp_smcp primalSimplexParameters() {
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.meth = GLP_PRIMAL;
    parm.presolve = GLP_OFF;
    return parm;
}

GlpkProblem toGlpk(const simplex::Tableau& t) {
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

GlpkAnswer solveTableauWithGlpk(const simplex::Tableau& initial, bool exact) {
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
    answer.basicSlack.assign(static_cast<size_t>(initial.m()) + 1, 0);
    answer.basicColumn.assign(static_cast<size_t>(initial.ni()) + 1, 0);
    for (int i = 1; i <= initial.m(); ++i)
        answer.basicSlack[static_cast<size_t>(i)] = glp_get_row_stat(lp.get(), i) == GLP_BS;
    for (int j = 1; j <= initial.ni(); ++j)
        answer.basicColumn[static_cast<size_t>(j)] = glp_get_col_stat(lp.get(), j) == GLP_BS;
    return answer;
}

std::optional<simplex::Tableau> tableauOfGlpkBasis(const simplex::Tableau& initial,
                                                   const GlpkAnswer& answer) {
    simplex::Tableau t = initial;
    std::vector<int>& basis = t.basis();
    std::vector<int> open;
    for (int i = 1; i <= t.m(); ++i) {
        if (answer.basicSlack[static_cast<size_t>(i)])
            basis[static_cast<size_t>(i)] = t.ni() + i;
        else
            open.push_back(i);
    }
    size_t next = 0;
    for (int j = 1; j <= t.ni(); ++j) {
        if (!answer.basicColumn[static_cast<size_t>(j)])
            continue;
        if (next == open.size())
            return std::nullopt;
        basis[static_cast<size_t>(open[next++])] = j;
    }
    if (next != open.size() || !simplex::detail::recomputeFromData(t, initial))
        return std::nullopt;
    return t;
}

std::optional<GlpkSolution> solveProblemWithGlpk(const simplex::LpProblem& problem) {
    const int n = static_cast<int>(problem.ingredients.size());
    const double Q = problem.Q;
    GlpkProblem owner(glp_create_prob());
    glp_prob* lp = owner.get();
    glp_set_obj_dir(lp, GLP_MIN);
    glp_add_cols(lp, n);
    for (int j = 1; j <= n; ++j) {
        const auto& ing = problem.ingredients[static_cast<size_t>(j - 1)];
        double lo = ing.minimo ? *ing.minimo / Q : 0.0;
        std::optional<double> hi;
        if (ing.maximo)
            hi = *ing.maximo / Q;
        if (ing.minimo && ing.maximo && *ing.minimo == *ing.maximo) {
            lo -= 0.001 / Q;
            *hi += 0.001 / Q;
        }
        if (hi)
            glp_set_col_bnds(lp, j, lo == *hi ? GLP_FX : GLP_DB, lo, *hi);
        else
            glp_set_col_bnds(lp, j, GLP_LO, lo, 0);
        glp_set_obj_coef(lp, j, ing.price);
    }

    std::vector<int> ia{0};
    std::vector<int> ja{0};
    std::vector<double> ar{0};
    int row = 0;
    const auto addRow = [&](const std::vector<double>& coef, std::optional<double> lo,
                            std::optional<double> hi) {
        ++row;
        glp_add_rows(lp, 1);
        setRowBounds(lp, row, lo, hi);
        for (int j = 1; j <= n; ++j) {
            if (coef[static_cast<size_t>(j - 1)] == 0)
                continue;
            ia.push_back(row);
            ja.push_back(j);
            ar.push_back(coef[static_cast<size_t>(j - 1)]);
        }
    };

    for (const auto& nut : problem.nutrients) {
        std::vector<double> coef(static_cast<size_t>(n));
        const auto d = [&](int k) {
            return problem.ingredients[static_cast<size_t>(k)].dryFraction;
        };
        if (!problem.vSecaIng && problem.vSecaNut) {
            // The value is a ratio of sums: each limit becomes a homogeneous row.
            if (nut.minimo) {
                for (int k = 0; k < n; ++k)
                    coef[static_cast<size_t>(k)] =
                        (nut.contents[static_cast<size_t>(k)] - *nut.minimo) * d(k);
                addRow(coef, 0.0, std::nullopt);
            }
            if (nut.maximo) {
                for (int k = 0; k < n; ++k)
                    coef[static_cast<size_t>(k)] =
                        (nut.contents[static_cast<size_t>(k)] - *nut.maximo) * d(k);
                addRow(coef, std::nullopt, 0.0);
            }
            continue;
        }
        for (int k = 0; k < n; ++k)
            coef[static_cast<size_t>(k)] =
                nut.contents[static_cast<size_t>(k)] * (problem.vSecaIng ? 1.0 : d(k));
        addRow(coef, nut.minimo, nut.maximo);
    }
    // Ratios: (num − r·den)·x against 0, contents on the ingredients' basis.
    for (const auto& ratio : problem.ratios) {
        const auto term = [&](const std::vector<double>& contents, int k) {
            const double v =
                static_cast<size_t>(k) < contents.size() ? contents[static_cast<size_t>(k)] : 0.0;
            return problem.vSecaIng ? v
                                    : v * problem.ingredients[static_cast<size_t>(k)].dryFraction;
        };
        std::vector<double> coef(static_cast<size_t>(n));
        if (ratio.minimo) {
            for (int k = 0; k < n; ++k)
                coef[static_cast<size_t>(k)] =
                    term(ratio.numerator, k) - *ratio.minimo * term(ratio.denominator, k);
            addRow(coef, 0.0, std::nullopt);
        }
        if (ratio.maximo) {
            for (int k = 0; k < n; ++k)
                coef[static_cast<size_t>(k)] =
                    term(ratio.numerator, k) - *ratio.maximo * term(ratio.denominator, k);
            addRow(coef, std::nullopt, 0.0);
        }
    }
    // Groups: the members' shares between the limits in shares, equal limits widened.
    for (const auto& group : problem.groups) {
        std::vector<double> coef(static_cast<size_t>(n), 0.0);
        for (int member : group.members)
            coef[static_cast<size_t>(member)] = 1.0;
        const double widen =
            group.minimo && group.maximo && *group.minimo == *group.maximo ? 0.001 : 0.0;
        std::optional<double> lo;
        std::optional<double> hi;
        if (group.minimo)
            lo = (*group.minimo - widen) / Q;
        if (group.maximo)
            hi = (*group.maximo + widen) / Q;
        addRow(coef, lo, hi);
    }
    addRow(std::vector<double>(static_cast<size_t>(n), 1.0), 0.99999999, 1.00000001);

    glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    glp_smcp parm = primalSimplexParameters();
    const int rc = glp_simplex(lp, &parm);
    std::optional<GlpkSolution> out;
    if (rc == 0 && glp_get_status(lp) == GLP_OPT) {
        GlpkSolution s;
        s.unitCost = glp_get_obj_val(lp);
        for (int j = 1; j <= n; ++j)
            s.shares.push_back(glp_get_col_prim(lp, j));
        out = s;
    }
    return out;
}

std::optional<GlpkSparseAnswer> solveSparseWithGlpk(const simplex::SparseProgramme& p) {
    GlpkProblem owner(glp_create_prob());
    glp_prob* lp = owner.get();
    glp_set_obj_dir(lp, GLP_MIN);
    const auto bound = [](double b) -> std::optional<double> {
        if (std::isinf(b))
            return std::nullopt;
        return b;
    };
    if (p.rows() > 0)
        glp_add_rows(lp, p.rows());
    for (int i = 0; i < p.rows(); ++i)
        setRowBounds(lp, i + 1, bound(p.rowLower()[static_cast<size_t>(i)]),
                     bound(p.rowUpper()[static_cast<size_t>(i)]));
    glp_add_cols(lp, p.columns());
    for (int j = 0; j < p.columns(); ++j) {
        const double lo = p.columnLower()[static_cast<size_t>(j)];
        const double hi = p.columnUpper()[static_cast<size_t>(j)];
        if (std::isinf(hi))
            glp_set_col_bnds(lp, j + 1, GLP_LO, lo, 0);
        else
            glp_set_col_bnds(lp, j + 1, lo == hi ? GLP_FX : GLP_DB, lo, hi);
        glp_set_obj_coef(lp, j + 1, p.cost()[static_cast<size_t>(j)]);
    }
    std::vector<int> ia{0};
    std::vector<int> ja{0};
    std::vector<double> ar{0};
    for (int k = 0; k < p.entries(); ++k) {
        ia.push_back(p.entryRows()[static_cast<size_t>(k)] + 1);
        ja.push_back(p.entryColumns()[static_cast<size_t>(k)] + 1);
        ar.push_back(p.entryValues()[static_cast<size_t>(k)]);
    }
    glp_load_matrix(lp, static_cast<int>(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    glp_term_out(GLP_OFF);
    glp_scale_prob(lp, GLP_SF_AUTO);
    glp_smcp parm = primalSimplexParameters();
    if (glp_simplex(lp, &parm) != 0 || glp_exact(lp, &parm) != 0 || glp_get_status(lp) != GLP_OPT)
        return std::nullopt;
    GlpkSparseAnswer answer;
    answer.cost = glp_get_obj_val(lp);
    for (int j = 1; j <= p.columns(); ++j)
        answer.x.push_back(glp_get_col_prim(lp, j));
    for (int i = 1; i <= p.rows(); ++i)
        answer.duals.push_back(glp_get_row_dual(lp, i));
    return answer;
}

} // namespace tarvela::test
