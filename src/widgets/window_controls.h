#pragma once

#include "context/app_context.h"

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// Controls and input rules the catalog windows share.
namespace tarvela {

// A push button named for tests; Enter elsewhere in the window never presses it.
QPushButton* windowButton(QWidget* parent, const QString& name, const QString& caption);
// The picture button that closes a window ("cmdClose").
QPushButton* closeButton(QWidget* parent);

// "." or "," typed into the box inserts the workstation's separator (ctx.decimalSeparator).
void typeDecimalSeparator(QLineEdit* box, const AppContext& ctx);
// Enter in the box moves the focus to the next field.
void moveOnWithEnter(QWidget* box);

// Places a window that another opens 250 twips right of and below the other's top-left corner.
void placeBeside(QWidget& window, const QWidget* owner);

} // namespace tarvela
