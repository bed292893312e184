#include "catalogs/gui/frmCliente.h"

#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvela {

frmCliente::frmCliente(AppContext& ctx, int customerId, QWidget* parent)
    : CatalogEditor(ctx, QStringLiteral("frmCliente"), QStringLiteral("Cliente"), parent),
      customerId_(customerId) {
    const QString labels[] = {QStringLiteral("Nombre"), QStringLiteral("Dirección"),
                              QStringLiteral("Localidad"), QStringLiteral("Teléfono"),
                              QStringLiteral("E-Mail")};
    for (int i = 0; i < 5; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        box->setMinimumWidth(300);
        moveOnWithEnter(box);
        boxes_[static_cast<size_t>(i)] = box;
        fields()->addWidget(new QLabel(labels[i], this), i, 0);
        fields()->addWidget(box, i, 1);
    }
}

void frmCliente::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    if (!activated_) {
        activated_ = true;
        loadCustomer();
    }
    boxes_[0]->setFocus();
}

void frmCliente::loadCustomer() {
    isNew_ = customerId_ < 1;
    savedValues_ = {};
    if (!isNew_) {
        try {
            if (const auto customer = catalogs::loadCustomer(ctx_.db(), customerId_))
                savedValues_ = *customer;
            else
                ctx_.ui().message(QStringLiteral("No se encuentra el Cliente"), MsgIcon::Critical);
        } catch (const db::DbError& error) {
            showError(ctx_, QStringLiteral("No se encuentra el Cliente"), error, this);
        }
    }
    showBoxes(savedValues_);
}

catalogs::CustomerRecord frmCliente::boxes() const {
    return {boxes_[0]->text(), boxes_[1]->text(), boxes_[2]->text(), boxes_[3]->text(),
            boxes_[4]->text()};
}

void frmCliente::showBoxes(const catalogs::CustomerRecord& customer) {
    const QString texts[] = {customer.nombre, customer.direccion, customer.localidad,
                             customer.telefono, customer.mail};
    for (size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setText(texts[i]);
}

bool frmCliente::changed() const {
    return activated_ && boxes() != savedValues_;
}

bool frmCliente::save() {
    const catalogs::CustomerRecord customer = boxes();
    const auto check = catalogs::checkCustomer(customer);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        boxes_[0]->setFocus();
        return false;
    }
    const bool stored = store([&] {
        if (!isNew_)
            return catalogs::updateCustomer(ctx_.db(), customerId_, customer) ? Store::Done
                                                                              : Store::Missing;
        customerId_ = catalogs::createCustomer(ctx_.db(), customer);
        isNew_ = false;
        return Store::Done;
    });
    if (!stored)
        return false;
    savedValues_ = customer;
    return true;
}

void frmCliente::restore() {
    showBoxes(savedValues_);
}

} // namespace tarvela
