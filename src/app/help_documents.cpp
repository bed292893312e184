#include "app/help_documents.h"

#include <QDir>

namespace tarvela {

void openHelpDocument(Desktop& desktop, const QString& installDir, const QString& fileName) {
    const int result = desktop.openDocument(QDir(installDir).filePath(fileName));
    if (result > 32)
        return;
    desktop.message(
        result == 31
            ? QStringLiteral("Debe instalar Acrobat Reader para poder visualizar el documento")
            : QStringLiteral("No es posible visualizar el documento"),
        MsgIcon::Warning);
}

} // namespace tarvela
