#include "solver/sparse_programme.h"

#include "solver/simplex.h"

#include <coin/ClpSimplex.hpp>
#include <coin/CoinPackedMatrix.hpp>

#include <cmath>
#include <cstddef>

namespace tarvela::simplex {

namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

double toCoin(double bound) {
    if (bound == kNoBound)
        return COIN_DBL_MAX;
    if (bound == -kNoBound)
        return -COIN_DBL_MAX;
    return bound;
}

std::vector<double> toCoin(const std::vector<double>& bounds) {
    std::vector<double> out(bounds.size());
    for (std::size_t k = 0; k < bounds.size(); ++k)
        out[k] = toCoin(bounds[k]);
    return out;
}

std::vector<double> activityOf(const SparseProgramme& p, const std::vector<double>& x) {
    std::vector<double> activity(at(p.rows()), 0.0);
    for (std::size_t k = 0; k < p.entryValues().size(); ++k)
        activity[at(p.entryRows()[k])] += p.entryValues()[k] * x[at(p.entryColumns()[k])];
    return activity;
}

EngineSolution solveWithClp(const SparseProgramme& p) {
    EngineSolution out;
    CoinPackedMatrix matrix(true, p.entryRows().data(), p.entryColumns().data(),
                            p.entryValues().data(), static_cast<CoinBigIndex>(p.entries()));
    // The matrix may hold no entry of the last rows or columns: its size is the programme's.
    matrix.setDimensions(p.rows(), p.columns());
    ClpSimplex model;
    model.setLogLevel(0);
    const std::vector<double> columnLower = toCoin(p.columnLower());
    const std::vector<double> columnUpper = toCoin(p.columnUpper());
    const std::vector<double> rowLower = toCoin(p.rowLower());
    const std::vector<double> rowUpper = toCoin(p.rowUpper());
    model.loadProblem(matrix, columnLower.data(), columnUpper.data(), p.cost().data(),
                      rowLower.data(), rowUpper.data());
    model.initialSolve();
    out.iterations = model.numberIterations();
    switch (model.status()) {
    case 0:
        out.outcome = EngineOutcome::Optimal;
        break;
    case 1:
        out.outcome = EngineOutcome::Infeasible;
        break;
    case 2:
        out.outcome = EngineOutcome::Unbounded;
        break;
    case 3:
        out.outcome = EngineOutcome::IterationLimit;
        break;
    default:
        out.outcome = EngineOutcome::Failed;
        break;
    }
    if (out.outcome != EngineOutcome::Optimal)
        return out;
    const double* x = model.primalColumnSolution();
    const double* activity = model.primalRowSolution();
    const double* duals = model.dualRowSolution();
    out.x.assign(x, x + p.columns());
    out.activity.assign(activity, activity + p.rows());
    out.duals.assign(duals, duals + p.rows());
    out.cost = model.objectiveValue();
    return out;
}

// Every row "<=" in the tableau: an upper bound as it is, a lower bound negated; a row with both
// becomes two. Column lower bounds must be 0 and upper bounds absent.
EngineSolution solveWithDenseSimplex(const SparseProgramme& p) {
    EngineSolution out;
    for (int j = 0; j < p.columns(); ++j)
        if (p.columnLower()[at(j)] != 0.0 || p.columnUpper()[at(j)] != kNoBound)
            return out;
    struct TableauRow {
        int row;
        double sign;
    };
    std::vector<TableauRow> rows;
    for (int i = 0; i < p.rows(); ++i) {
        if (p.rowUpper()[at(i)] != kNoBound)
            rows.push_back({i, 1.0});
        if (p.rowLower()[at(i)] != -kNoBound)
            rows.push_back({i, -1.0});
    }
    const int ni = p.columns();
    const int m = static_cast<int>(rows.size());
    Tableau t(ni, m);
    t.at(0, 0) = 1.0;
    for (int j = 0; j < ni; ++j)
        t.at(0, j + 1) = p.cost()[at(j)];
    std::vector<std::vector<int>> tableauRowsOf(at(p.rows()));
    for (int r = 1; r <= m; ++r) {
        const TableauRow& row = rows[at(r - 1)];
        tableauRowsOf[at(row.row)].push_back(r);
        t.at(r, ni + r) = 1.0;
        t.rhs(r) = row.sign > 0 ? p.rowUpper()[at(row.row)] : -p.rowLower()[at(row.row)];
    }
    for (std::size_t k = 0; k < p.entryValues().size(); ++k)
        for (int r : tableauRowsOf[at(p.entryRows()[k])])
            t.at(r, p.entryColumns()[k] + 1) += rows[at(r - 1)].sign * p.entryValues()[k];

    const SolveReport report = simplex::solve(t);
    out.iterations = report.phase2Pivots + report.dualPivots;
    switch (report.outcome) {
    case Outcome::Optimal:
        out.outcome = EngineOutcome::Optimal;
        break;
    case Outcome::Infeasible:
        out.outcome = EngineOutcome::Infeasible;
        return out;
    case Outcome::Unbounded:
        out.outcome = EngineOutcome::Unbounded;
        return out;
    case Outcome::IterationLimit:
        out.outcome = EngineOutcome::IterationLimit;
        return out;
    case Outcome::NotStandard:
        out.outcome = EngineOutcome::Failed;
        return out;
    }
    out.x.assign(at(ni), 0.0);
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[at(i)];
        if (b >= 1 && b <= ni)
            out.x[at(b - 1)] = t.rhs(i);
    }
    out.cost = -t.rhs(0);
    out.activity = activityOf(p, out.x);
    // The reduced cost of a row's slack is minus the change of the cost per unit of its
    // right-hand side; a lower bound's row is negated.
    out.duals.assign(at(p.rows()), 0.0);
    for (int r = 1; r <= m; ++r) {
        const TableauRow& row = rows[at(r - 1)];
        out.duals[at(row.row)] += row.sign * -t.at(0, ni + r);
    }
    return out;
}

} // namespace

int SparseProgramme::addColumn(double cost, double lower, double upper) {
    cost_.push_back(cost);
    columnLower_.push_back(lower);
    columnUpper_.push_back(upper);
    return columns() - 1;
}

int SparseProgramme::addRow(double lower, double upper) {
    rowLower_.push_back(lower);
    rowUpper_.push_back(upper);
    return rows() - 1;
}

void SparseProgramme::add(int row, int column, double value) {
    if (value == 0.0)
        return;
    entryRows_.push_back(row);
    entryColumns_.push_back(column);
    values_.push_back(value);
}

std::string_view engineName(Engine engine) {
    switch (engine) {
    case Engine::Clp:
        return "CLP";
    case Engine::DenseSimplex:
        return "Simplex denso";
    }
    return {};
}

EngineSolution solve(const SparseProgramme& programme, Engine engine) {
    switch (engine) {
    case Engine::Clp:
        return solveWithClp(programme);
    case Engine::DenseSimplex:
        return solveWithDenseSimplex(programme);
    }
    return {};
}

} // namespace tarvela::simplex
