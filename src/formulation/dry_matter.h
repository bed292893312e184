#pragma once

#include "formulation/working_model.h"

// Conversions between a value per unit as fed and per unit of dry matter. A dry matter that is
// not above 0 (or unknown) converts nothing: the result is empty rather than infinite.
namespace tarvela::formulation {

inline bool hasDryMatter(const Opt& materiaSeca) {
    return materiaSeca && *materiaSeca > 0;
}

// value / (materia_seca / 100): a price per unit of dry matter, or an as-fed quantity from a
// dry one.
inline Opt perDryMatter(const Opt& value, const Opt& materiaSeca) {
    if (!value || !hasDryMatter(materiaSeca))
        return std::nullopt;
    return *value / (*materiaSeca / 100.0);
}

} // namespace tarvela::formulation
