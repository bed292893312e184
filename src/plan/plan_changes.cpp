#include "plan/plan_changes.h"

#include <algorithm>

namespace tarvela::plan {

bool differsFromSaved(const Plan& current, const Plan& saved) {
    const auto sameFormula = [](const PlanFormula& a, const PlanFormula& b) {
        return a.idFormula == b.idFormula && a.cantidad == b.cantidad;
    };
    const auto sameStock = [](const PlanStock& a, const PlanStock& b) {
        return a.idProducto == b.idProducto && a.existencia == b.existencia;
    };
    return current.nombre.trimmed() != saved.nombre.trimmed() ||
           !std::equal(current.formulas.begin(), current.formulas.end(), saved.formulas.begin(),
                       saved.formulas.end(), sameFormula) ||
           !std::equal(current.existencias.begin(), current.existencias.end(),
                       saved.existencias.begin(), saved.existencias.end(), sameStock);
}

} // namespace tarvela::plan
