#include "reports/output_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sys/stat.h>

namespace tarvela::reports {

WrittenFile writeNewFile(const QString& folder, const QString& baseName, const QString& suffix,
                         const ContentWriter& write) {
    WrittenFile result;
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir()) {
        result.errorNumber = QFileDevice::OpenError;
        result.error = QStringLiteral("No existe la carpeta ") + QDir::toNativeSeparators(folder);
        return result;
    }
    QTemporaryFile temporary(dir.filePath(QStringLiteral(".tarvela-XXXXXX.") + suffix));
    if (!temporary.open()) {
        result.errorNumber = temporary.error();
        result.error =
            temporary.errorString() + QStringLiteral(": ") + QDir::toNativeSeparators(folder);
        return result;
    }
    temporary.close();
    // The temporary file is the owner's only; the document gets the permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(temporary.fileName()).constData(), 0644 & ~mask);

    const WriteFailure failure = write(temporary.fileName());
    if (!failure.description.isEmpty()) {
        result.errorNumber = failure.number;
        result.error = failure.description;
        return result;
    }
    if (QFileInfo(temporary.fileName()).size() == 0) {
        result.errorNumber = QFileDevice::WriteError;
        result.error = QStringLiteral("El documento quedó vacío");
        return result;
    }

    // The rename never replaces a file: a name taken meanwhile moves on to the next one.
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? baseName : baseName + QStringLiteral(" (%1)").arg(n);
        const QString candidate = dir.filePath(name + QLatin1Char('.') + suffix);
        if (QFileInfo::exists(candidate))
            continue;
        if (temporary.rename(candidate)) {
            temporary.setAutoRemove(false);
            result.path = candidate;
            return result;
        }
        if (!QFileInfo::exists(candidate)) {
            result.errorNumber = temporary.error();
            result.error = temporary.errorString();
            return result;
        }
    }
    result.errorNumber = QFileDevice::RenameError;
    result.error = QStringLiteral("No hay un nombre libre para el documento en ") +
                   QDir::toNativeSeparators(folder);
    return result;
}

QString fileNamePart(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const bool special =
            c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c);
        out += special ? QLatin1Char('_') : c;
    }
    out = out.trimmed();
    while (out.startsWith(QLatin1Char('.')))
        out.remove(0, 1);
    return out;
}

} // namespace tarvela::reports
