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

    void showDetails();
    void acknowledge();

private:
    AppContext& ctx_;
    int errorNumber_;
    QString errorDescription_;
    QPlainTextEdit* messageBox_ = nullptr;
    QPushButton* detailsButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace tarvela
