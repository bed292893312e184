#pragma once

#include "context/app_context.h"

class QWidget;

// The menu's catalog file items: each asks for its file, then opens its window or writes the
// file.
namespace tarvela {

// "Actualizar precios desde archivo…": the price list chosen, its preview window.
void importPricesFromFile(AppContext& ctx, QWidget* parent);
// "Importar composición…": the composition table chosen, its preview window.
void importCompositionFromFile(AppContext& ctx, QWidget* parent);
// "Exportar composición…": the composition of the current base written to the workbook or CSV
// file chosen (a name without either extension becomes a workbook); an existing file is
// replaced only when the user agrees.
void exportCompositionToFile(AppContext& ctx, QWidget* parent);

} // namespace tarvela
