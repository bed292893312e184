#pragma once

#include "context/app_context.h"

#include <QLineEdit>

#include <functional>

class QTableWidget;

namespace tarvela {

// A box placed over one cell of a grid, widened when the value needs more room: it edits the
// cell's value, or shows a value in full precision from its start (read only). Enter (or leaving
// the box) commits, Esc discards; a text left as it opened changes nothing, and a commit that
// refuses the text keeps the focus in the box. After a commit or Esc the focus returns to the
// grid, on the edited cell when it is still there. A "." or "," typed is the workstation's
// separator.
class CellOverlay : public QLineEdit {
    Q_OBJECT

public:
    // Stores the text typed; false keeps the box open (the commit told the user why).
    using Commit = std::function<bool(const QString& text)>;

    CellOverlay(AppContext& ctx, QTableWidget& grid, const QString& name);

    // Opens the box over a cell with the text selected, and focuses it.
    void edit(int row, int column, const QString& text, Commit commit);
    // Shows a read-only value over a cell; a click or leaving the box hides it.
    void view(int row, int column, const QString& text);

    int row() const { return row_; }
    int column() const { return column_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void placeOver(int row, int column, const QString& text);
    void finish();
    void close();

    QTableWidget& grid_;
    Commit commit_;
    QString openedWith_;
    int row_ = -1;
    int column_ = -1;
    // The key that ended the last edit: 13 Enter, 27 Esc, 0 focus left otherwise.
    int exitKey_ = 0;
    bool finishing_ = false;
};

} // namespace tarvela
