#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace tarvela::test {

// What a command of tarvela-cli printed and returned.
struct CliRun {
    int code = 0;
    QByteArray out, err;
};

// Runs the command in this process with its standard output and error captured.
CliRun runCommand(const std::function<int(const QStringList&)>& command, const QStringList& args);

} // namespace tarvela::test
