// The dual simplex method from the slack basis, with the ingredient limit rows held as bounds on
// the shares: the feasibility question and the optimum settled together on a tableau of the
// nutrient and total-share rows alone.
#include "solver/dense_elimination.h"
#include "solver/simplex_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>

namespace tarvela::simplex::detail {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A constraint row that only limits one ingredient: a single ingredient entry of exactly −1 (a
// lower limit, x >= −b) or +1 (an upper limit, x <= b), besides its own slack.
struct LimitRows {
    std::vector<int> lower;   // per ingredient column j (index j), the row of its lower limit or 0
    std::vector<int> upper;   // ... of its upper limit or 0
    std::vector<int> general; // every other constraint row, in row order
};

LimitRows findLimitRows(const Tableau& t, bool asBounds) {
    const int ni = t.ni();
    LimitRows rows;
    rows.lower.assign(sz(ni) + 1, 0);
    rows.upper.assign(sz(ni) + 1, 0);
    for (int i = 1; i <= t.m(); ++i) {
        const double* row = t.data().data() + sz(i) * sz(t.cols());
        // Counted by their bits (either zero has none but the sign), four entries at a time.
        int entries = 0;
        for (int j = 1; j <= ni; ++j) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, row + j, sizeof bits);
            entries += static_cast<int>((bits << 1) != 0);
        }
        int column = 0;
        if (entries == 1) {
            column = 1;
            while (row[column] == 0.0) {
                ++column;
            }
        }
        if (asBounds && entries == 1) {
            const double a = t.at(i, column);
            std::vector<int>& limit = a == -1.0 ? rows.lower : rows.upper;
            if ((a == -1.0 || a == 1.0) && limit[sz(column)] == 0) {
                limit[sz(column)] = i;
                continue;
            }
        }
        rows.general.push_back(i);
    }
    return rows;
}

// The programme min c·x subject to the general rows, lo <= x <= up, solved on the tableau of the
// general rows. Each share is measured from its lower bound, and a share at its upper bound is
// measured down from it (its column complemented), so that every non-basic column stands at 0
// and the right-hand sides are the values of the basic columns. Dual feasibility is then
// T(0, j) >= 0 for every non-basic column.
class BoundedDual {
public:
    BoundedDual(const Tableau& initial, const LimitRows& rows, SolveReport& report)
        : initial_(initial), rows_(rows), report_(report), ni_(initial.ni()),
          g_(static_cast<int>(rows.general.size())), t_(threadWorkspace().reduced),
          data_(threadWorkspace().reducedData) {}

    DualVerdict solve(Tableau& full, long pivotLimit, DualPricing pricing);

private:
    int p() const { return ni_ + g_ + 1; }
    int lastColumn() const { return ni_ + g_; }
    bool setUp();
    void complementColumn(int j);
    void complementBasicRow(int r);
    int leavingRow(DualPricing pricing);
    int enteringColumn(int r);
    void doPivot(int r, int c);
    DriftCheck checkDrift();
    void refineValues();
    void writeFullTableau(Tableau& full) const;

    const Tableau& initial_;
    const LimitRows& rows_;
    SolveReport& report_;
    int ni_;
    int g_;
    Tableau& t_;                // rows 0..G: the objective and the general rows
    Tableau& data_;             // the same rows as stated, shifted and complemented as t_ is
    std::vector<double> lo_;    // per ingredient column, the lower bound of its share
    std::vector<double> range_; // per column, upper bound − lower bound (infinite for slacks)
    std::vector<char> complemented_;
    std::vector<char> basic_;
    std::vector<int> scratch_;
    // The basic columns are exact unit vectors (pivots and recomputations keep them so), and
    // open_ lists column 0, the non-basic columns and the right-hand side, where alone a pivot
    // row can hold non-zeros besides its basic column.
    bool unit_ = false;
    std::vector<int> open_;
    // Scratch of the choices of rows and columns.
    std::vector<int> outside_;
    std::vector<double> infeasibility_;
    std::vector<double> score_;
    std::vector<int> candidates_;
    std::vector<double> reach_;
    std::vector<double> slack_;
};

