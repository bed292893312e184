#pragma once

#include "context/desktop.h"

class QWidget;

namespace tarvela {

// The desktop services with real dialogs: message boxes, the save-file dialog, documents opened
// with the desktop's associated program (xdg-open), keystrokes to the active window, the busy
// pointer and the system's default printer.
class QtDesktop : public Desktop {
public:
    void message(const QString& text, MsgIcon icon = MsgIcon::None,
                 const QString& title = {}) override;
    bool question(const QString& text, const QString& title = {}) override;
    Answer questionWithCancel(const QString& text, const QString& title = {}) override;
    QString saveFileName(const QString& title, const QStringList& filters) override;
    QString openFileName(const QString& title, const QStringList& filters) override;
    int openDocument(const QString& path) override;
    void sendKeys(const QString& keys) override;
    void setBusy(bool busy) override;
    bool hasDefaultPrinter() override;

    // The window the keystrokes reach: the active window, or failing that the window of the
    // widget with the focus.
    static QWidget* keyTarget();
};

// The name a save dialog returns for the filter chosen in it ("Libro de Excel (*.xlsx)"): the
// filter decides the format, so a name without one of its extensions gets the filter's first
// ("curva" → "curva.xlsx", "curva.png" → "curva.png.xlsx"). A filter of any file ("*.*", "*")
// leaves the name as typed.
QString withFilterExtension(const QString& path, const QString& filter);

} // namespace tarvela
