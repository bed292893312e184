#pragma once

#include "context/app_context.h"
#include "reports/output_file.h"

class QWidget;

namespace tarvela {

// Hands a generated document to the user: opens it with the desktop's program for its type (when
// none opens it, says where it is), or, when it could not be written, shows the error window
// with the failure and opens nothing.
void deliverDocument(AppContext& ctx, const reports::WrittenFile& file, QWidget* parent);

} // namespace tarvela
