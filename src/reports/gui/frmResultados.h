#pragma once

#include "context/app_context.h"
#include "reports/composition.h"

#include <QDialog>
#include <QStringList>

class QTableWidget;

namespace tarvela {

class FrozenColumns;

// "Composición de la Fórmula": each ingredient's quantities, shares and contribution to every
// nutrient of the formula, with the totals row. Ingredient name, quantities and shares stay in
// view while the nutrient columns scroll.
class frmResultados : public QDialog {
    Q_OBJECT

public:
    frmResultados(AppContext& ctx, const reports::CompositionTable& rsResultado,
                  const QStringList& nutrientHeadings, QWidget* parent = nullptr);

private:
    QTableWidget* FlexGrid1_ = nullptr;
    FrozenColumns* frozen_ = nullptr;
};

} // namespace tarvela
