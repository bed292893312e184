#include "widgets/errores.h"

#include "widgets/errores_window.h"
#include "widgets/modal_launcher.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvela {

errores::errores(AppContext& ctx, const QString& message, int errorNumber,
                 const QString& errorDescription, QWidget* parent)
    : QDialog(parent), ctx_(ctx), errorNumber_(errorNumber), errorDescription_(errorDescription) {
    setObjectName(QStringLiteral("errores"));
    setWindowTitle(QStringLiteral("Tarvela"));
    setModal(true);

    txtMensaje_ = new QPlainTextEdit(message, this);
    txtMensaje_->setObjectName(QStringLiteral("txtMensaje"));
    txtMensaje_->setReadOnly(true);
    txtMensaje_->setMinimumSize(360, 90);

    cmdDetalle_ = new QPushButton(QStringLiteral("Detalle"), this);
    cmdDetalle_->setObjectName(QStringLiteral("cmdDetalle"));
    cmdAceptar_ = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar_->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar_->setDefault(true);
    connect(cmdDetalle_, &QPushButton::clicked, this, &errores::cmdDetalle_Click);
    connect(cmdAceptar_, &QPushButton::clicked, this, &errores::cmdAceptar_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDetalle_);
    buttons->addWidget(cmdAceptar_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtMensaje_);
    layout->addLayout(buttons);
}

void errores::cmdDetalle_Click() {
    ctx_.ui().message(QStringLiteral("Código del error: ") + QString::number(errorNumber_) +
                          QStringLiteral("\n\nDescripción : ") + errorDescription_,
                      MsgIcon::None, QStringLiteral("Información del error"));
    accept();
}

void errores::cmdAceptar_Click() {
    accept();
}

void showError(AppContext& ctx, const QString& message, const db::DbError& error, QWidget* parent) {
    // The user is told at once that another user holds the database and nothing was changed.
    const QString shown =
        error.databaseInUse() ? message + QStringLiteral("\n\n") + error.description() : message;
    errores window(ctx, shown, error.number(), error.description(), parent);
    execModal(ctx, window);
}

} // namespace tarvela
