#include "cli/commands.h"
#include "cli/terminal_output.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fputs(
        "uso: tarvela-cli init-db ARCHIVO|postgresql://... [--demo]\n"
        "     tarvela-cli copy-db ORIGEN DESTINO   (archivos o direcciones postgresql://...)\n"
        "     tarvela-cli formulate ID_FORMULA [--db B] [--cantidad Q] [--json]\n"
        "     tarvela-cli import-prices ARCHIVO [--db B] [--base N] [--sheet H] [--dry-run]\n"
        "                 [--json] [--skip-invalid] [--confirm-variation]\n"
        "     tarvela-cli import-composition ARCHIVO [--db B] [--base N] [--sheet H]\n"
        "                 [--dry-run] [--json] [--skip-invalid]\n"
        "     tarvela-cli export-composition ARCHIVO [--db B] [--base N]\n"
        "     tarvela-cli reformulate [--db B] [--base N] [--cliente ID] [--save] [--json]\n"
        "     tarvela-cli curve ID_FORMULA --nutriente ID|--ingrediente ID [--maximo]\n"
        "                 [--precio] [--desde A --hasta B --pasos N] [--db B] [--json]\n"
        "     tarvela-cli plan ID_PLAN [--db B] [--json]\n"
        "(B: un archivo de base de datos o la dirección de un servidor, postgresql://...;\n"
        " H: la hoja de un libro)\n",
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
