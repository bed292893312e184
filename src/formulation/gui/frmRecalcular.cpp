#include "formulation/gui/frmRecalcular.h"

#include "formulation/recalculation.h"
#include "widgets/window_controls.h"

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
    txtCantidad_ = new QLineEdit(this);
    txtCantidad_->setObjectName(QStringLiteral("txt_cantidad"));
    txtCantidad_->setAlignment(Qt::AlignRight);
    typeDecimalSeparator(txtCantidad_, ctx_);
    layout->addWidget(txtCantidad_, 0, 1);
    auto* basis = new QLineEdit(formulation::recalcQuantityBasis(vSecaIng), this);
    basis->setObjectName(QStringLiteral("Text1"));
    basis->setReadOnly(true);
    basis->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(basis, 0, 2);

    const QString captions[2] = {QStringLiteral("Mantener los Nutrientes actuales"),
                                 QStringLiteral("Incorporar todos los Nutrientes afectados")};
    for (int i = 0; i < 2; ++i) {
        option2_[i] = new QRadioButton(captions[i], this);
        option2_[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        layout->addWidget(option2_[i], 1 + i, 0, 1, 3);
    }
    option2_[0]->setChecked(true);

    auto* buttons = new QHBoxLayout;
    QPushButton* aceptar =
        windowButton(this, QStringLiteral("command4"), QStringLiteral("Aceptar"));
    QPushButton* cancelar =
        windowButton(this, QStringLiteral("command3"), QStringLiteral("Cancelar"));
    buttons->addStretch();
    buttons->addWidget(aceptar);
    buttons->addWidget(cancelar);
    layout->addLayout(buttons, 3, 0, 1, 3);
    connect(aceptar, &QPushButton::clicked, this, &frmRecalcular::command4_Click);
    connect(cancelar, &QPushButton::clicked, this, &frmRecalcular::command3_Click);
    // Enter in the box accepts.
    connect(txtCantidad_, &QLineEdit::returnPressed, this, &frmRecalcular::command4_Click);
    txtCantidad_->setFocus();
}

void frmRecalcular::command4_Click() {
    const formulation::RecalcQuantity answer =
        formulation::checkRecalcQuantity(txtCantidad_->text());
    if (!answer.quantity) {
        ctx_.ui().message(answer.message, MsgIcon::Critical);
        txtCantidad_->setFocus();
        return;
    }
    ctx_.currentFormulaQuantity = *answer.quantity;
    ctx_.recalcKeepNutrients = option2_[0]->isChecked();
    accept();
}

void frmRecalcular::command3_Click() {
    ctx_.currentFormulaQuantity = 0;
    reject();
}

} // namespace tarvela
