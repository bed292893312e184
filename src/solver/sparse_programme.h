#pragma once

#include <limits>
#include <string_view>
#include <vector>

// A linear programme held sparse, for programmes too large for one dense tableau (many formulas
// planned together), and the engines that solve it.
namespace tarvela::simplex {

constexpr double kNoBound = std::numeric_limits<double>::infinity();

// min Σ cost(j)·x(j) subject to rowLower(i) <= Σ a(i,j)·x(j) <= rowUpper(i) and
// columnLower(j) <= x(j) <= columnUpper(j); ±kNoBound for a missing bound.
class SparseProgramme {
public:
    int addColumn(double cost, double lower = 0.0, double upper = kNoBound);
    int addRow(double lower, double upper);
    // Sets a(row, column), once per cell; a 0 is left out.
    void add(int row, int column, double value);

    int columns() const { return static_cast<int>(cost_.size()); }
    int rows() const { return static_cast<int>(rowLower_.size()); }
    int entries() const { return static_cast<int>(values_.size()); }

    const std::vector<double>& cost() const { return cost_; }
    std::vector<double>& cost() { return cost_; }
    const std::vector<double>& columnLower() const { return columnLower_; }
    const std::vector<double>& columnUpper() const { return columnUpper_; }
    const std::vector<double>& rowLower() const { return rowLower_; }
    const std::vector<double>& rowUpper() const { return rowUpper_; }
    std::vector<double>& rowUpper() { return rowUpper_; }
    const std::vector<int>& entryRows() const { return entryRows_; }
    const std::vector<int>& entryColumns() const { return entryColumns_; }
    const std::vector<double>& entryValues() const { return values_; }

private:
    std::vector<double> cost_, columnLower_, columnUpper_;
    std::vector<double> rowLower_, rowUpper_;
    std::vector<int> entryRows_, entryColumns_;
    std::vector<double> values_;
};

// Which solver an engine call uses.
enum class Engine {
    Clp,          // COIN-OR CLP's dual simplex method on the sparse matrix, with its presolve
    DenseSimplex, // the system's own two-phase simplex on one dense tableau (every row "<=";
                  // columns from 0 without upper bounds only)
};

std::string_view engineName(Engine engine); // "CLP", "Simplex denso"

enum class EngineOutcome {
    Optimal,
    Infeasible,     // no point meets every row and bound
    Unbounded,      // the cost falls without end
    IterationLimit, // stopped before an answer
    Failed,         // the engine could not work on the programme (a dense call outside its
                    // terms, numerical trouble)
};

struct EngineSolution {
    EngineOutcome outcome = EngineOutcome::Failed;
    double cost = 0;
    std::vector<double> x;        // one per column
    std::vector<double> activity; // Σ a(i,j)·x(j), one per row
    // One per row: the change of the cost per unit increase of the row's binding bound (≤ 0 for
    // a binding upper bound of a minimisation, ≥ 0 for a binding lower bound, 0 when slack).
    std::vector<double> duals;
    long iterations = 0;

    bool optimal() const { return outcome == EngineOutcome::Optimal; }
};

EngineSolution solve(const SparseProgramme& programme, Engine engine = Engine::Clp);

} // namespace tarvela::simplex
