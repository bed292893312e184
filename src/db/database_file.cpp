#include "db/database_file.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvela::db {

namespace {

// The temporary file being built, removed by the signal handler. Written only while no handler
// is installed; read by the handler.
struct PendingFile {
    std::array<char, 4096> path{};
    std::array<char, 4096 + 16> journal{};
    volatile std::sig_atomic_t armed = 0;
};
PendingFile pending;

constexpr std::array<int, 4> kCleanedSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::array<struct sigaction, kCleanedSignals.size()> previousActions{};
std::array<bool, kCleanedSignals.size()> installed{};

void removePendingAndResignal(int signal) {
    if (pending.armed) {
        unlink(pending.path.data());
        unlink(pending.journal.data());
    }
    for (size_t i = 0; i < kCleanedSignals.size(); ++i)
        if (kCleanedSignals[i] == signal)
            sigaction(signal, &previousActions[i], nullptr);
    raise(signal); // the process ends as the signal would have ended it
}

DbError fileError(const QString& what, int error) {
    return DbError(SQLITE_CANTOPEN, what + QStringLiteral(": ") +
                                        QString::fromLocal8Bit(std::strerror(error)) +
                                        QLatin1Char('.'));
}

DbError existsError(const QString& path) {
    return DbError(SQLITE_CANTOPEN,
                   QStringLiteral("El archivo '%1' ya existe; no se reemplaza.").arg(path));
}

// While alive, an interruption or termination of the process removes the temporary file first.
// Signals the process ignores stay ignored.
class RemovedOnSignal {
public:
    RemovedOnSignal(const QByteArray& path, const QByteArray& journal) {
        if (path.size() >= static_cast<qsizetype>(pending.path.size()) ||
            journal.size() >= static_cast<qsizetype>(pending.journal.size()))
            throw DbError(SQLITE_CANTOPEN, QStringLiteral("La ruta del archivo es demasiado "
                                                          "larga."));
        std::memcpy(pending.path.data(), path.constData(), static_cast<size_t>(path.size()) + 1);
        std::memcpy(pending.journal.data(), journal.constData(),
                    static_cast<size_t>(journal.size()) + 1);
        pending.armed = 1;
        struct sigaction action {};
        action.sa_handler = removePendingAndResignal;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < kCleanedSignals.size(); ++i) {
            sigaction(kCleanedSignals[i], nullptr, &previousActions[i]);
            if (previousActions[i].sa_handler == SIG_IGN)
                continue;
            installed[i] = sigaction(kCleanedSignals[i], &action, nullptr) == 0;
        }
    }
    ~RemovedOnSignal() {
        for (size_t i = 0; i < kCleanedSignals.size(); ++i)
            if (installed[i])
                sigaction(kCleanedSignals[i], &previousActions[i], nullptr);
        installed.fill(false);
        pending.armed = 0;
    }
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;
    // The file has its own name now: nothing left to remove.
    void disarm() { pending.armed = 0; }
};

// Writes the file's contents and its folder entry to the disk.
void flushToDisk(const QByteArray& path, int flags) {
    const int fd = open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// Gives the complete temporary file its own name, unless that name exists. Both ways are atomic:
// a rename that refuses to replace and, where the file system lacks it, a hard link.
void publish(const QByteArray& temporary, const QByteArray& target, const QString& path) {
    if (renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                  RENAME_NOREPLACE) == 0)
        return;
    if (errno == EEXIST)
        throw existsError(path);
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        throw fileError(QStringLiteral("No se pudo dar su nombre al archivo '%1'").arg(path),
                        errno);
    if (link(temporary.constData(), target.constData()) != 0) {
        if (errno == EEXIST)
            throw existsError(path);
        throw fileError(QStringLiteral("No se pudo dar su nombre al archivo '%1'").arg(path),
                        errno);
    }
    unlink(temporary.constData());
}

} // namespace

void createDatabaseFile(const QString& path, const QString& password,
                        const std::function<void(Connection&)>& build) {
    if (QFileInfo::exists(path))
        throw existsError(path);
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temporary =
        QFile::encodeName(QDir(folder).filePath(QStringLiteral(".") + info.fileName())) + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw fileError(
            QStringLiteral("No se pudo crear un archivo en la carpeta '%1'").arg(folder), errno);
    // The temporary file is the owner's only; the database gets the permissions the engine gives
    // a new file, so that the other users of a shared folder can open it too.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0644 & ~mask);
    close(fd);
    const QByteArray journal = temporary + "-journal";

    try {
        RemovedOnSignal cleanup(temporary, journal);
        {
            // An empty file is an empty database: the key applies from its first page.
            std::unique_ptr<Connection> conn =
                Connection::open(QFile::decodeName(temporary), password);
            build(*conn);
        }
        flushToDisk(temporary, O_RDONLY);
        publish(temporary, target, path);
        cleanup.disarm();
    } catch (...) {
        unlink(temporary.constData());
        unlink(journal.constData());
        throw;
    }
    flushToDisk(QFile::encodeName(folder), O_RDONLY | O_DIRECTORY);
}

} // namespace tarvela::db