bool BoundedDual::setUp() {
    const int cols = ni_ + g_ + 2;
    t_.reset(ni_, g_);
    lo_.assign(sz(ni_) + 1, 0.0);
    range_.assign(sz(cols), kInfinity);
    complemented_.assign(sz(cols), 0);
    basic_.assign(sz(cols), 0);
    for (int g = 1; g <= g_; ++g) {
        basic_[sz(ni_ + g)] = 1;
    }
    const int fullP = initial_.p();
    for (int i = 0; i <= g_; ++i) {
        const int source = i == 0 ? 0 : rows_.general[sz(i - 1)];
        for (int j = 0; j <= ni_; ++j) {
            t_.at(i, j) = initial_.at(source, j);
        }
        if (i > 0) {
            t_.at(i, ni_ + i) = initial_.at(source, ni_ + source);
        }
        t_.rhs(i) = initial_.at(source, fullP);
    }
    for (int j = 1; j <= ni_; ++j) {
        const int lowerRow = rows_.lower[sz(j)];
        const int upperRow = rows_.upper[sz(j)];
        const double lo = lowerRow ? std::max(0.0, -initial_.rhs(lowerRow)) : 0.0;
        const double up = upperRow ? initial_.rhs(upperRow) : kInfinity;
        if (!(up >= lo)) {
            return false; // limits that no share meets: left to the textbook phase 1
        }
        lo_[sz(j)] = lo;
        range_[sz(j)] = up - lo;
        if (lo != 0.0) {
            for (int i = 0; i <= g_; ++i) {
                t_.rhs(i) -= t_.at(i, j) * lo;
            }
        }
    }
    data_ = t_;
    // A negative price is dual feasible only at the share's upper bound.
    for (int j = 1; j <= ni_; ++j) {
        if (t_.at(0, j) < 0.0) {
            if (std::isinf(range_[sz(j)])) {
                return false;
            }
            complementColumn(j);
        }
    }
    unit_ = basicColumnsAreUnit(t_);
    if (unit_) {
        open_ = openColumns(t_);
    }
    return true;
}

// x_j := range_j − x_j for a non-basic column: the column changes sign and the right-hand sides
// take its value at the other bound.
void BoundedDual::complementColumn(int j) {
    const double range = range_[sz(j)];
    for (Tableau* t : {&t_, &data_}) {
        for (int i = 0; i <= g_; ++i) {
            double& a = t->at(i, j);
            if (a != 0.0) {
                t->rhs(i) -= a * range;
                a = -a;
            }
        }
    }
    complemented_[sz(j)] ^= 1;
}

// The basic column of row r lies above its upper bound: measured down from that bound it lies
// below 0, and row r changes sign (its basic column stays a unit column).
void BoundedDual::complementBasicRow(int r) {
    const int b = t_.basis()[sz(r)];
    const double range = range_[sz(b)];
    double* row = t_.data().data() + sz(r) * sz(t_.cols());
    for (int k = 1; k < t_.cols() - 1; ++k) {
        if (k != b && row[k] != 0.0) {
            row[k] = -row[k];
        }
    }
    row[t_.cols() - 1] = range - row[t_.cols() - 1];
    // As stated, the column changes sign and the right-hand sides take its upper bound.
    for (int i = 0; i <= g_; ++i) {
        double& a = data_.at(i, b);
        if (a != 0.0) {
            data_.rhs(i) -= a * range;
            a = -a;
        }
    }
    complemented_[sz(b)] ^= 1;
}

