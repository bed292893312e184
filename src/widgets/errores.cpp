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

    messageBox_ = new QPlainTextEdit(message, this);
    messageBox_->setObjectName(QStringLiteral("txtMensaje"));
    messageBox_->setReadOnly(true);
    messageBox_->setMinimumSize(360, 90);

    detailsButton_ = new QPushButton(QStringLiteral("Detalle"), this);
    detailsButton_->setObjectName(QStringLiteral("cmdDetalle"));
    okButton_ = new QPushButton(QStringLiteral("Aceptar"), this);
    okButton_->setObjectName(QStringLiteral("cmdAceptar"));
    okButton_->setDefault(true);
    connect(detailsButton_, &QPushButton::clicked, this, &errores::showDetails);
    connect(okButton_, &QPushButton::clicked, this, &errores::acknowledge);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(detailsButton_);
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageBox_);
    layout->addLayout(buttons);
}

void errores::showDetails() {
    ctx_.ui().message(QStringLiteral("Código del error: ") + QString::number(errorNumber_) +
                          QStringLiteral("\n\nDescripción : ") + errorDescription_,
                      MsgIcon::None, QStringLiteral("Información del error"));
    accept();
}

void errores::acknowledge() {
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
