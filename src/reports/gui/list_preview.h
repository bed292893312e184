#pragma once

#include "context/app_context.h"
#include "db/result.h"
#include "reports/list_printout.h"

class QWidget;

// "Imprimir" of the ingredient, nutrient and formula lists: the list's last search run again,
// read-only, into its printout, shown modally in a print preview from which the user prints.
namespace tarvela {

// Shows the printout of the rows in a modal print preview.
void previewList(AppContext& ctx, const reports::ListLayout& layout, const db::Result& rows,
                 QWidget* parent);

// The ingredient and nutrient lists hand in their last search statement (without ordering): the
// printout lists its rows by name.
void printIngredientList(AppContext& ctx, const QString& lastSelect, QWidget* parent);
void printNutrientList(AppContext& ctx, const QString& lastSelect, QWidget* parent);
// The formula list hands in its last search statement, ordering included.
void printFormulaList(AppContext& ctx, const QString& lastSearchSql, QWidget* parent);

} // namespace tarvela
