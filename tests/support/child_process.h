#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

namespace tarvela::test {

// A program run as a separate process, its standard output and error kept in files. A process
// still running when the object goes is killed.
class ChildProcess {
public:
    ChildProcess(const QString& program, const QStringList& args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void signal(int signalNumber);
    // Waits for the end: the exit code, or minus the number of the signal that ended it.
    int wait();
    QByteArray output() const;
    QByteArray errors() const;

private:
    QTemporaryDir dir_;
    pid_t pid_ = -1;
    int status_ = 0;
};

} // namespace tarvela::test
