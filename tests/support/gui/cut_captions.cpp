#include "cut_captions.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableView>

namespace tarvela::test {

namespace {

QString describe(const QWidget& widget, const QString& text) {
    return widget.objectName() + QStringLiteral(": ") + text;
}

// A button's caption as drawn: mnemonic markers are not shown.
QString shownText(const QString& caption) {
    QString text = caption;
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

bool labelCut(const QLabel& label) {
    if (label.text().isEmpty() || label.wordWrap() || label.textFormat() == Qt::RichText)
        return false;
    return label.contentsRect().width() < label.fontMetrics().horizontalAdvance(label.text());
}

bool buttonCut(const QAbstractButton& button) {
    if (button.text().isEmpty())
        return false;
    if (qobject_cast<const QPushButton*>(&button)) {
        // The caption has the button's inside, less a few pixels of frame on each side.
        constexpr int kFrame = 3;
        return button.width() - 2 * kFrame <
               button.fontMetrics().horizontalAdvance(shownText(button.text()));
    }
    return button.width() < button.sizeHint().width();
}

// A read-only box shows a value the user cannot scroll: it must fit inside the box's frame
// and the two pixels the box keeps free on each side.
bool valueCut(const QLineEdit& box) {
    if (!box.isReadOnly() || box.text().isEmpty())
        return false;
    QStyleOptionFrame option;
    option.initFrom(&box);
    const int frame =
        box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    return box.width() - 2 * frame - 2 * 2 < box.fontMetrics().horizontalAdvance(box.text());
}

void headingsCut(const QTableView& view, QStringList& cut) {
    const QHeaderView* header = view.horizontalHeader();
    if (header->isHidden())
        return;
    const QFontMetrics metrics(header->font());
    // Border and padding of the grey heading cells.
    constexpr int kCellMargin = 4;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c) || header->sectionSize(c) == 0)
            continue;
        const QString text = view.model()->headerData(c, Qt::Horizontal).toString();
        if (!text.isEmpty() &&
            header->sectionSize(c) < metrics.horizontalAdvance(text) + kCellMargin)
            cut << describe(view, text);
    }
}

} // namespace

std::string cutCaptions(const QWidget& window) {
    // Pages of tabs not in front count too: only controls hidden themselves are left out.
    QStringList cut;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (!label->isHidden() && labelCut(*label))
            cut << describe(*label, label->text());
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (!button->isHidden() && buttonCut(*button))
            cut << describe(*button, button->text());
    for (const QLineEdit* box : window.findChildren<QLineEdit*>())
        if (!box->isHidden() && valueCut(*box))
            cut << describe(*box, box->text());
    for (const QTableView* view : window.findChildren<QTableView*>())
        if (!view->isHidden())
            headingsCut(*view, cut);
    return cut.join(QLatin1Char('\n')).toStdString();
}

} // namespace tarvela::test
