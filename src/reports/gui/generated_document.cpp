#include "reports/gui/generated_document.h"

#include "context/open_document.h"
#include "widgets/errores_window.h"
#include "widgets/modal_launcher.h"

#include <QDir>

namespace tarvela {

void deliverDocument(AppContext& ctx, const reports::WrittenFile& file, QWidget* parent) {
    if (!file.ok()) {
        errores window(ctx, QStringLiteral("No se pudo generar el documento"), file.errorNumber,
                       file.error, parent);
        execModal(ctx, window);
        return;
    }
    // A document no program opened is still where it was written: the user is told where.
    if (!showDocument(ctx.ui(), file.path))
        ctx.ui().message(QStringLiteral("El documento quedó guardado en ") +
                             QDir::toNativeSeparators(file.path),
                         MsgIcon::Information);
}

} // namespace tarvela
