#pragma once

#include "formulation/cost_curve.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

// What tarvela-cli curve prints: the points of a cost curve or a price map, as a table or as one
// JSON object.
namespace tarvela::cli {

// formula {id, codigo, version, producto}, curva {tipo ("nutriente", "ingrediente", "precio"),
// id, limite ("minimo", "maximo", null for a price), titulo, actual, desde, hasta, pasos,
// valido_desde, valido_hasta}, ingredientes [{id_producto, nombre}] (those whose quantity changes
// along the curve), puntos [{valor, tipo ("paso", "cambio", "borde"), estado ("Óptima", "Sin
// solución", ...), costo_unitario (null in a gap), cantidades (as fed, one per ingrediente),
// entran, salen, limites_activos, limites_liberados}]; numbers unrounded, null for null.
QJsonObject curveJson(const formulation::WorkingModel& model, const formulation::CostCurve& curve);

// The title, the current value and how far its record holds, then one line per point: the value,
// the unit cost as fed, the quantities of the ingredients that change, and the status.
QString curveTable(const formulation::WorkingModel& model, const formulation::CostCurve& curve,
                   QChar sep);

// The status of a point as the table and the JSON state it.
QString pointStatus(const formulation::CurvePoint& point);

} // namespace tarvela::cli
