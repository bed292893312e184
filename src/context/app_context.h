#pragma once

#include "context/desktop.h"
#include "db/connection.h"

#include <QChar>
#include <QString>

#include <memory>

namespace tarvela {

class ModalLauncher;

// The one database connection, the desktop services and the session-wide values (the decimal
// separator, the current base and customer). One object per process, handed to every window.
// Windows hand selections to one another as constructor parameters and returned results, never
// through this object.
struct AppContext {
    std::unique_ptr<db::Connection> conn;
    Desktop* desktop = nullptr;
    // Shows modal windows; set by tests so that a test can drive a nested window. Without one
    // a window runs its own event loop.
    ModalLauncher* launcher = nullptr;
    // The installation folder (executables, documents, database).
    QString installDir;

    QString decimalSeparator = QStringLiteral(".");
    int currentBase = 1;
    int currentCustomer = 0;
    bool startupOk = false;
    bool layoutDone = false;

    db::Connection& db() { return *conn; }
    Desktop& ui() { return *desktop; }
};

// The decimal separator the windows display numbers with.
inline QChar displaySeparator(const AppContext& ctx) {
    return ctx.decimalSeparator.isEmpty() ? QLatin1Char('.') : ctx.decimalSeparator.at(0);
}

} // namespace tarvela
