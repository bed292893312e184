#pragma once

#include "db/connection.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// Which formulas a reformulation worklist takes: the latest version of each code of one base,
// narrowed by customer, code range and the date of the last change.
namespace tarvela::worklist {

struct WorklistFilter {
    int base = 1;
    int customer = 0; // 0: every customer
    QString codeFrom; // as typed; empty: no bound
    QString codeTo;
    // Only formulas last changed (or, never changed, created) before this date.
    std::optional<QDate> modifiedBefore;
};

// A formula of the worklist as the list names it.
struct WorklistFormula {
    int idFormula = 0;
    QString codigo; // trimmed
    QString producto;
    int idCliente = 0;
    QString cliente; // the customer's name; empty for none
    int version = 0;
};

// The latest version of each code of the base that passes the filter, by code. The filter
// applies to that latest version: an older version never stands in for a newer one. Throws
// db::DbError.
std::vector<WorklistFormula> selectWorklist(db::Connection& conn, const WorklistFilter& filter);

} // namespace tarvela::worklist
