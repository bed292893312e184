#pragma once

#include "plan/plan_run.h"
#include "plan/plan_store.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

// What tarvela-cli plan prints.
namespace tarvela::cli {

// {plan, nombre, costo_total, costo_separado, costo_escasez, formulas [{id_formula, codigo,
// cantidad, costo_unitario, costo_unitario_solo, ingredientes [{id, nombre, cantidad,
// porcentaje}]}], existencias [{id, nombre, existencia, usado, sobrante, valor_marginal,
// limitante}], messages, and diagnosis {conflict [{formula, tipo, id, nombre, limite, valor}],
// relaxation {changes [{..., nuevo_valor}], costo}} when the plan cannot be met}. Figures the
// plan has not reached are null; a stock without limit has existencia and sobrante null.
QJsonObject planJson(const plan::Plan& plan, const plan::PlanOutcome& outcome);

// Per formula its mix and unit cost beside the single run's, the totals, then one line per stock
// (or the messages and the diagnosis).
QString planTable(const plan::Plan& plan, const plan::PlanOutcome& outcome, QChar sep);

} // namespace tarvela::cli
