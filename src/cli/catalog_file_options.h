#pragma once

#include "cli/command_line.h"
#include "db/connection.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// What the catalog file commands (import-prices, import-composition, export-composition) share:
// their options, the database they open and the base they work on, and how they print.
namespace tarvela::cli {

struct CatalogFileOptions {
    QString file;
    QString dbFile;          // default: TarvelaN.mdb in the working folder
    std::optional<int> base; // default: the base the program used last
    QString sheet;           // a workbook's sheet; default: the first
    bool dryRun = false;
    bool json = false;
    bool skipInvalid = false;
    bool confirmVariation = false;
};

// Reads FILE and the options the command accepts (flags among --dry-run, --json,
// --skip-invalid, --confirm-variation; values --db, --base, --sheet). Nothing on a usage error.
std::optional<CatalogFileOptions>
parseCatalogFileOptions(const QStringList& args, const QStringList& flags, bool takesSheet);

// Opens the database (upgraded to the current schema) and settles the base: the one given, or
// the one saved in parametros. Throws db::DbError.
std::unique_ptr<db::Connection> openCatalog(CatalogFileOptions& options);

// The last line of an import's text output: what was applied, or why nothing was.
QString closingLine(bool applied, const QString& appliedText, bool dryRun, int refused,
                    const QString& refusedText);

} // namespace tarvela::cli
