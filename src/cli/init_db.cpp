#include "cli/commands.h"

#include "cli/terminal_output.h"
#include "db/database_file.h"
#include "db/schema.h"

#include <QFileInfo>

namespace tarvela::cli {

int initDb(const QStringList& args) {
    QString file;
    bool demo = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--demo")) {
            demo = true;
        } else if (arg.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            printError(QStringLiteral("argumento no reconocido: %1").arg(arg));
            printError(QStringLiteral("uso: tarvela-cli init-db ARCHIVO [--demo]"));
            return 2;
        } else {
            file = arg;
        }
    }
    if (file.isEmpty()) {
        printError(QStringLiteral("uso: tarvela-cli init-db ARCHIVO [--demo]"));
        return 2;
    }
    if (QFileInfo::exists(file)) {
        printError(QStringLiteral("el archivo '%1' ya existe; no se reemplaza.").arg(file));
        return 2;
    }
    try {
        // The file appears complete or not at all: an interrupted run leaves nothing behind.
        db::createDatabaseFile(file, db::databasePassword(), [demo](db::Connection& conn) {
            db::createSchema(conn);
            if (demo)
                db::loadDemo(conn, db::demoDataDir());
        });
    } catch (const db::DbError& error) {
        printError(QStringLiteral("no se pudo crear '%1': %2 (%3)")
                       .arg(file, error.description())
                       .arg(error.number()));
        return 2;
    }
    printOut(QStringLiteral("Base de datos creada: ") + terminalText(file) +
             (demo ? QStringLiteral(" (con datos de ejemplo)") : QString()) + QLatin1Char('\n'));
    return 0;
}

} // namespace tarvela::cli
