#pragma once

#include "formulation/formula_diagnosis.h"
#include "worklist/reformulation.h"
#include "worklist/version_save.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

#include <map>
#include <vector>

// What tarvela-cli reformulate prints: one line per formula, or one JSON object.
namespace tarvela::cli {

// The diagnosis of each formula without solution, by id_formula.
using Diagnoses = std::map<int, formulation::FormulaDiagnosis>;

// formulas [{id_formula, codigo, version, producto, cliente, costo_anterior, costo_actual,
// variacion, estado, entran, salen, messages, diagnosis (without solution), id_formula_nueva
// and error_grabacion (with --save)}]; numbers unrounded, null for none.
QJsonObject reformulationJson(const std::vector<worklist::Reformulated>& rows,
                              const Diagnoses& diagnoses, bool saved,
                              const worklist::VersionsSaved& save);

// The headings and one line per formula, then each formula's diagnosis and the failures of the
// save.
QString reformulationTable(const std::vector<worklist::Reformulated>& rows,
                           const Diagnoses& diagnoses, bool saved,
                           const worklist::VersionsSaved& save, QChar sep);

} // namespace tarvela::cli
