#include "context/desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvela {

Answer Desktop::questionWithCancel(const QString& text, const QString& title) {
    return question(text, title) ? Answer::Yes : Answer::No;
}

QString Desktop::documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString Desktop::temporaryFolder() {
    return QDir::tempPath();
}

bool Desktop::hasDefaultPrinter() {
    return false;
}

} // namespace tarvela
