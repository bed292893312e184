#pragma once

#include "solver/simplex.h"
#include "solver/tolerances.h"

#include <vector>

// The loops over rows of doubles are compiled twice on x86-64: with AVX2 (four doubles per
// instruction; no fused multiply-add, so every entry is rounded exactly as in the plain build)
// and without.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define TARVELA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#define TARVELA_INLINE __attribute__((always_inline)) inline
#else
#define TARVELA_VECTOR_CLONES
#define TARVELA_INLINE inline
#endif

// Pieces the solver and its numerical safeguards share.
namespace tarvela::simplex::detail {

// An entry must exceed this in size to be pivoted on, and a reduced cost must be below its
// negative to enter; right-hand sides in [-kRoundOff, 0) are round-off.
constexpr double kPivotTolerance = simplex::kRoundOff;
constexpr double kCostTolerance = simplex::kRoundOff;
using simplex::kRoundOff;
// Largest relative difference between the tableau and B⁻¹ × the initial tableau that is
// accepted before the tableau is recomputed from the data.
constexpr double kDriftTolerance = 1e-8;

// The storage a solve works in beside the caller's tableau, one set per thread and kept from one
// solve to the next: a tableau of hundreds of rows is a megabyte, and fresh memory of that size
// costs the system a page fault every few kilobytes each time.
struct Workspace {
    Tableau initial;     // the caller's tableau as it came in
    Tableau reduced;     // the dual method's tableau of the general rows
    Tableau reducedData; // ... and those rows as stated
};
Workspace& threadWorkspace();

// A row-major matrix of rows × cols doubles, column 0 excluded from the pivot row's division.
struct MatrixView {
    double* a;
    int rows;
    int cols;
    double* row(int i) const { return a + static_cast<std::ptrdiff_t>(i) * cols; }
};

// Pivot on (r, c): row r divided by its entry (from column 1), the entry eliminated from every
// other row whose entry in column c is not exactly 0. `scratch` is scratch space. `columns`, when
// given, lists in ascending order the only columns where row r may hold anything but 0 (of a
// tableau whose basic columns are exact unit vectors: column 0, the non-basic columns, the
// right-hand side and row r's own basic column); the pivot reads and writes the same entries as
// without it.
void pivotMatrix(MatrixView m, int r, int c, std::vector<int>& scratch,
                 const std::vector<int>* columns = nullptr);

// Column 0, the non-basic columns and the right-hand side column of t, ascending.
std::vector<int> openColumns(const Tableau& t);
// A column put into or taken out of an ascending list.
void insertColumn(std::vector<int>& columns, int column);
void eraseColumn(std::vector<int>& columns, int column);

// Whether every basic column is exactly 1 in its own row and exactly 0 elsewhere, row 0
// included, and no column is basic in two rows.
bool basicColumnsAreUnit(const Tableau& t);

enum class DriftCheck {
    Consistent,   // the tableau agrees with the data
    Refactorised, // it drifted and was recomputed from the data for the same basis
    Singular,     // it drifted and its basis is singular: the caller restarts
};

enum class DriftScope {
    ObjectiveAndRightHandSide, // row 0 and column P: cheap, between the phases
    Results, // also the rows of basic ingredients, which the sensitivity records read
};

// Compares the tableau with B⁻¹ × the initial tableau for the tableau's basis and recomputes it
// whole when they differ beyond kDriftTolerance (relative). Basic columns are exact unit vectors
// after a recomputation.
DriftCheck refactoriseIfDrifted(Tableau& t, const Tableau& initial, DriftScope scope);

// The tableau B⁻¹ × the initial tableau for t's basis, written over t. False when the basis is
// singular (t is then left as it was).
bool recomputeFromData(Tableau& t, const Tableau& initial);

enum class Phase1Verdict {
    Feasible,   // no right-hand side is negative any longer
    Infeasible, // the least total infeasibility stays above round-off; tableau unchanged
    Undecided,  // the textbook phase 1 could not settle it; tableau unchanged
};

// Textbook phase 1 from the current tableau: one artificial column with −1 in every row whose
// right-hand side is negative, pivoted into the most negative row, then Bland's rule with a
// ratio test that drives the artificial out first. The objective row is carried along.
Phase1Verdict textbookPhase1(Tableau& t, SolveReport& report);

enum class DualVerdict {
    Optimal, // t is the final tableau of the optimal basis; no right-hand side below −kRoundOff
    Infeasible, // a row that no column can raise; t unchanged
    Undecided,  // pivot limit, a singular basis or a programme the method does not take
};

// The dual simplex method from the slack basis of an initial tableau (every price at least 0,
// or a negative price on a share with an upper limit), the ingredient limit rows held as bounds
// on the shares when options.limitsAsBounds. Its tableau is checked against the data before it
// answers. t has the initial tableau's shape.
DualVerdict dualSimplex(Tableau& t, const Tableau& initial, SolveReport& report,
                        const DualOptions& options);

// Right-hand sides in [-kRoundOff, 0) of rows 1..M become 0; returns how many.
int clearRoundOffRightHandSides(Tableau& t);

// Whether some row 1..M has a negative right-hand side.
bool anyNegativeRightHandSide(const Tableau& t);

} // namespace tarvela::simplex::detail
