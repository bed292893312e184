#include "reports/gui/generated_document.h"

#include "app/gui/errores_window.h"
#include "app/gui/modal_launcher.h"
#include "context/open_document.h"

namespace tarvela {

void deliverDocument(AppContext& ctx, const reports::WrittenFile& file, QWidget* parent) {
    if (!file.ok()) {
        errores window(ctx, QStringLiteral("No se pudo generar el documento"), file.errorNumber,
                       file.error, parent);
        execModal(ctx, window);
        return;
    }
    showDocument(ctx.ui(), file.path);
}

} // namespace tarvela
