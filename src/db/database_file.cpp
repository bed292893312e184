#include "db/database_file.h"

#include <sqlite3.h>

#include "text/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    return DbError(SQLITE_CANTOPEN,
                   what + QStringLiteral(": ") + text::fileErrorReason(error) + QLatin1Char('.'));
}

// The temporary files of a build: a fixed prefix and six random characters (a short name, so
// that any legal target name can be built), and the engine's journal beside it.
constexpr char kTemporaryPrefix[] = ".tarvela-db-";
constexpr int kRandomCharacters = 6;
constexpr char kJournalSuffix[] = "-journal";

bool isTemporaryName(const char* name) {
    const size_t prefix = sizeof(kTemporaryPrefix) - 1;
    if (std::strncmp(name, kTemporaryPrefix, prefix) != 0 ||
        std::strlen(name) != prefix + kRandomCharacters)
        return false;
    for (const char* c = name + prefix; *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c)))
            return false;
    return true;
}

bool isJournalName(const char* name) {
    const size_t length = std::strlen(name);
    const size_t suffix = sizeof(kJournalSuffix) - 1;
    if (length <= suffix || std::strcmp(name + length - suffix, kJournalSuffix) != 0)
        return false;
    return isTemporaryName(std::string(name, length - suffix).c_str());
}

QByteArray randomTemporaryName(const QByteArray& folder) {
    static const char kAlphabet[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, sizeof(kAlphabet) - 2);
    QByteArray name = folder + '/' + kTemporaryPrefix;
    for (int i = 0; i < kRandomCharacters; ++i)
        name += kAlphabet[pick(random)];
    return name;
}

// A new temporary file in the folder, locked (flock) by the returned descriptor before its name
// exists: a build in progress is never taken for the leftover of a killed one. Where the file
// system cannot make a nameless file, the file is locked right after it is made.
int createLockedTemporary(const QByteArray& folder, QByteArray& path) {
    int fd = open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        flock(fd, LOCK_EX);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            path = randomTemporaryName(folder);
            if (linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) ==
                0)
                return fd;
            if (errno != EEXIST)
                break;
        }
        close(fd); // no name could be given to it (no /proc): make a named file instead
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = randomTemporaryName(folder);
        fd = open(path.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            flock(fd, LOCK_EX);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Removes the temporary files that killed builds left in the folder: those whose lock no process
// holds, with their journals, and journals whose file is gone.
void removeAbandonedTemporaries(const QByteArray& folder) {
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return;
    std::vector<QByteArray> temporaries;
    std::vector<QByteArray> journals;
    while (const dirent* entry = readdir(dir)) {
        if (isTemporaryName(entry->d_name))
            temporaries.push_back(folder + '/' + entry->d_name);
        else if (isJournalName(entry->d_name))
            journals.push_back(folder + '/' + entry->d_name);
    }
    closedir(dir);
    for (const QByteArray& path : temporaries) {
        const int fd = open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened {};
        struct stat named {};
        // Unlocked, and the name still leads to the file that was locked.
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &opened) == 0 &&
            lstat(path.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev) {
            unlink((path + kJournalSuffix).constData());
            unlink(path.constData());
        }
        close(fd);
    }
    for (const QByteArray& journal : journals) {
        const QByteArray temporary = journal.left(journal.size() - (sizeof(kJournalSuffix) - 1));
        struct stat st {};
        if (lstat(temporary.constData(), &st) != 0 && errno == ENOENT)
            unlink(journal.constData());
    }
}

// The cleaned signals held back while the temporary file is made and its removal armed: a
// signal that arrives meanwhile is handled once the removal is in place.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : kCleanedSignals)
            sigaddset(&set, signal);
        pthread_sigmask(SIG_BLOCK, &set, &previous_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

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
    const QByteArray folderName = QFile::encodeName(folder);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    removeAbandonedTemporaries(folderName);

    QByteArray temporary;
    QByteArray journal;
    int lock = -1;
    std::optional<RemovedOnSignal> cleanup;
    {
        SignalsHeld held;
        lock = createLockedTemporary(folderName, temporary);
        if (lock < 0)
            throw fileError(
                QStringLiteral("No se pudo crear un archivo en la carpeta '%1'").arg(folder),
                errno);
        journal = temporary + kJournalSuffix;
        try {
            cleanup.emplace(temporary, journal);
        } catch (...) {
            unlink(temporary.constData());
            close(lock);
            throw;
        }
    }
    // The temporary file is the owner's only; the database gets the permissions the engine gives
    // a new file, so that the other users of a shared folder can open it too.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(lock, 0644 & ~mask);

    try {
        {
            // An empty file is an empty database: the key applies from its first page.
            std::unique_ptr<Connection> conn =
                Connection::open(QFile::decodeName(temporary), password);
            build(*conn);
        }
        flushToDisk(temporary, O_RDONLY);
        publish(temporary, target, path);
        cleanup->disarm();
    } catch (...) {
        unlink(temporary.constData());
        unlink(journal.constData());
        close(lock);
        throw;
    }
    close(lock);
    flushToDisk(folderName, O_RDONLY | O_DIRECTORY);
}

} // namespace tarvela::db
