#pragma once

#include "context/app_context.h"
#include "formulation/working_model.h"
#include "reports/gui/frmImprimir.h"

class QWidget;

// The outputs of the formula the formulation window holds, saved or not.
namespace tarvela {

// The printed report on the default printer; without one, a PDF document in the user's
// documents folder, opened.
void imprimeImpresora(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                      QWidget* parent);
// A new text document (.odt) in the temporary folder, opened.
void imprimeWord(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                 QWidget* parent);
// A CSV file the user names, opened.
void exportarCSV(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts);
// A new workbook (.xlsx) in the temporary folder, opened.
void exportarExcel(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                   QWidget* parent);

// The output chosen in "Seleccione destino"; nothing for FormulaDestination::None.
void outputFormula(AppContext& ctx, const formulation::WorkingModel& model,
                   FormulaDestination destination, bool includeCosts, QWidget* parent);

} // namespace tarvela
