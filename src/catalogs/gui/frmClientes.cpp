#include "catalogs/gui/frmClientes.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/customer_catalog.h"
#include "catalogs/gui/frmCliente.h"
#include "catalogs/list_grids.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvela {

frmClientes::frmClientes(AppContext& ctx, ListMode mode, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmClientes"), QStringLiteral("Clientes"), mode, parent) {
    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text1"));
    townBox_ = new QLineEdit(this);
    townBox_->setObjectName(QStringLiteral("Text2"));
    criteria()->addWidget(new QLabel(QStringLiteral("Nombre"), this), 0, 0);
    criteria()->addWidget(nameBox_, 0, 1);
    criteria()->addWidget(new QLabel(QStringLiteral("Localidad"), this), 1, 0);
    criteria()->addWidget(townBox_, 1, 1);
    for (QLineEdit* box : {nameBox_, townBox_})
        searchOnEnter(box);
    finish(nameBox_, catalogs::kCliNombre);
}

std::optional<grid::GridPaint> frmClientes::findRows() {
    return catalogs::paintCustomerList(
        ctx_.db().query(catalogs::customerListStatement(nameBox_->text(), townBox_->text()) +
                        catalogs::kOrderByNombre));
}

void frmClientes::clearCriteria() {
    nameBox_->clear();
    townBox_->clear();
}

void frmClientes::openItem(int key) {
    frmCliente window(ctx_, key, this);
    execModal(ctx_, window);
}

bool frmClientes::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(catalogs::deleteCustomerQuestion(name)))
        return false;
    try {
        if (catalogs::deleteCustomer(ctx_.db(), key) == catalogs::CustomerDeletion::HasFormulas) {
            ctx_.ui().message(catalogs::customerHasFormulasMessage(name));
            return false;
        }
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
        return true;
    }
    // The customer no longer exists: it is no one's filter.
    if (ctx_.currentCustomer == key)
        ctx_.currentCustomer = 0;
    return true;
}

void frmClientes::pickItem(int row) {
    picked_ = keyOf(row);
}

void frmClientes::leaveWithoutChoosing() {
    picked_.reset();
}

} // namespace tarvela
