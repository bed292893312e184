#pragma once

#include "catalogs/field_check.h"
#include "db/connection.h"

#include <QString>
#include <QStringList>

#include <optional>

// The nutrient catalog: the list's statement, and the nutrient window's loading, checks, saving
// and deletion. Creating and deleting keep the composition table complete, each in one
// transaction.
namespace tarvela::catalogs {

// A nutrient as the window shows it.
struct NutrientRecord {
    QString nombre;
    QString unidad;

    bool operator==(const NutrientRecord&) const = default;
};

// The nutrient list's statement for a description fragment (blank: every nutrient), without its
// ordering (the list's lastSelect).
QString nutrientListStatement(const QString& description);

// The nutrient, or nothing when it does not exist. Null columns read as empty texts.
std::optional<NutrientRecord> loadNutrient(db::Connection& conn, int id);

enum class NutrientField { None, Description, Unit };

// "Grabar"'s checks, in order: description, then unit.
FieldCheck<NutrientField> checkNutrient(const NutrientRecord& boxes);

// Stores a new nutrient with a composition row of value 0 for every ingredient of every base,
// all in one transaction, and returns its key. Throws db::KeyError (no key left) or db::DbError;
// then nothing has been written.
int createNutrient(db::Connection& conn, const NutrientRecord& nutrient);
// The nutrient's change stamp as it is now (read when its window loads it).
QString nutrientStamp(db::Connection& conn, int id);
// Rewrites a nutrient's description and unit and records the change, unless someone else changed
// or deleted it since its stamp was read: then db::DbError (DbFailure::Changed), nothing written.
void updateNutrient(db::Connection& conn, int id, const NutrientRecord& nutrient,
                    const QString& stampRead);

// Whether any ingredient has a composition row for the nutrient.
bool nutrientHasIngredients(db::Connection& conn, int id);
// Deletes the nutrient with its composition rows and the formulas. ratio limits on it, in one
// transaction. Formulas. nutrient rows
// stay.
void deleteNutrient(db::Connection& conn, int id);

QString deleteNutrientQuestion(const QString& name);
QString nutrientInUseQuestion(const QString& name);
// The codes of the formulas that use the nutrient, and the question asked before deleting it.
QStringList formulasUsingNutrient(db::Connection& conn, int id);
QString nutrientInFormulasQuestion(const QString& name, const QStringList& codes);

// Whether the window's boxes differ from what was loaded or saved: the description, or a unit
// chosen from the list (chosenUnit empty when none is chosen).
bool nutrientChanged(const NutrientRecord& saved, const QString& description,
                     const std::optional<QString>& chosenUnit);

} // namespace tarvela::catalogs
