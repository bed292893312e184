#pragma once

#include "context/desktop.h"

#include <QString>

// The documents the main window's help menu opens from the installation folder.
namespace tarvela {

inline const QString kQuickGuideFile = QStringLiteral("guiarapidatarvela.pdf");
inline const QString kMakerDocumentFile = QStringLiteral("vadomarsistemas.pdf");
// The caption of the help item that opens the maker's document.
inline const QString kMakerName = QStringLiteral("Vadomar Sistemas");

// Opens installDir/fileName with its associated program; a failure is reported with the warning
// icon: "Debe instalar Acrobat Reader para poder visualizar el documento" when no program is
// associated with the document's type, otherwise "No es posible visualizar el documento".
void openHelpDocument(Desktop& desktop, const QString& installDir, const QString& fileName);

} // namespace tarvela
