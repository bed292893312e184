#pragma once

// A plain transcription of the two-phase method with exact sign comparisons, written without
// any of the solver's optimisations: runs that stay clear of the round-off tolerances must give
// the same tableau with both.
#include "solver/simplex.h"

namespace tarvela::test {

inline void referencePivot(simplex::Tableau& t, int r, int c) {
    const double p = t.at(r, c);
    if (p != 0) {
        for (int k = 1; k <= t.p(); ++k) {
            t.at(r, k) = t.at(r, k) / p;
        }
    }
    for (int i = 0; i <= t.m(); ++i) {
        if (i == r) {
            continue;
        }
        const double f = t.at(i, c);
        if (f != 0) {
            for (int k = 0; k <= t.p(); ++k) {
                t.at(i, k) = t.at(i, k) - f * t.at(r, k);
            }
        }
    }
    t.basis()[static_cast<std::size_t>(r)] = c;
}

inline simplex::Outcome referenceSolve(simplex::Tableau& t) {
    const int m = t.m();
    const int p = t.p();
    const int last = t.ni() + t.m();
    int passes = 0;
    bool changed = true;
    while (passes < 99999 && changed) {
        ++passes;
        changed = false;
        for (int i = m; i >= 1; --i) {
            if (t.at(i, p) < 0) {
                int c = 1;
                for (int j = 2; j <= last; ++j) {
                    if (t.at(i, j) < t.at(i, c) ||
                        (t.at(i, j) == t.at(i, c) && t.at(0, j) < t.at(0, c))) {
                        c = j;
                    }
                }
                if (t.at(i, c) < 0) {
                    changed = true;
                    referencePivot(t, i, c);
                }
            }
        }
    }
    for (int i = 1; i <= m; ++i) {
        if (t.at(i, p) < 0) {
            return simplex::Outcome::Infeasible;
        }
    }
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[static_cast<std::size_t>(i)];
        for (int k = 0; k <= m; ++k) {
            if (t.at(k, b) != (k == i ? 1.0 : 0.0)) {
                return simplex::Outcome::NotStandard;
            }
        }
    }
    for (long it = 0; it < 1000000; ++it) {
        int c = 1;
        for (int j = 2; j <= last; ++j) {
            if (t.at(0, j) < t.at(0, c)) {
                c = j;
            }
        }
        if (t.at(0, c) >= 0) {
            return simplex::Outcome::Optimal;
        }
        int r = 0;
        for (int i = 1; i <= m; ++i) {
            if (t.at(i, c) > 0 && (r == 0 || t.at(i, p) / t.at(i, c) < t.at(r, p) / t.at(r, c))) {
                r = i;
            }
        }
        if (r == 0) {
            return simplex::Outcome::Unbounded;
        }
        referencePivot(t, r, c);
    }
    return simplex::Outcome::IterationLimit;
}

} // namespace tarvela::test
