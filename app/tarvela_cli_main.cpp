#include "cli/commands.h"
#include "cli/terminal_output.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fputs(
        "usage: tarvela-cli init-db FILE|postgresql://... [--demo]\n"
        "       tarvela-cli copy-db FROM TO   (files or postgresql://... addresses)\n"
        "       tarvela-cli formulate FORMULA_ID [--db FILE|postgresql://...] [--cantidad Q] "
        "[--json]\n"
        "       tarvela-cli reformulate [--db FILE|postgresql://...] [--base N] [--cliente ID] "
        "[--save] "
        "[--json]\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("init-db"))
        return tarvela::cli::finishOutput(tarvela::cli::initDb(args));
    if (command == QLatin1String("copy-db"))
        return tarvela::cli::finishOutput(tarvela::cli::copyDb(args));
    if (command == QLatin1String("formulate"))
        return tarvela::cli::finishOutput(tarvela::cli::formulate(args));
    if (command == QLatin1String("reformulate"))
        return tarvela::cli::finishOutput(tarvela::cli::reformulate(args));
    return usage();
}
