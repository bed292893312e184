#include "support/reference/clp_reference.h"

#include <coin/ClpSimplex.hpp>
#include <coin/CoinPackedMatrix.hpp>

#include <vector>

namespace tarvela::test {

ClpProblem::ClpProblem(const simplex::Tableau& initial) : model_(std::make_unique<ClpSimplex>()) {
    const int m = initial.m();
    const int n = initial.ni();
    std::vector<int> rows;
    std::vector<int> cols;
    std::vector<double> values;
    for (int i = 1; i <= m; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (initial.at(i, j) != 0.0) {
                rows.push_back(i - 1);
                cols.push_back(j - 1);
                values.push_back(initial.at(i, j));
            }
        }
    }
    const CoinPackedMatrix matrix(true, rows.data(), cols.data(), values.data(),
                                  static_cast<CoinBigIndex>(values.size()));
    std::vector<double> objective(static_cast<size_t>(n));
    std::vector<double> columnLower(static_cast<size_t>(n), 0.0);
    std::vector<double> columnUpper(static_cast<size_t>(n), COIN_DBL_MAX);
    for (int j = 1; j <= n; ++j) {
        objective[static_cast<size_t>(j - 1)] = initial.at(0, j);
    }
    std::vector<double> rowLower(static_cast<size_t>(m), -COIN_DBL_MAX);
    std::vector<double> rowUpper(static_cast<size_t>(m));
    for (int i = 1; i <= m; ++i) {
        rowUpper[static_cast<size_t>(i - 1)] = initial.rhs(i);
    }
    model_->setLogLevel(0);
    model_->loadProblem(matrix, columnLower.data(), columnUpper.data(), objective.data(),
                        rowLower.data(), rowUpper.data());
}

ClpProblem::~ClpProblem() = default;
ClpProblem::ClpProblem(ClpProblem&&) noexcept = default;
ClpProblem& ClpProblem::operator=(ClpProblem&&) noexcept = default;

bool ClpProblem::solve() {
    model_->allSlackBasis(true);
    model_->dual();
    return model_->isProvenOptimal();
}

double ClpProblem::cost() const {
    return model_->objectiveValue();
}

} // namespace tarvela::test
