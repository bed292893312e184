#pragma once

#include "context/desktop.h"

#include <QString>

namespace tarvela {

// Opens a written document with the program the desktop associates with its type, under the
// busy pointer. When the desktop cannot, a warning says why: "No se encontró instalado el
// editor para visualizar el tipo de documento seleccionado." when no program is associated with
// the type, "No es posible visualizar el documento." otherwise. True when the document opened.
bool showDocument(Desktop& desktop, const QString& path);

} // namespace tarvela
