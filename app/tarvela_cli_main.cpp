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
        "       tarvela-cli formulate FORMULA_ID [--db F] [--cantidad Q] [--json]\n"
        "       tarvela-cli import-prices FILE [--db F] [--base N] [--sheet S] [--dry-run]\n"
        "                   [--json] [--skip-invalid] [--confirm-variation]\n"
        "       tarvela-cli import-composition FILE [--db F] [--base N] [--sheet S]\n"
        "                   [--dry-run] [--json] [--skip-invalid]\n"
        "       tarvela-cli export-composition FILE [--db F] [--base N]\n"
        "       tarvela-cli reformulate [--db F] [--base N] [--cliente ID] [--save] [--json]\n"
        "       tarvela-cli curve FORMULA_ID --nutriente ID|--ingrediente ID [--maximo]\n"
        "                   [--precio] [--desde A --hasta B --pasos N] [--db F] [--json]\n"
        "       tarvela-cli plan PLAN_ID [--db F] [--json]\n"
        "(F: a database file or a server's address, postgresql://...)\n",
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
    if (command == QLatin1String("import-prices"))
        return tarvela::cli::finishOutput(tarvela::cli::importPrices(args));
    if (command == QLatin1String("import-composition"))
        return tarvela::cli::finishOutput(tarvela::cli::importComposition(args));
    if (command == QLatin1String("export-composition"))
        return tarvela::cli::finishOutput(tarvela::cli::exportComposition(args));
    if (command == QLatin1String("reformulate"))
        return tarvela::cli::finishOutput(tarvela::cli::reformulate(args));
    if (command == QLatin1String("curve"))
        return tarvela::cli::finishOutput(tarvela::cli::curve(args));
    if (command == QLatin1String("plan"))
        return tarvela::cli::finishOutput(tarvela::cli::plan(args));
    return usage();
}
