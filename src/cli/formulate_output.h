#pragma once

#include "context/recording_desktop.h"
#include "formulation/run.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

// What tarvela-cli formulate prints: the formula, the messages of the run and the resulting mix,
// as a readable table or as one JSON object.
namespace tarvela::cli {

// formula {id, codigo, version, producto, cantidad, vSecaIng, vSecaNut}, messages [{text, title,
// icon}], ingredients, nutrients, relaciones [{id_num, id_den, nombre, minimo, maximo, valor}],
// grupos [{id, nombre, minimo, maximo, valor}], totals and analysis; numbers unrounded, null for
// null (a ratio whose denominator is 0 in the mix has a null valor).
QJsonObject formulationJson(const formulation::WorkingModel& model,
                            const std::vector<RecordedMessage>& messages);

// The header, the messages, the ingredient and nutrient tables, the ratio and group limits when
// the formula has any, the totals and the analysis, numbers in the windows' patterns with the
// given decimal separator. Each message is one line; the message at index contributions (the
// contributions table, names escaped by contributionsText) keeps its lines.
QString formulationTable(const formulation::WorkingModel& model,
                         const std::vector<RecordedMessage>& messages, QChar sep,
                         std::optional<size_t> contributions = std::nullopt);

// The contributions window as text: its headings, one line per ingredient (names escaped) and
// the largest value a blend of the current ingredients reaches.
QString contributionsText(const formulation::AportesReport& report, QChar sep);

} // namespace tarvela::cli
