// The formulation window's "Imprimir": the destination window, then the chosen output.
#include "formulation/gui/frmoptimizacion.h"

#include "reports/gui/formula_output.h"
#include "reports/gui/frmImprimir.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

void frmoptimizacion::print() {
    FormulaDestination destination = FormulaDestination::None;
    bool includeCosts = false;
    {
        frmImprimir chooser(ctx_, this);
        execModal(ctx_, chooser);
        destination = chooser.destination();
        includeCosts = chooser.includeCosts();
    }
    outputFormula(ctx_, model_, destination, includeCosts, this);
}

} // namespace tarvela
