#pragma once

#include "context/recording_desktop.h"
#include "formulation/run.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QJsonObject>
#include <QString>

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
// the formula has any, the totals and the analysis,
// numbers in the windows' patterns with the given decimal separator.
QString formulationTable(const formulation::WorkingModel& model,
                         const std::vector<RecordedMessage>& messages, QChar sep);

// The contributions window as text: its headings, one line per ingredient and the largest value
// a blend of the current ingredients reaches.
QString contributionsText(const formulation::AportesReport& report, QChar sep);

// Text from the database as the terminal may show it: control characters (escape sequences,
// line feeds, C1 controls) written as "\n", "\t", "\r" or "\xHH"; line feeds kept where a
// message has lines of its own.
QString escaped(const QString& text, bool keepLineFeeds = false);

} // namespace tarvela::cli
