#pragma once

#include "imports/composition_import.h"
#include "imports/preview_grid.h"

#include <QChar>
#include <QString>

// The composition preview's lists as grids: new ingredients, new nutrients, values that change
// (before → after), values that stay, refused cells. Each grid reads the preview, which must
// outlive it.
namespace tarvela::imports {

// "Fila", "Código", "Nombre", "Unidad", "Costo", "Materia Seca", "Valores".
PreviewGrid newIngredientsGrid(const CompositionPreview& preview, QChar separator);
// "Columna", "Nutriente", "Unidad".
PreviewGrid newNutrientsGrid(const CompositionPreview& preview);
// "Fila", "Código", "Ingrediente", "Campo", "Antes", "Después": the changed or the unchanged
// values; a changed value's "Después" is green.
PreviewGrid valuesGrid(const CompositionPreview& preview, bool changed, QChar separator);
// "Fila", "Motivo" in red.
PreviewGrid refusedGrid(const CompositionPreview& preview);

// "Ingredientes nuevos: 2 · Nutrientes nuevos: 1 · Valores cambiados: 40 · Valores sin
// cambios: 1.200 · Celdas rechazadas: 3".
QString compositionPreviewCounts(const CompositionPreview& preview);

} // namespace tarvela::imports
