#pragma once

#include "imports/composition_import.h"
#include "imports/preview_grid.h"
#include "imports/price_import.h"

#include <QJsonObject>
#include <QString>

// What the import commands print: the previews' grids as text tables, or one JSON object.
namespace tarvela::cli {

// The grid as a text table: the headings, then one line per row, every column but the last
// padded to its widest text; control characters in the texts escaped.
QString gridText(const imports::PreviewGrid& grid);

// file, base, rows [{fila, codigo, id_producto (null when none), nombre, costo_actual,
// costo_nuevo, variacion, materia_seca_actual, materia_seca_nueva, estado, motivo}], counts
// {estado: n}, applied, updated; numbers unrounded, null for null.
QJsonObject priceJson(const QString& file, int base, const imports::PricePreview& preview,
                      bool applied, int updated);

// file, base, new_nutrients [{columna, nombre, unidad}], new_ingredients [{fila, codigo, nombre,
// unidad, costo, materia_seca, valores}], changed [{fila, codigo, ingrediente, campo, antes,
// despues}], refused [{fila, motivo}], counts {new_ingredients, new_nutrients, changed,
// unchanged, refused}, applied.
QJsonObject compositionJson(const QString& file, int base,
                            const imports::CompositionPreview& preview, bool applied);

} // namespace tarvela::cli
