#include "cli/catalog_file_options.h"
#include "cli/commands.h"
#include "cli/import_output.h"
#include "cli/terminal_output.h"
#include "files/table_file.h"
#include "imports/composition_import.h"
#include "imports/composition_preview_grids.h"
#include "text/format.h"

#include <QDateTime>
#include <QFileInfo>

// tarvela-cli import-composition: a composition table read, previewed and applied as the
// window's "Importar composición…" does.
namespace tarvela::cli {

namespace {

int usage() {
    return fail(QStringLiteral("uso: tarvela-cli import-composition ARCHIVO [--db F] [--base N] "
                               "[--sheet HOJA] [--dry-run] [--json] [--skip-invalid]"));
}

// The preview's lists, each under its title; the values that stay are only counted.
QString previewText(const imports::CompositionPreview& preview, QChar sep) {
    QString out;
    const auto section = [&out](const QString& title, const imports::PreviewGrid& grid) {
        if (grid.rowCount > 0)
            out += title + QLatin1Char('\n') + gridText(grid) + QLatin1Char('\n');
    };
    section(QStringLiteral("Nutrientes nuevos"), imports::newNutrientsGrid(preview));
    section(QStringLiteral("Ingredientes nuevos"), imports::newIngredientsGrid(preview, sep));
    section(QStringLiteral("Valores cambiados"), imports::valuesGrid(preview, true, sep));
    section(QStringLiteral("Rechazados"), imports::refusedGrid(preview));
    return out + imports::compositionPreviewCounts(preview) + QLatin1Char('\n');
}

} // namespace

int importComposition(const QStringList& args) {
    std::optional<CatalogFileOptions> options = parseCatalogFileOptions(
        args,
        {QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--skip-invalid")},
        true);
    if (!options)
        return usage();
    const files::TableRead read = files::readTableFile(options->file, options->sheet);
    if (!read.ok())
        return fail(read.error);
    const imports::CompositionFile file = imports::readCompositionFile(read.table);
    if (!file.error.isEmpty())
        return fail(file.error);
    return guarded([&] {
        std::unique_ptr<db::Connection> conn = openCatalog(*options);
        const int base = *options->base;
        const imports::CompositionPreview preview = imports::previewComposition(*conn, base, file);
        const int refused = static_cast<int>(preview.refused.size());
        const bool apply =
            !options->dryRun && (refused == 0 || options->skipInvalid) && preview.hasChanges();
        if (apply) {
            const imports::CompositionApplication done = imports::applyComposition(
                *conn, base, file, preview, QFileInfo(options->file).fileName(),
                QDateTime::currentDateTime());
            if (done.stale)
                return fail(imports::kStalePreview);
        }
        if (options->json) {
            printOut(jsonText(compositionJson(options->file, base, preview, apply)));
        } else {
            QString out = previewText(preview, text::workstationDecimalSeparator());
            out += closingLine(apply, QStringLiteral("Composición aplicada."), options->dryRun,
                               refused,
                               QStringLiteral("hay %1 celdas rechazadas (--skip-invalid aplica "
                                              "las demás).")
                                   .arg(refused));
            printOut(out);
        }
        return refused > 0 ? 1 : 0;
    });
}

} // namespace tarvela::cli
