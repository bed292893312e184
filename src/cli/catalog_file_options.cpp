#include "cli/catalog_file_options.h"

#include "cli/command_line.h"
#include "db/schema.h"

namespace tarvela::cli {

std::optional<CatalogFileOptions>
parseCatalogFileOptions(const QStringList& args, const QStringList& flags, bool takesSheet) {
    QStringList options = {QStringLiteral("--db"), QStringLiteral("--base")};
    if (takesSheet)
        options << QStringLiteral("--sheet");
    const Arguments read(args, flags, options, 1);
    if (!read.ok() || read.words().isEmpty())
        return std::nullopt;
    CatalogFileOptions out;
    out.file = read.words().front();
    out.dbFile = read.database();
    out.sheet = read.value(QStringLiteral("--sheet")).value_or(QString());
    if (const std::optional<QString> base = read.value(QStringLiteral("--base"))) {
        out.base = wholeNumber(*base, 1, 3);
        if (!out.base)
            return std::nullopt;
    }
    out.dryRun = read.has(QStringLiteral("--dry-run"));
    out.json = read.has(QStringLiteral("--json"));
    out.skipInvalid = read.has(QStringLiteral("--skip-invalid"));
    out.confirmVariation = read.has(QStringLiteral("--confirm-variation"));
    return out;
}

std::unique_ptr<db::Connection> openCatalog(CatalogFileOptions& options) {
    std::unique_ptr<db::Connection> conn = openDatabase(options.dbFile);
    if (!options.base) {
        const db::Result saved = conn->query(QStringLiteral("Select idBase from parametros"));
        const int base = saved.isEmpty() ? 1 : saved.value(0, 0).toInt();
        options.base = base >= 1 && base <= 3 ? base : 1;
    }
    return conn;
}

QString closingLine(bool applied, const QString& appliedText, bool dryRun, int refused,
                    const QString& refusedText) {
    if (applied)
        return appliedText + QLatin1Char('\n');
    if (dryRun)
        return QStringLiteral("Vista previa: no se aplicó ningún cambio.\n");
    if (refused > 0)
        return QStringLiteral("No se aplicó ningún cambio: ") + refusedText + QLatin1Char('\n');
    return QStringLiteral("No hay cambios que aplicar.\n");
}

} // namespace tarvela::cli
