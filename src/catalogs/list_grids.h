#pragma once

#include "db/result.h"
#include "grid/grid_paint.h"

#include <QChar>

// How the catalog lists and the composition window show their rows: one heading row, then one
// row per result row; identifier columns hidden.
namespace tarvela::catalogs {

enum NutrientListColumn { kNutId = 0, kNutNombre = 1, kNutUnidad = 2 };
enum IngredientListColumn {
    kIngId = 0,
    kIngCodigo = 1, // trimmed, right-aligned
    kIngNombre = 2,
    kIngUnidad = 3,
    kIngCosto = 4, // "0.0000", right-aligned
    kIngMateriaSeca = 5,
};
enum CustomerListColumn { kCliId = 0, kCliNombre = 1, kCliDireccion = 2, kCliLocalidad = 3 };
enum CompositionColumn { kCompProducto = 0, kCompPropiedad = 1, kCompNombre = 2, kCompValor = 3 };

grid::GridPaint paintNutrientList(const db::Result& result);
grid::GridPaint paintIngredientList(const db::Result& result, QChar decimalSeparator);
grid::GridPaint paintCustomerList(const db::Result& result);
// A content of exactly 0 shows as an empty cell; an empty list shows one empty row.
grid::GridPaint paintComposition(const db::Result& result);

// The key a list row holds in its hidden identifier column; 0 for an empty (placeholder) row, so
// that nothing runs on a row that names no item.
int rowKey(const QString& identifierCell);

} // namespace tarvela::catalogs
