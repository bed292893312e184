#include "widgets/window_controls.h"

#include "grid/twips.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace tarvela {

namespace {

// Installed on a box: applies one input rule to its key presses.
class KeyRule : public QObject {
public:
    using Rule = std::function<bool(QWidget& box, const QKeyEvent& key)>;
    KeyRule(QWidget* box, Rule rule) : QObject(box), rule_(std::move(rule)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            return rule_(*static_cast<QWidget*>(watched), *static_cast<QKeyEvent*>(event));
        return false;
    }

private:
    Rule rule_;
};

} // namespace

QPushButton* windowButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QPushButton* closeButton(QWidget* parent) {
    QPushButton* button = windowButton(parent, QStringLiteral("cmdClose"), QString());
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DialogCloseButton));
    button->setToolTip(QStringLiteral("Cerrar"));
    return button;
}

void typeDecimalSeparator(QLineEdit* box, const AppContext& ctx) {
    new KeyRule(box, [&ctx](QWidget& watched, const QKeyEvent& key) {
        if (key.text() != QStringLiteral(".") && key.text() != QStringLiteral(","))
            return false;
        static_cast<QLineEdit&>(watched).insert(ctx.decimalSeparator);
        return true;
    });
}

void moveOnWithEnter(QWidget* box) {
    new KeyRule(box, [](QWidget& watched, const QKeyEvent& key) {
        if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
            return false;
        // The key becomes a Tab, which the window turns into a move to the next field.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(&watched, &tab);
        return true;
    });
}

void placeBeside(QWidget& window, const QWidget* owner) {
    if (!owner)
        return;
    const int offset = grid::nearestPixel(250);
    window.move(owner->window()->pos() + QPoint(offset, offset));
}

} // namespace tarvela