// The row whose basic column lies furthest outside its bounds (measured by the dual steepest
// edge when asked: the infeasibility over the length of the row of B⁻¹, which the slack columns
// hold). 0 when every basic column is within its bounds up to round-off.
int BoundedDual::leavingRow(DualPricing pricing) {
    // The rows outside their bounds, with how far.
    outside_.clear();
    infeasibility_.clear();
    for (int i = 1; i <= g_; ++i) {
        const double value = t_.rhs(i);
        const double range = range_[sz(t_.basis()[sz(i)])];
        if (value < -kRoundOff) {
            outside_.push_back(i);
            infeasibility_.push_back(-value);
        } else if (value > range + kRoundOff) {
            outside_.push_back(i);
            infeasibility_.push_back(value - range);
        }
    }
    const int count = static_cast<int>(outside_.size());
    score_.assign(infeasibility_.begin(), infeasibility_.end());
    // Only rows outside their bounds need their weight, so it is computed afresh for them; four
    // rows at a time, each summed in its own order.
    if (pricing == DualPricing::SteepestEdge) {
        const int cols = t_.cols();
        const double* inverse = t_.data().data() + ni_ + 1;
        int q = 0;
        for (; q + 4 <= count; q += 4) {
            const double* a = inverse + sz(outside_[sz(q)]) * sz(cols);
            const double* b = inverse + sz(outside_[sz(q + 1)]) * sz(cols);
            const double* c = inverse + sz(outside_[sz(q + 2)]) * sz(cols);
            const double* d = inverse + sz(outside_[sz(q + 3)]) * sz(cols);
            double wa = 0.0;
            double wb = 0.0;
            double wc = 0.0;
            double wd = 0.0;
            for (int k = 0; k < g_; ++k) {
                wa += a[k] * a[k];
                wb += b[k] * b[k];
                wc += c[k] * c[k];
                wd += d[k] * d[k];
            }
            const double w[4] = {wa, wb, wc, wd};
            for (int u = 0; u < 4; ++u) {
                const double x = infeasibility_[sz(q + u)];
                score_[sz(q + u)] = x * x / std::max(w[u], 1e-12);
            }
        }
        for (; q < count; ++q) {
            const double* a = inverse + sz(outside_[sz(q)]) * sz(cols);
            double weight = 0.0;
            for (int k = 0; k < g_; ++k) {
                weight += a[k] * a[k];
            }
            const double x = infeasibility_[sz(q)];
            score_[sz(q)] = x * x / std::max(weight, 1e-12);
        }
    }
    int best = 0;
    double bestScore = 0.0;
    for (int q = 0; q < count; ++q) {
        if (score_[sz(q)] > bestScore) {
            best = outside_[sz(q)];
            bestScore = score_[sz(q)];
        }
    }
    return best;
}

// Row r lies below 0. Among the non-basic columns with a negative entry in it, the one whose
// reduced cost reaches 0 first as the row's dual rises; within round-off of that ratio the
// largest entry in size (Harris's two passes). 0 when no column has a negative entry: nothing
// can raise the row.
int BoundedDual::enteringColumn(int r) {
    const double* row = t_.data().data() + sz(r) * sz(t_.cols());
    const double* obj = t_.data().data();
    // The candidates first, then their ratios: the divisions run side by side.
    candidates_.resize(sz(lastColumn()) + 1);
    int count = 0;
    for (int j = 1; j <= lastColumn(); ++j) {
        candidates_[sz(count)] = j;
        count += (basic_[sz(j)] == 0) & (row[j] < -kPivotTolerance);
    }
    reach_.resize(sz(count));
    slack_.resize(sz(count));
    for (int q = 0; q < count; ++q) {
        const int j = candidates_[sz(q)];
        const double d = std::max(obj[j], 0.0);
        reach_[sz(q)] = d / -row[j];
        slack_[sz(q)] = (d + kCostTolerance) / -row[j];
    }
    double bound = kInfinity;
    for (int q = 0; q < count; ++q) {
        bound = std::min(bound, slack_[sz(q)]);
    }
    int best = 0;
    for (int q = 0; q < count; ++q) {
        const int j = candidates_[sz(q)];
        if (reach_[sz(q)] <= bound && (best == 0 || row[j] < row[best])) {
            best = j;
        }
    }
    return best;
}

void BoundedDual::doPivot(int r, int c) {
    const int leaving = t_.basis()[sz(r)];
    if (unit_) {
        insertColumn(open_, leaving);
        pivotMatrix({t_.data().data(), t_.rows(), t_.cols()}, r, c, scratch_, &open_);
        eraseColumn(open_, c);
    } else {
        pivotMatrix({t_.data().data(), t_.rows(), t_.cols()}, r, c, scratch_);
    }
    t_.basis()[sz(r)] = c;
    basic_[sz(leaving)] = 0;
    basic_[sz(c)] = 1;
    ++report_.dualPivots;
}

DriftCheck BoundedDual::checkDrift() {
    const DriftCheck check = refactoriseIfDrifted(t_, data_, DriftScope::ObjectiveAndRightHandSide);
    if (check != DriftCheck::Consistent) {
        ++report_.refactorizations;
    }
    return check;
}

