#include "support/command_output.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace tarvela::test {

CliRun runCommand(const std::function<int(const QStringList&)>& command, const QStringList& args) {
    QTemporaryDir dir;
    const QByteArray outPath = dir.filePath(QStringLiteral("out")).toLocal8Bit();
    const QByteArray errPath = dir.filePath(QStringLiteral("err")).toLocal8Bit();
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(1);
    const int savedErr = dup(2);
    FILE* out = std::fopen(outPath.constData(), "w");
    FILE* err = std::fopen(errPath.constData(), "w");
    dup2(fileno(out), 1);
    dup2(fileno(err), 2);
    CliRun run;
    run.code = command(args);
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    close(savedOut);
    close(savedErr);
    std::fclose(out);
    std::fclose(err);
    QFile o(QString::fromLocal8Bit(outPath));
    QFile e(QString::fromLocal8Bit(errPath));
    o.open(QIODevice::ReadOnly);
    e.open(QIODevice::ReadOnly);
    run.out = o.readAll();
    run.err = e.readAll();
    return run;
}

} // namespace tarvela::test
