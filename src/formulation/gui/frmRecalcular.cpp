#include "formulation/gui/frmRecalcular.h"

#include "widgets/window_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tarvela {

frmRecalcular::frmRecalcular(AppContext& ctx, bool vSecaIng, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmRecalcular"));
    setWindowTitle(QStringLiteral("Recalcular "));
    setModal(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Cantidad a elaborar"), this), 0, 0);
    quantityBox_ = new QLineEdit(this);
    quantityBox_->setObjectName(QStringLiteral("txt_cantidad"));
    quantityBox_->setAlignment(Qt::AlignRight);
    typeDecimalSeparator(quantityBox_, ctx_);
    layout->addWidget(quantityBox_, 0, 1);
    auto* basis = new QLineEdit(formulation::recalcQuantityBasis(vSecaIng), this);
    basis->setObjectName(QStringLiteral("Text1"));
    basis->setReadOnly(true);
    basis->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(basis, 0, 2);

    keepNutrientsOption_ =
        new QRadioButton(QStringLiteral("Mantener los Nutrientes actuales"), this);
    keepNutrientsOption_->setObjectName(QStringLiteral("Option2_0"));
    addNutrientsOption_ =
        new QRadioButton(QStringLiteral("Incorporar todos los Nutrientes afectados"), this);
    addNutrientsOption_->setObjectName(QStringLiteral("Option2_1"));
    keepNutrientsOption_->setChecked(true);
    layout->addWidget(keepNutrientsOption_, 1, 0, 1, 3);
    layout->addWidget(addNutrientsOption_, 2, 0, 1, 3);
    scaleLimitsCheck_ =
        new QCheckBox(QStringLiteral("Escalar también los límites de los ingredientes"), this);
    scaleLimitsCheck_->setObjectName(QStringLiteral("chkEscalarLimites"));
    scaleLimitsCheck_->setChecked(true);
    layout->addWidget(scaleLimitsCheck_, 3, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    QPushButton* acceptButton =
        windowButton(this, QStringLiteral("command4"), QStringLiteral("Aceptar"));
    QPushButton* cancelButton =
        windowButton(this, QStringLiteral("command3"), QStringLiteral("Cancelar"));
    buttons->addStretch();
    buttons->addWidget(acceptButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons, 4, 0, 1, 3);
    connect(acceptButton, &QPushButton::clicked, this, &frmRecalcular::acceptQuantity);
    connect(cancelButton, &QPushButton::clicked, this, &frmRecalcular::cancel);
    // Enter in the box accepts.
    connect(quantityBox_, &QLineEdit::returnPressed, this, &frmRecalcular::acceptQuantity);
    quantityBox_->setFocus();
}

void frmRecalcular::acceptQuantity() {
    const formulation::RecalcQuantity answer =
        formulation::checkRecalcQuantity(quantityBox_->text());
    if (!answer.quantity) {
        ctx_.ui().message(answer.message, MsgIcon::Critical);
        quantityBox_->setFocus();
        return;
    }
    request_ = formulation::RecalcRequest{*answer.quantity, keepNutrientsOption_->isChecked(),
                                          scaleLimitsCheck_->isChecked()};
    accept();
}

void frmRecalcular::cancel() {
    request_.reset();
    reject();
}

} // namespace tarvela
