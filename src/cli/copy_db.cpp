#include "cli/commands.h"

#include "cli/terminal_output.h"
#include "db/database_copy.h"
#include "db/schema.h"
#include "db/server_connection.h"

#include <QFileInfo>

namespace tarvela::cli {

namespace {

QString shownName(const QString& name) {
    return db::Connection::isServerAddress(name) ? db::addressWithoutPassword(name) : name;
}

} // namespace

int copyDb(const QStringList& args) {
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) ||
        args[1].startsWith(QLatin1String("--"))) {
        printError(QStringLiteral("uso: tarvela-cli copy-db ORIGEN DESTINO (archivos o "
                                  "postgresql://...)"));
        return 2;
    }
    const QString& from = args[0];
    const QString& to = args[1];
    if (!db::Connection::isServerAddress(to) && QFileInfo::exists(to)) {
        printError(QStringLiteral("el archivo '%1' ya existe; no se reemplaza.").arg(to));
        return 2;
    }
    try {
        auto source = db::Connection::open(from, db::databasePassword());
        const std::vector<db::CopiedTable> copied = db::copyDatabaseTo(*source, to);
        long total = 0;
        QString lines;
        for (const db::CopiedTable& table : copied) {
            total += table.rows;
            lines += QStringLiteral("  %1: %2\n").arg(table.table).arg(table.rows);
        }
        printOut(QStringLiteral("Copiados %1 registros de %2 a %3:\n")
                     .arg(total)
                     .arg(terminalText(shownName(from)), terminalText(shownName(to))) +
                 lines);
    } catch (const db::DbError& error) {
        // The engine's error number when there is one; the program's own refusals have none.
        printError(QStringLiteral("no se pudo copiar %1 a %2: %3")
                       .arg(shownName(from), shownName(to), error.description()) +
                   (error.number() != 0 ? QStringLiteral(" (%1)").arg(error.number()) : QString()));
        return 2;
    }
    return 0;
}

} // namespace tarvela::cli