// The values of the basic columns and the cost, refined: the residual of B·x = b is taken in
// extended precision and corrected through B⁻¹, which the slack columns hold. An optimal basis
// can be ill-conditioned enough (a nutrient limit of 0.0001 beside contents in the thousands) for
// the values read off the tableau to be some 1e-9 off; refined, they are as exact as doubles hold.
void BoundedDual::refineValues() {
    std::vector<double> x(sz(g_) + 1);
    for (int i = 1; i <= g_; ++i) {
        x[sz(i)] = t_.rhs(i);
    }
    std::vector<double> residual(sz(g_) + 1);
    for (int step = 0; step < 2; ++step) {
        for (int g = 1; g <= g_; ++g) {
            long double r = data_.rhs(g);
            for (int i = 1; i <= g_; ++i) {
                r -= static_cast<long double>(data_.at(g, t_.basis()[sz(i)])) * x[sz(i)];
            }
            residual[sz(g)] = static_cast<double>(r);
        }
        for (int i = 1; i <= g_; ++i) {
            const double* inverseRow = t_.data().data() + sz(i) * sz(t_.cols()) + ni_;
            long double dx = 0.0L;
            for (int g = 1; g <= g_; ++g) {
                dx += static_cast<long double>(inverseRow[g]) * residual[sz(g)];
            }
            x[sz(i)] = static_cast<double>(x[sz(i)] + dx);
        }
    }
    long double z = data_.rhs(0);
    for (int i = 1; i <= g_; ++i) {
        t_.rhs(i) = x[sz(i)];
        z -= static_cast<long double>(data_.at(0, t_.basis()[sz(i)])) * x[sz(i)];
    }
    t_.rhs(0) = static_cast<double>(z);
}

// The final tableau of the whole programme, written from the tableau of the general rows. Its
// basis: the general rows keep their basic columns; a limit row has its slack basic, except that
// an ingredient held at a limit is basic in that limit's row. Every non-basic column of the
// whole tableau is then one of the non-basic columns here, measured the same way (an ingredient
// at 0, the slack of the lower limit an ingredient sits on, the slack of the upper limit, a
// general slack), so each row is a row of this tableau, a sign, or a limit row as stated.
void BoundedDual::writeFullTableau(Tableau& full) const {
    const int cols = full.cols();
    const int fullP = full.p();
    std::fill(full.data().begin(), full.data().end(), 0.0);
    std::vector<int>& basis = full.basis();

    // The whole tableau's column of each column here.
    std::vector<int> column(sz(lastColumn()) + 1, 0);
    for (int j = 1; j <= ni_; ++j) {
        if (complemented_[sz(j)]) {
            column[sz(j)] = ni_ + rows_.upper[sz(j)];
        } else if (lo_[sz(j)] != 0.0) {
            column[sz(j)] = ni_ + rows_.lower[sz(j)];
        } else {
            column[sz(j)] = j;
        }
    }
    for (int g = 1; g <= g_; ++g) {
        column[sz(ni_ + g)] = ni_ + rows_.general[sz(g - 1)];
    }

    // Row 0 and the general rows: the non-basic entries as they stand (a basic ingredient
    // measured down from its upper bound turns the row's sign), the value of the basic column.
    std::vector<int> rowOfIngredient(sz(ni_) + 1, 0); // general row holding a basic ingredient
    for (int g = 0; g <= g_; ++g) {
        const int row = g == 0 ? 0 : rows_.general[sz(g - 1)];
        const int b = g == 0 ? 0 : t_.basis()[sz(g)];
        double sign = 1.0;
        double value = t_.rhs(g);
        if (g == 0) {
            full.at(0, 0) = 1.0;
        } else if (b <= ni_) {
            rowOfIngredient[sz(b)] = row;
            sign = complemented_[sz(b)] ? -1.0 : 1.0;
            value = complemented_[sz(b)] ? lo_[sz(b)] + range_[sz(b)] - value : lo_[sz(b)] + value;
            basis[sz(row)] = b;
            full.at(row, b) = 1.0;
        } else {
            basis[sz(row)] = column[sz(b)];
            full.at(row, column[sz(b)]) = 1.0;
        }
        for (int j = 1; j <= lastColumn(); ++j) {
            if (!basic_[sz(j)] && t_.at(g, j) != 0.0) {
                full.at(row, column[sz(j)]) = sign * t_.at(g, j);
            }
        }
        full.at(row, fullP) = value;
    }

    // The limit rows of each ingredient.
    for (int j = 1; j <= ni_; ++j) {
        const int lowerRow = rows_.lower[sz(j)];
        const int upperRow = rows_.upper[sz(j)];
        const double lower = lowerRow ? -initial_.rhs(lowerRow) : 0.0;
        const double upper = upperRow ? initial_.rhs(upperRow) : 0.0;
        if (basic_[sz(j)]) {
            // x_j = v − Σ a·y from its general row: its slacks follow, s_L = x_j − lower and
            // s_U = upper − x_j.
            const double* source = full.data().data() + sz(rowOfIngredient[sz(j)]) * sz(cols);
            for (const auto& [row, sign, offset] :
                 {std::tuple{lowerRow, 1.0, -lower}, std::tuple{upperRow, -1.0, upper}}) {
                if (row == 0) {
                    continue;
                }
                double* target = full.data().data() + sz(row) * sz(cols);
                for (int k = 1; k < fullP; ++k) {
                    if (k != j && source[k] != 0.0) {
                        target[k] = sign * source[k];
                    }
                }
                target[fullP] = sign * source[fullP] + offset;
                target[ni_ + row] = 1.0;
                basis[sz(row)] = ni_ + row;
            }
            continue;
        }
        const bool atUpper = complemented_[sz(j)];
        const bool atLower = !atUpper && lo_[sz(j)] != 0.0;
        if (lowerRow) {
            if (atLower) { // x_j − s_L = lower
                basis[sz(lowerRow)] = j;
                full.at(lowerRow, j) = 1.0;
                full.at(lowerRow, ni_ + lowerRow) = -1.0;
                full.at(lowerRow, fullP) = lower;
            } else if (atUpper) { // s_L + s_U = upper − lower
                basis[sz(lowerRow)] = ni_ + lowerRow;
                full.at(lowerRow, ni_ + lowerRow) = 1.0;
                full.at(lowerRow, ni_ + upperRow) = 1.0;
                full.at(lowerRow, fullP) = upper - lower;
            } else { // −x_j + s_L = −lower, as stated
                basis[sz(lowerRow)] = ni_ + lowerRow;
                full.at(lowerRow, j) = -1.0;
                full.at(lowerRow, ni_ + lowerRow) = 1.0;
                full.at(lowerRow, fullP) = -lower;
            }
        }
        if (upperRow) {
            if (atUpper) { // x_j + s_U = upper
                basis[sz(upperRow)] = j;
                full.at(upperRow, j) = 1.0;
                full.at(upperRow, ni_ + upperRow) = 1.0;
                full.at(upperRow, fullP) = upper;
            } else if (atLower) { // s_L + s_U = upper − lower
                basis[sz(upperRow)] = ni_ + upperRow;
                full.at(upperRow, ni_ + lowerRow) = 1.0;
                full.at(upperRow, ni_ + upperRow) = 1.0;
                full.at(upperRow, fullP) = upper - lower;
            } else { // x_j + s_U = upper, as stated
                basis[sz(upperRow)] = ni_ + upperRow;
                full.at(upperRow, j) = 1.0;
                full.at(upperRow, ni_ + upperRow) = 1.0;
                full.at(upperRow, fullP) = upper;
            }
        }
    }
}

