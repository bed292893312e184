#include "cli/catalog_file_options.h"

#include "cli/terminal_output.h"
#include "db/keys.h"
#include "db/schema.h"

#include <QDir>

namespace tarvela::cli {

std::optional<CatalogFileOptions>
parseCatalogFileOptions(const QStringList& args, const QStringList& flags, bool takesSheet) {
    CatalogFileOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (flags.contains(a)) {
            options.dryRun = options.dryRun || a == QLatin1String("--dry-run");
            options.json = options.json || a == QLatin1String("--json");
            options.skipInvalid = options.skipInvalid || a == QLatin1String("--skip-invalid");
            options.confirmVariation =
                options.confirmVariation || a == QLatin1String("--confirm-variation");
        } else if (a == QLatin1String("--db") || a == QLatin1String("--base") ||
                   (takesSheet && a == QLatin1String("--sheet"))) {
            if (i + 1 >= args.size())
                return std::nullopt;
            const QString value = args[++i];
            if (a == QLatin1String("--db")) {
                options.dbFile = value;
            } else if (a == QLatin1String("--sheet")) {
                options.sheet = value;
            } else {
                bool ok = false;
                const int base = value.toInt(&ok);
                if (!ok || base < 1 || base > 3)
                    return std::nullopt;
                options.base = base;
            }
        } else if (!a.startsWith(QLatin1String("--")) && options.file.isEmpty()) {
            options.file = a;
        } else {
            return std::nullopt;
        }
    }
    if (options.file.isEmpty())
        return std::nullopt;
    if (options.dbFile.isEmpty())
        options.dbFile = QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));
    return options;
}

std::unique_ptr<db::Connection> openCatalog(CatalogFileOptions& options) {
    std::unique_ptr<db::Connection> conn =
        db::Connection::open(options.dbFile, db::databasePassword());
    db::upgradeSchema(*conn);
    if (!options.base) {
        const db::Result saved = conn->query(QStringLiteral("Select idBase from parametros"));
        const int base = saved.isEmpty() ? 1 : saved.value(0, 0).toInt();
        options.base = base >= 1 && base <= 3 ? base : 1;
    }
    return conn;
}

int guarded(const std::function<int()>& work) {
    try {
        return work();
    } catch (const db::KeyError& e) {
        return error(e.message());
    } catch (const db::DbError& e) {
        return error(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
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

int error(const QString& message) {
    printError(message);
    return 2;
}

} // namespace tarvela::cli
