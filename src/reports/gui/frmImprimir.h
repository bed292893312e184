#pragma once

#include "context/app_context.h"

#include <QDialog>

class QCheckBox;

namespace tarvela {

// Where a formula goes: the printer, a text document, a CSV file or a workbook. None when the
// window was closed without choosing.
enum class FormulaDestination { None = 0, Printer = 1, Word = 2, Csv = 3, Excel = 4 };

// "Seleccione destino": the output of a formula and whether it includes costs.
class frmImprimir : public QDialog {
    Q_OBJECT

public:
    explicit frmImprimir(AppContext& ctx, QWidget* parent = nullptr);

    FormulaDestination destination() const { return destination_; }
    bool includeCosts() const;

private:
    void choose(FormulaDestination destination);

    FormulaDestination destination_ = FormulaDestination::None;
    QCheckBox* chkCostos_ = nullptr;
};

} // namespace tarvela
