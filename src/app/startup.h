#pragma once

#include "context/app_context.h"
#include "db/connection.h"
#include "db/result.h"

#include <QChar>
#include <QString>

#include <functional>

// Bringing the system up: the workstation's decimal separator, the one connection, the version
// of application and database, the saved parameters and the current base.
namespace tarvela {

// The initial text of the version box, kept when the database has no version row.
inline const QString kNoVersionText = QStringLiteral("0.00.0");

// The separator found by showing 10/3 with "##.00" on a workstation whose separator is the one
// given: "." or ",", or empty text when the result holds neither (unusable workstation).
QString decimalSeparatorFor(QChar workstationSeparator);

// The server named by tarvela.ini in a folder ([BaseDeDatos] servidor=postgresql://...; the
// password is never written there: the server's ~/.pgpass or PGPASSWORD give it); empty when
// there is no such file or entry.
QString configuredServer(const QString& folder);

// The first steps of start-up: the decimal separator and the connection: to the server that
// tarvela.ini in the working folder names, or else with the program's connection string
// (resolved against the working folder); a database of an earlier version is upgraded
// (db::upgradeSchema). On failure the user has been told why ("El separador decimal no
// es válido." or "Error nro.: ...") and false is returned: the program ends. On success
// ctx.decimalSeparator, ctx.conn and ctx.startupOk are set.
bool startUp(AppContext& ctx,
             const QString& connectionString = db::Connection::defaultConnectionString());

// The version box text for the rows of "SELECT * FROM versionado ORDER BY idVersionado DESC":
// versionapnueva / 100 as "0.00" with a point, a point, versionbdnueva as "0"; kNoVersionText
// when there is no row.
QString versionText(const db::Result& versions);
// Runs the version statement and returns the text for the box.
QString readVersion(db::Connection& conn);

// currentBase and currentCustomer from parametros; 1 and 0 when there is no row, and a null
// column keeps its default.
void restoreParameters(AppContext& ctx);

// Stores the base in parametros and makes it current.
void saveBase(AppContext& ctx, int index);

// Makes the base current: paints each of the three base buttons as selected or not (paint is
// called for buttons 1 to 3 in order) and stores the base; after the first layout of the main
// window it drops the "&Fórmulas" menu down. A base outside 1 to 3 leaves every button
// unselected and stores nothing. Throws db::DbError when the base cannot be stored.
void selectBase(AppContext& ctx, int index,
                const std::function<void(int button, bool selected)>& paint);

} // namespace tarvela
