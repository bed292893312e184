#include "cli/catalog_file_options.h"
#include "cli/commands.h"
#include "cli/terminal_output.h"
#include "imports/composition_export.h"
#include "text/format.h"

// tarvela-cli export-composition: the composition of a base written as the table the import
// reads (.xlsx or .csv by the file's extension).
namespace tarvela::cli {

int exportComposition(const QStringList& args) {
    std::optional<CatalogFileOptions> options = parseCatalogFileOptions(args, {}, false);
    if (!options)
        return fail(QStringLiteral("uso: tarvela-cli export-composition ARCHIVO [--db F] "
                                   "[--base N]"));
    return guarded([&] {
        std::unique_ptr<db::Connection> conn = openCatalog(*options);
        const QString failure = imports::exportComposition(*conn, *options->base, options->file,
                                                           text::workstationDecimalSeparator());
        if (!failure.isEmpty())
            return fail(failure);
        printOut(QStringLiteral("Archivo generado: %1\n").arg(terminalText(options->file)));
        return 0;
    });
}

} // namespace tarvela::cli
