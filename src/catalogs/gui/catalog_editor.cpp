#include "catalogs/gui/catalog_editor.h"

#include "catalogs/gui/frmHistorial.h"
#include "db/keys.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvela {

CatalogEditor::CatalogEditor(AppContext& ctx, const QString& name, const QString& caption,
                             QWidget* parent)
    : EditingWindow(ctx, parent), ctx_(ctx) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);

    fields_ = new QGridLayout;
    saveButton_ = windowButton(this, QStringLiteral("cmdUpdate"), QStringLiteral("Grabar"));
    cancelButton_ = windowButton(this, QStringLiteral("cmdRefresh"), QStringLiteral("Cancelar"));
    closeButton_ = closeButton(this);
    connect(saveButton_, &QPushButton::clicked, this, [this] { saveBoxes(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { restoreSaved(); });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);

    buttonRow_ = new QWidget(this);
    auto* buttons = new QHBoxLayout(buttonRow_);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields_);
    layout->addWidget(buttonRow_);
}

QPushButton* CatalogEditor::addButton(const QString& name, const QString& caption) {
    QPushButton* button = windowButton(buttonRow_, name, caption);
    auto* buttons = static_cast<QHBoxLayout*>(buttonRow_->layout());
    buttons->insertWidget(buttons->indexOf(cancelButton_) + 1, button);
    return button;
}

void CatalogEditor::addHistoryButton(const QString& table, std::function<int()> key,
                                     std::function<QString()> caption) {
    QPushButton* button = windowButton(buttonRow_, QStringLiteral("cmdHistorial"),
                                       QStringLiteral("Historial de cambios"));
    auto* buttons = static_cast<QHBoxLayout*>(buttonRow_->layout());
    buttons->insertWidget(buttons->indexOf(closeButton_) - 1, button);
    connect(button, &QPushButton::clicked, this, [this, table, key, caption] {
        showChangeHistory(ctx_, caption(), table, key(), this);
    });
}

bool CatalogEditor::focusGoesToButton() const {
    const QWidget* next = QApplication::focusWidget();
    return next && qobject_cast<const QPushButton*>(next) && next->window() == this;
}

bool CatalogEditor::store(const std::function<Store()>& statements) {
    try {
        switch (statements()) {
        case Store::Done:
            return true;
        case Store::Missing:
            ctx_.ui().message(QStringLiteral("Se ha producido un error"));
            return false;
        case Store::Refused:
            return false;
        }
    } catch (const db::KeyError& error) {
        ctx_.ui().message(error.message(), MsgIcon::Critical);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible grabar el Registro"), error, this);
    }
    return false;
}

void CatalogEditor::saveBoxes() {
    if (save() && closesAfterSave())
        accept();
}

void CatalogEditor::restoreSaved() {
    restore();
}

} // namespace tarvela
