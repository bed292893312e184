#pragma once

#include <cstddef>
#include <vector>

// The least-cost programme's solver: a two-phase simplex method on one dense tableau.
// Rows 0..M (row 0 the objective), columns 0..P (column 0 the objective column, columns 1..NI
// the ingredients, NI+1..NI+M the slacks, slack of row i = column NI+i, column P the right-hand
// side). Every constraint is a "<=" row; rows with a negative right-hand side are made feasible
// by phase 1.
namespace tarvela::simplex {

class Tableau {
public:
    Tableau() = default;
    // A tableau of zeros for ni ingredients and m constraint rows, with the slack basis.
    Tableau(int ni, int m);
    // The same in this tableau's own storage, which is kept when it is large enough.
    void reset(int ni, int m);

    int ni() const { return ni_; }
    int m() const { return m_; }
    int p() const { return ni_ + m_ + 1; }
    int rows() const { return m_ + 1; }
    int cols() const { return ni_ + m_ + 2; }

    double& at(int row, int col) { return a_[index(row, col)]; }
    double at(int row, int col) const { return a_[index(row, col)]; }
    double& rhs(int row) { return at(row, p()); }
    double rhs(int row) const { return at(row, p()); }

    // basis(i): the column basic in row i (i = 1..M); basis(0) is unused.
    std::vector<int>& basis() { return basis_; }
    const std::vector<int>& basis() const { return basis_; }
    bool isBasic(int col) const;

    // Row-major storage, rows() × cols().
    const std::vector<double>& data() const { return a_; }
    std::vector<double>& data() { return a_; }

private:
    std::size_t index(int row, int col) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols()) +
               static_cast<std::size_t>(col);
    }
    int ni_ = 0;
    int m_ = 0;
    std::vector<double> a_;
    std::vector<int> basis_;
};

enum class Outcome {
    Optimal,        // phase 2 found no entering column
    Unbounded,      // an entering column without a positive entry
    IterationLimit, // 1,000,000 phase-2 pivots
    Infeasible,     // constraints cannot all be met; ingredient shares clipped and rescaled
    NotStandard,    // the basis after phase 1 is not a unit basis
};

struct SolveReport {
    Outcome outcome = Outcome::Optimal;
    // Phase 1 gave up on its passes ("No es posible definir el estado de la solución").
    bool passLimitReached = false;
    int phase1Passes = 0;
    long phase2Pivots = 0;
    // Safeguards that had to act, for diagnostics and tests.
    int refactorizations = 0;
    bool dualSimplexUsed = false;
    // The row-by-row passes were not run: they could not have settled (SolveOptions).
    bool passesSkipped = false;
    long dualPivots = 0;
    bool textbookPhase1Used = false;
    bool blandUsed = false;
    // Decisions in which an entry or reduced cost within round-off of zero (1e-9) was taken as
    // zero, or a right-hand side in [-1e-9, 0) was cleared.
    int toleranceDecisions = 0;

    // True when no safeguard changed a decision: the pivots are those of plain sign comparisons.
    bool safeguardsIdle() const {
        return refactorizations == 0 && !dualSimplexUsed && !textbookPhase1Used && !blandUsed &&
               toleranceDecisions == 0;
    }
};

// How the leaving row of the dual simplex method is chosen.
enum class DualPricing {
    LargestInfeasibility,
    SteepestEdge, // infeasibility squared over the squared length of the row of B⁻¹
};

struct DualOptions {
    // Ingredient limit rows (one ingredient entry of ±1) held as bounds on the shares instead
    // of rows of the tableau.
    bool limitsAsBounds = true;
    DualPricing pricing = DualPricing::SteepestEdge;
};

// What settles feasibility when the row-by-row passes leave a row negative.
enum class Takeover {
    DualSimplex,    // from the slack basis, on to the optimum; the textbook phase 1 confirms
                    // an infeasible verdict and takes over when it cannot decide
    TextbookPhase1, // from where the passes stopped
};

struct SolveOptions {
    // Row-by-row phase-1 passes before the feasibility question is handed over.
    int phase1PassLimit = 200;
    // ... or once this many passes in a row have not lowered the total infeasibility.
    int phase1StallPasses = 5;
    // ... or before their pivots do more than this many multiply-adds ((M + 1)(P + 1) a pivot).
    // Up to some 20 ingredients the passes settle within it whenever they settle at all; from
    // 30 a few that would settle later are handed over (among generated programmes 2 of 131 that
    // settle at 30 ingredients, 7 of 113 at 40, 42 of 65 at 60), so that on larger programmes,
    // where the passes seldom settle, the takeover starts early.
    double phase1WorkLimit = 1e6;
    Takeover takeover = Takeover::DualSimplex;
    // When more ingredients must enter the basis than the passes may pivot within their work
    // limit (each ingredient with a minimum above 0 must), the passes cannot settle: the dual
    // simplex method starts at once, from the slack basis as it would after them, and the
    // result is the same. Off, the passes run first in any case.
    bool skipHopelessPasses = true;
    DualOptions dual;
    long phase2PivotLimit = 1000000;
    // Consecutive degenerate phase-2 pivots after which Bland's rule chooses.
    int degeneratePivotsBeforeBland = 50;
};

// Solves in place. On return the tableau and basis are the final ones: for a row whose basic
// column j <= NI, rhs(row) is ingredient j's share; at(0, P) is minus the unit cost; at(0, c)
// is the reduced cost of column c.
SolveReport solve(Tableau& tableau);
SolveReport solve(Tableau& tableau, const SolveOptions& options);

// One pivot on (r, c): row r divided by its entry, the entry eliminated from every other row.
void pivot(Tableau& tableau, int r, int c);

} // namespace tarvela::simplex
