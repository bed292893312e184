#pragma once

#include "context/recording_desktop.h"
#include "db/connection.h"
#include "formulation/working_model.h"

#include <QChar>

// A stored formula loaded for a command as the formulation window loads it.
namespace tarvela::cli {

// The loading's messages are kept in the desktop; when the formula cannot be loaded they go to
// standard error and the answer is false.
bool loadStoredFormula(formulation::WorkingModel& model, db::Connection& conn, int formulaId,
                       RecordingDesktop& desktop, QChar decimalSeparator);

} // namespace tarvela::cli
