#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace tarvela::test {

struct CliResult {
    int code = -1; // -1: the command did not end within two minutes
    QByteArray out, err;
};

// Runs tarvela-cli with the command and its arguments and waits for it to end.
inline CliResult runCli(const QString& command, const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(TARVELA_CLI_PATH), QStringList{command} + args);
    CliResult run;
    if (!cli.waitForFinished(120000))
        return run;
    run.code = cli.exitCode();
    run.out = cli.readAllStandardOutput();
    run.err = cli.readAllStandardError();
    return run;
}

} // namespace tarvela::test
