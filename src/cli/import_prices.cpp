#include "cli/catalog_file_options.h"
#include "cli/commands.h"
#include "cli/import_output.h"
#include "cli/terminal_output.h"
#include "files/table_file.h"
#include "imports/price_import.h"
#include "imports/price_preview_grid.h"
#include "text/format.h"

#include <QDateTime>
#include <QFileInfo>

// tarvela-cli import-prices: today's prices and dry matter from a price list, as the window's
// "Actualizar precios desde archivo…" reads, previews and applies them.
namespace tarvela::cli {

namespace {

int usage() {
    return fail(QStringLiteral("uso: tarvela-cli import-prices ARCHIVO [--db F] [--base N] "
                               "[--sheet HOJA] [--dry-run] [--json] [--skip-invalid] "
                               "[--confirm-variation]"));
}

} // namespace

int importPrices(const QStringList& args) {
    std::optional<CatalogFileOptions> options = parseCatalogFileOptions(
        args,
        {QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--skip-invalid"),
         QStringLiteral("--confirm-variation")},
        true);
    if (!options)
        return usage();
    const files::TableRead read = files::readTableFile(options->file, options->sheet);
    if (!read.ok())
        return fail(read.error);
    const QString origin = QFileInfo(options->file).fileName();
    const imports::PriceList list = imports::readPriceList(read.table, origin);
    if (!list.error.isEmpty())
        return fail(list.error);
    return guarded([&] {
        std::unique_ptr<db::Connection> conn = openCatalog(*options);
        const int base = *options->base;
        const imports::PricePreview preview = imports::previewPrices(*conn, base, list);
        // Rows whose price moves more than the limit are refused too unless confirmed.
        const int unconfirmed =
            options->confirmVariation ? 0 : preview.count(imports::PriceStatus::LargeVariation);
        const int refused = preview.refused() + unconfirmed;
        const bool apply = !options->dryRun && (refused == 0 || options->skipInvalid) &&
                           preview.hasChanges(options->confirmVariation);
        imports::PriceApplication done;
        if (apply) {
            done = imports::applyPrices(*conn, base, list, preview, options->confirmVariation,
                                        QDateTime::currentDateTime());
            if (done.stale)
                return fail(imports::kStalePreview);
        }
        if (options->json) {
            printOut(jsonText(priceJson(options->file, base, preview, apply, done.updated)));
        } else {
            QString out =
                gridText(imports::pricePreviewGrid(preview, text::workstationDecimalSeparator()));
            out += QLatin1Char('\n') + imports::pricePreviewCounts(preview) + QLatin1Char('\n');
            out += closingLine(apply,
                               QStringLiteral("Ingredientes actualizados: %1").arg(done.updated),
                               options->dryRun, refused,
                               QStringLiteral("hay %1 filas rechazadas o sin confirmar "
                                              "(--skip-invalid aplica las válidas; "
                                              "--confirm-variation, las variaciones mayores al "
                                              "50 %).")
                                   .arg(refused));
            printOut(out);
        }
        return refused > 0 ? 1 : 0;
    });
}

} // namespace tarvela::cli
