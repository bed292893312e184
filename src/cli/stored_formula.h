#pragma once

#include "context/recording_desktop.h"
#include "db/connection.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QString>

#include <memory>

// What the commands that work on stored data share: the database file opened and brought up to
// the current version, and a stored formula loaded as the formulation window loads it.
namespace tarvela::cli {

std::unique_ptr<db::Connection> openDatabase(const QString& file);

// The loading's messages are kept in the desktop; when the formula cannot be loaded they go to
// standard error and the answer is false.
bool loadStoredFormula(formulation::WorkingModel& model, db::Connection& conn, int formulaId,
                       RecordingDesktop& desktop, QChar decimalSeparator);

} // namespace tarvela::cli
