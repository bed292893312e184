#pragma once

#include "context/app_context.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace tarvela {

// "Recalcular ": asks the new batch quantity and whether the nutrient list is kept. The answer
// goes back in currentFormulaQuantity (0 = cancelled) and recalcKeepNutrients.
class frmRecalcular : public QDialog {
    Q_OBJECT

public:
    frmRecalcular(AppContext& ctx, bool vSecaIng, QWidget* parent = nullptr);

    void command4_Click(); // "Aceptar"
    void command3_Click(); // "Cancelar"

private:
    AppContext& ctx_;
    QLineEdit* txtCantidad_ = nullptr;
    QRadioButton* option2_[2] = {nullptr, nullptr};
};

} // namespace tarvela
