#include "reports/output_file.h"

#include "text/file_errors.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarvela::reports {

WriteFailure systemWriteFailure() {
    const int number = errno;
    return {text::fileErrorReason(number), number};
}

int folderWriteError(const QString& folder) {
    QByteArray probe = QFile::encodeName(QDir(folder).filePath(QStringLiteral(".tarvela-XXXXXX")));
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(probe.constData());
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 && disk.f_bavail == 0)
        return ENOSPC;
    return 0;
}

QString writeErrorText(const QString& path, int errorNumber, const QString& writerReason) {
    const int refused = folderWriteError(QFileInfo(path).absolutePath());
    if (refused != 0)
        return text::fileWriteError(path, refused);
    if (errorNumber != 0 || writerReason.isEmpty())
        return text::fileWriteError(path, errorNumber);
    return text::fileWriteError(path, writerReason);
}

WrittenFile writeNewFile(const QString& folder, const QString& baseName, const QString& suffix,
                         const ContentWriter& write) {
    WrittenFile result;
    const QDir dir(folder);
    const QString firstName = dir.filePath(baseName + QLatin1Char('.') + suffix);
    const auto fail = [&result, &firstName](int number, const QString& reason = {}) {
        result.errorNumber = number;
        result.error = writeErrorText(firstName, number, reason);
        return result;
    };
    if (!QFileInfo(folder).isDir())
        return fail(ENOENT);
    QTemporaryFile temporary(dir.filePath(QStringLiteral(".tarvela-XXXXXX.") + suffix));
    if (!temporary.open())
        return fail(errno);
    temporary.close();
    // The temporary file is the owner's only; the document gets the permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(temporary.fileName()).constData(), 0644 & ~mask);

    const WriteFailure failure = write(temporary.fileName());
    if (!failure.description.isEmpty())
        return fail(failure.number, failure.description);
    if (QFileInfo(temporary.fileName()).size() == 0)
        return fail(0, QStringLiteral("el documento quedó vacío"));

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
            const int renameError = errno;
            result.errorNumber = renameError;
            result.error = writeErrorText(candidate, renameError);
            return result;
        }
    }
    return fail(0, QStringLiteral("no hay un nombre libre para el documento"));
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
