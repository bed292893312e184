#include "formulation/gui/cell_overlay.h"

#include "widgets/window_controls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace tarvela {

CellOverlay::CellOverlay(AppContext& ctx, QTableWidget& grid, const QString& name)
    : QLineEdit(&grid), grid_(grid) {
    setObjectName(name);
    setAlignment(Qt::AlignRight);
    typeDecimalSeparator(this, ctx);
    hide();
}

void CellOverlay::placeOver(int row, int column, const QString& text) {
    row_ = row;
    column_ = column;
    exitKey_ = 0;
    openedWith_ = text;
    QRect cell = grid_.visualRect(grid_.model()->index(row, column));
    cell.translate(grid_.viewport()->pos());
    QRect box = cell.adjusted(0, 0, 0, 2);
    // As wide as the whole number needs, kept inside the grid (growing to the left when the
    // cell is near its right edge).
    const QMargins margins = textMargins() + contentsMargins();
    const int needed = fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() +
                       style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) * 2 + 8;
    if (needed > box.width()) {
        box.setWidth(std::min(needed, grid_.width()));
        if (box.right() >= grid_.width())
            box.moveRight(grid_.width() - 1);
        if (box.left() < 0)
            box.moveLeft(0);
    }
    setGeometry(box);
    setText(text);
    show();
    raise();
    if (isReadOnly())
        setCursorPosition(0); // the start of the number in view
    else
        selectAll();
    setFocus(Qt::OtherFocusReason);
}

void CellOverlay::edit(int row, int column, const QString& text, Commit commit) {
    commit_ = std::move(commit);
    setReadOnly(false);
    placeOver(row, column, text);
}

void CellOverlay::view(int row, int column, const QString& text) {
    commit_ = nullptr;
    setReadOnly(true);
    placeOver(row, column, text);
}

void CellOverlay::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReadOnly() && (enter || event->key() == Qt::Key_Escape)) {
        exitKey_ = enter ? 13 : 27;
        finish();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CellOverlay::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window coming up (a message, a menu) does not end the edit.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (isVisible())
        finish();
}

void CellOverlay::mousePressEvent(QMouseEvent* event) {
    if (isReadOnly()) {
        close();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void CellOverlay::finish() {
    if (finishing_ || !isVisible())
        return;
    finishing_ = true;
    const int key = exitKey_ == 0 ? 13 : exitKey_;
    // A text left as the box opened with it changes nothing.
    if (key == 13 && commit_ && text() != openedWith_ && !commit_(text())) {
        // Refused: the box keeps the focus for another try.
        exitKey_ = 0;
        finishing_ = false;
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                setFocus(Qt::OtherFocusReason);
        });
        return;
    }
    close();
    finishing_ = false;
}

void CellOverlay::close() {
    const bool wasViewing = isReadOnly();
    hide();
    grid_.setEnabled(true);
    if (wasViewing)
        return;
    grid_.setFocus(Qt::OtherFocusReason);
    if (row_ < grid_.rowCount() && column_ < grid_.columnCount())
        grid_.setCurrentCell(row_, column_);
}

} // namespace tarvela
