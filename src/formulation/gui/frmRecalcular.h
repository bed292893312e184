#pragma once

#include "context/app_context.h"
#include "formulation/recalculation.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tarvela {

// "Recalcular ": asks the new batch quantity, whether the nutrient list is kept and whether the
// ingredient limits follow the batch. "Aceptar" closes it with the answer (request()); "Cancelar"
// or closing leaves none.
class frmRecalcular : public QDialog {
    Q_OBJECT

public:
    frmRecalcular(AppContext& ctx, bool vSecaIng, QWidget* parent = nullptr);

    const std::optional<formulation::RecalcRequest>& request() const { return request_; }

    void acceptQuantity(); // "Aceptar"
    void cancel();         // "Cancelar"

private:
    AppContext& ctx_;
    std::optional<formulation::RecalcRequest> request_;
    QLineEdit* quantityBox_ = nullptr;
    QRadioButton* keepNutrientsOption_ = nullptr;
    QRadioButton* addNutrientsOption_ = nullptr;
    QCheckBox* scaleLimitsCheck_ = nullptr;
};

} // namespace tarvela
