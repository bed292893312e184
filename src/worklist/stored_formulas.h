#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QStringList>

#include <vector>

// Many stored formulas read at once, each as the formulation window loads it: a few statements
// for all of them (their headers, their nutrients, their ingredients, with the items the catalog
// no longer lists), each formula's rows handed to its own model on the calling thread.
namespace tarvela::worklist {

struct StoredFormula {
    // The formula as loaded, before its totals and nutrient values are computed; formula id 0
    // when it was not found.
    formulation::WorkingModel model;
    // What the loading had to say, in order: "No se pudo establecer la Fórmula", or each
    // ingredient left out for want of dry matter.
    QStringList notas;
};

// The formulas of the given keys, in their order; a key given twice is read once. Throws
// db::DbError.
std::vector<StoredFormula> readStoredFormulas(db::Connection& conn, const std::vector<int>& ids,
                                              QChar decimalSeparator);

} // namespace tarvela::worklist
