#pragma once

#include "db/result.h"
#include "grid/grid_paint.h"

#include <QChar>

// How the formula list shows a search result: one heading row and one line per formula
// version, codes trimmed, identifier and quantity columns hidden.
namespace tarvela::formulas {

// Column of the list grid holding each column of the search result.
enum ListColumn {
    kColId = 0,
    kColCodigo = 1,
    kColProducto = 2,
    kColCantidad = 3,
    kColVersion = 4,
    kColCreacion = 5,
    kColModificacion = 6,
    kColCliente = 7,
    kColMarca = 8, // the comparison mark, while "Comparar fórmulas" is set
};

// Row 0 is the heading row (grey with white text); then one row per result row.
grid::GridPaint paintFormulaList(const db::Result& result, QChar decimalSeparator);

} // namespace tarvela::formulas
