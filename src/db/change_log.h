#pragma once

#include "db/connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// Who changed what: every change to catalog items, formulas and prices writes a row of
// auditoria in the transaction of the change, and the items carry a change stamp (modificado)
// that a save compares with the one it read, so that two workstations never overwrite each
// other's changes silently.
namespace tarvela::db {

// The actions recorded.
inline const QString kActionCreated = QStringLiteral("alta");
inline const QString kActionChanged = QStringLiteral("modificación");
inline const QString kActionDeleted = QStringLiteral("baja");

// The stamp of a change made now ('yyyy-mm-dd hh:mm:ss.zzz'), never equal to the previous one.
QString newChangeStamp(const QString& previous = QString());

// The stamp of an item as it is now: empty when it has none (made by an earlier version) or is
// gone.
QString changeStamp(Connection& conn, const QString& table, const QString& keyColumn, int key);

// A value as the record shows it: texts in quotes, numbers with a point, "(vacío)" for null.
QString recordedValue(const QVariant& value);

// "campo: antes → después; ..." for the columns whose values differ (before and after by column
// name, without regard to case); empty when none does.
QString changedFields(const QStringList& columns, const QVariantList& before,
                      const QVariantList& after);
// "campo: valor; ..." for a row created or deleted.
QString fieldValues(const QStringList& columns, const QVariantList& values);

// Writes one row of auditoria in the caller's transaction: now, the connection's user.
void recordChange(Connection& conn, const QString& table, const QString& key, const QString& action,
                  const QString& detail);

struct ChangeRecord {
    QString fecha; // 'yyyy-mm-dd hh:mm:ss'
    QString usuario;
    QString accion;
    QString detalle;
};

// The recorded changes of an item, newest first.
std::vector<ChangeRecord> changeHistory(Connection& conn, const QString& table, const QString& key);

// "El registro fue modificado por <usuario> el <fecha>; vuelva a abrirlo para ver los cambios."
// for the last recorded change of an item.
QString changedElsewhereMessage(Connection& conn, const QString& table, const QString& key);

// Inside the caller's transaction: the item's row as it is now (held against other writers until
// the transaction ends). Throws DbError (DbFailure::Changed, changedElsewhereMessage) when the row
// is gone or its stamp is not the one read.
Result currentRow(Connection& conn, const QString& table, const QString& keyColumn, int key,
                  const QString& stampRead);

// Updates the columns of an item whose stamp is still the one read, gives it a new stamp and
// records the change (the fields before and after), in one transaction that joins the caller's.
// Throws DbError (DbFailure::Changed) when the item changed or went since it was read: then
// nothing is written.
void updateRecorded(Connection& conn, const QString& table, const QString& keyColumn, int key,
                    const QString& stampRead, const QStringList& columns, const Params& values);

// For an item whose rows a caller's statements rewrote inside its transaction, after
// currentRow gave the row as it was: gives the item a new stamp and records the change, the
// fields that differ between before and the row as it is now, followed by more (the item's
// other rows, say) when it is not empty.
void recordUpdated(Connection& conn, const QString& table, const QString& keyColumn, int key,
                   const Result& before, const QString& more);

// Records a new row of a table with its values (read back by its key).
void recordCreated(Connection& conn, const QString& table, const QString& keyColumn, int key);
// Records the row about to be deleted, with its values.
void recordDeleted(Connection& conn, const QString& table, const QString& keyColumn, int key);

} // namespace tarvela::db
