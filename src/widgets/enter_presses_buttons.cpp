#include "widgets/enter_presses_buttons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace tarvela {

namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressFocusedButtonsWithEnter(QApplication& app) {
    static const char* const kInstalled = "tarvelaEnterPressesButtons";
    if (app.property(kInstalled).toBool())
        return;
    app.setProperty(kInstalled, true);
    app.installEventFilter(new EnterPressesButtons(&app));
}

} // namespace tarvela
