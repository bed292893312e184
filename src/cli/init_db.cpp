#include "cli/commands.h"

#include "cli/terminal_output.h"
#include "db/database_file.h"
#include "db/schema.h"
#include "db/server_connection.h"

#include <QFileInfo>

namespace tarvela::cli {

namespace {

// The schema in an empty database of a server, in one transaction.
int initServer(const QString& address, bool demo) {
    try {
        auto conn = db::Connection::openServer(address);
        if (db::hasProgramTables(*conn)) {
            printError(QStringLiteral("la base de datos %1 ya tiene las tablas de Tarvela; no se "
                                      "reemplaza.")
                           .arg(conn->displayName()));
            return 2;
        }
        db::Transaction transaction(*conn);
        db::createSchema(*conn);
        if (demo)
            db::loadDemo(*conn, db::demoDataDir());
        transaction.commit();
        printOut(QStringLiteral("Base de datos creada: ") + terminalText(conn->displayName()) +
                 (demo ? QStringLiteral(" (con datos de ejemplo)") : QString()) +
                 QLatin1Char('\n'));
    } catch (const db::DbError& error) {
        printError(QStringLiteral("no se pudo crear '%1': %2 (%3)")
                       .arg(db::addressWithoutPassword(address), error.description())
                       .arg(error.number()));
        return 2;
    }
    return 0;
}

} // namespace

int initDb(const QStringList& args) {
    QString file;
    bool demo = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--demo")) {
            demo = true;
        } else if (arg.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            printError(QStringLiteral("argumento no reconocido: %1").arg(arg));
            printError(
                QStringLiteral("uso: tarvela-cli init-db ARCHIVO|postgresql://... [--demo]"));
            return 2;
        } else {
            file = arg;
        }
    }
    if (file.isEmpty()) {
        printError(QStringLiteral("uso: tarvela-cli init-db ARCHIVO|postgresql://... [--demo]"));
        return 2;
    }
    if (db::Connection::isServerAddress(file))
        return initServer(file, demo);
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
