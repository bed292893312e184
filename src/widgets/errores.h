#pragma once

#include "context/app_context.h"
#include "db/connection.h"

#include <QString>

class QWidget;

namespace tarvela {

// Shows the error window "errores" modally with the caller's message; its "Detalle" button shows
// the error's number and description.
void showError(AppContext& ctx, const QString& message, const db::DbError& error,
               QWidget* parent = nullptr);

} // namespace tarvela
