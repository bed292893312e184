#pragma once

#include "formulation/working_model.h"

#include <QString>
#include <QStringList>

// "Actualizar Precios" and "Actualizar M.Seca": the formula's own copies of each ingredient's
// price and dry matter replaced by the catalog values loaded with it. Both change the ingredient
// working table only; the caller recomputes the totals (actuResultados) and repaints.
namespace tarvela::formulation {

QString refreshPricesQuestion();
QString refreshDryMatterQuestion();

// costo_humeda := catalog price; costo_seca follows. An ingredient whose catalog price is
// unknown keeps the formula's own price.
void refreshPrices(WorkingModel& model);

// materia_seca := catalog dry matter; costo_seca and the quantity of the other basis follow
// (the quantity of the formula's basis stays, as do both shares). An ingredient whose catalog
// dry matter is 0 or unknown cannot be converted: it is left as it is and its name returned.
QStringList refreshDryMatter(WorkingModel& model);

// The message naming the ingredients a dry-matter refresh left as they were.
QString dryMatterNotRefreshedMessage(const QStringList& names);

} // namespace tarvela::formulation
