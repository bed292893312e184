#pragma once

#include "formulation/formula_diagnosis.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

// What tarvela-cli formulate adds for a run whose limits cannot all be met.
namespace tarvela::cli {

// diagnosis {conflicts [[{tipo, id, nombre, limite, valor}], ...] (each independent conflict a
// set), conflict (the first of them), single_changes [{tipo, id, nombre, limite, valor,
// nuevo_valor}] (the limits of every set in turn), relaxation {changes [{..., nuevo_valor}],
// costo_unitario}}; the batch's id, a single change that alone is not enough and a missing
// relaxation are null. A ratio's limit has id_num and id_den in place of id.
QJsonObject diagnosisJson(const formulation::FormulaDiagnosis& diagnosis);

// The same as the diagnosis window lists it: the conflicting limits with the value each needs,
// then the proposal with its cost.
QString diagnosisTable(const formulation::FormulaDiagnosis& diagnosis, QChar sep);

} // namespace tarvela::cli
