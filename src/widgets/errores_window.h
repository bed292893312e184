#pragma once

#include "context/app_context.h"

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace tarvela {

// The error window: the caller's message in a read-only box; "Detalle" shows the error's number
// and description, "Aceptar" closes.
class errores : public QDialog {
    Q_OBJECT

public:
    errores(AppContext& ctx, const QString& message, int errorNumber,
            const QString& errorDescription, QWidget* parent = nullptr);

    void cmdDetalle_Click();
    void cmdAceptar_Click();

private:
    AppContext& ctx_;
    int errorNumber_;
    QString errorDescription_;
    QPlainTextEdit* txtMensaje_ = nullptr;
    QPushButton* cmdDetalle_ = nullptr;
    QPushButton* cmdAceptar_ = nullptr;
};

} // namespace tarvela
