#include "child_process.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace tarvela::test {

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& args) {
    const QByteArray out = QFile::encodeName(dir_.filePath(QStringLiteral("out")));
    const QByteArray err = QFile::encodeName(dir_.filePath(QStringLiteral("err")));
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& arg : args)
        words.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + program.toStdString());
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        wait();
    }
}

void ChildProcess::signal(int signalNumber) {
    if (pid_ > 0)
        kill(pid_, signalNumber);
}

int ChildProcess::wait() {
    if (pid_ > 0) {
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    return WIFSIGNALED(status_) ? -WTERMSIG(status_) : WEXITSTATUS(status_);
}

QByteArray ChildProcess::output() const {
    return contentsOf(dir_.filePath(QStringLiteral("out")));
}

QByteArray ChildProcess::errors() const {
    return contentsOf(dir_.filePath(QStringLiteral("err")));
}

} // namespace tarvela::test
