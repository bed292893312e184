#include "context/open_document.h"

namespace tarvela {

namespace {
// Shell results: above 32 the document opened; 31 no program is associated with the type.
constexpr int kLastFailure = 32;
constexpr int kNoAssociation = 31;
} // namespace

bool showDocument(Desktop& desktop, const QString& path) {
    int result = 0;
    {
        BusyPointer busy(desktop);
        result = desktop.openDocument(path);
    }
    if (result > kLastFailure)
        return true;
    desktop.message(result == kNoAssociation
                        ? QStringLiteral("No se encontró instalado el editor para visualizar el "
                                         "tipo de documento seleccionado.")
                        : QStringLiteral("No es posible visualizar el documento."),
                    MsgIcon::Warning);
    return false;
}

} // namespace tarvela