DualVerdict BoundedDual::solve(Tableau& full, long pivotLimit, DualPricing pricing) {
    if (!setUp()) {
        return DualVerdict::Undecided;
    }
    int recomputations = 0;
    constexpr int kRecomputations = 3;
    for (long it = 0;; ++it) {
        const int r = leavingRow(pricing);
        int c = 0;
        if (r != 0) {
            if (t_.rhs(r) > 0.0) {
                complementBasicRow(r);
            }
            c = enteringColumn(r);
            if (c != 0 && it < pivotLimit) {
                doPivot(r, c);
                continue;
            }
        }
        // Optimal, or a row that nothing raises, or out of pivots: only a tableau that agrees
        // with the data may say so; a drifted one is recomputed and the pivots go on from it.
        const DriftCheck check = checkDrift();
        if (check == DriftCheck::Singular) {
            return DualVerdict::Undecided;
        }
        if (check == DriftCheck::Refactorised && ++recomputations <= kRecomputations &&
            it < pivotLimit) {
            continue;
        }
        if (r != 0) {
            return c == 0 && check == DriftCheck::Consistent ? DualVerdict::Infeasible
                                                             : DualVerdict::Undecided;
        }
        if (check != DriftCheck::Consistent) {
            return DualVerdict::Undecided;
        }
        break;
    }
    refineValues();
    writeFullTableau(full);
    return DualVerdict::Optimal;
}

} // namespace

DualVerdict dualSimplex(Tableau& t, const Tableau& initial, SolveReport& report,
                        const DualOptions& options) {
    const LimitRows rows = findLimitRows(initial, options.limitsAsBounds);
    BoundedDual dual(initial, rows, report);
    const long limit = 50L * (initial.rows() + initial.cols()) + 10000;
    return dual.solve(t, limit, options.pricing);
}

} // namespace tarvela::simplex::detail
