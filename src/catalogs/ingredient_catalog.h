#pragma once

#include "catalogs/field_check.h"
#include "db/connection.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// The ingredient window's core: loading an ingredient into its boxes, the checks of "Grabar",
// creating (with its composition rows) and updating, the deletion of the list, and the rules of
// the price and dry-matter boxes.
namespace tarvela::catalogs {

// An ingredient as its window's boxes show it: price with "0.0000", dry matter with "0.00".
struct IngredientBoxes {
    QString codigo;
    QString nombre;
    QString unidad;
    QString costo;
    QString materiaSeca;

    bool operator==(const IngredientBoxes&) const = default;
};

// The ingredient's boxes, or nothing when it does not exist. Null columns read as empty texts.
std::optional<IngredientBoxes> loadIngredient(db::Connection& conn, int id, QChar separator);
// The highest code of a base as stored ("Último"); empty when the base has none.
QString lastIngredientCode(db::Connection& conn, int base);
// The description the composition window takes as caption; empty when the ingredient is gone.
QString ingredientName(db::Connection& conn, int id);

enum class IngredientField { None, Code, Description, Unit, Price, DryMatter };

// "Grabar"'s checks, in order: code, description, unit, price, dry matter and its range 0-100.
FieldCheck<IngredientField> checkIngredient(const IngredientBoxes& boxes);

// A code in the form in which the duplicate check compares codes: trimmed, right-aligned to 20
// characters, case folded (texts compare without regard to case). Two codes are the same code
// of a base when their keys are equal.
QString codeKey(const QString& code);

struct IngredientCreation {
    bool duplicateCode = false; // the code is taken in the base: nothing written
    int id = 0;                 // the new ingredient's key
};

// Stores a new ingredient of the base with a composition row of value 0 for every nutrient, all
// in one transaction with the duplicate-code check, the new key and the record of the change. The
// boxes must have passed checkIngredient. Throws db::KeyError (no key left) or db::DbError; then
// nothing is written.
IngredientCreation createIngredient(db::Connection& conn, int base, const IngredientBoxes& boxes);
// The productos row of a new ingredient of the base, under the next key, which it returns; the
// caller's transaction holds it together with its composition rows.
int insertIngredientRow(db::Connection& conn, int base, const IngredientBoxes& boxes);
// The ingredient's change stamp as it is now (read when its window loads it).
QString ingredientStamp(db::Connection& conn, int id);
// Rewrites description, unit, price and dry matter (never the code) and records the change,
// unless someone else changed or deleted the ingredient since its stamp was read: then
// db::DbError (DbFailure::Changed) says who and when, and nothing is written.
void updateIngredient(db::Connection& conn, int id, const IngredientBoxes& boxes,
                      const QString& stampRead);

bool ingredientHasNutrients(db::Connection& conn, int id);
// Deletes the ingredient with its composition rows, its places in groups and its price history,
// in one transaction. Formulas' ingredient rows stay.
void deleteIngredient(db::Connection& conn, int id);

QString deleteIngredientQuestion(const QString& name);
QString ingredientInUseQuestion(const QString& name);
// The codes of the formulas that use the ingredient, and the question asked before deleting it.
QStringList formulasUsingIngredient(db::Connection& conn, int id);
QString ingredientInFormulasQuestion(const QString& name, const QStringList& codes);

// Whether the boxes differ from what was loaded or saved: code or description; a unit chosen
// from the list (chosenUnit empty when none is); price or dry matter when both the box and the
// saved value are numbers.
bool ingredientChanged(const IngredientBoxes& saved, const IngredientBoxes& boxes,
                       const std::optional<QString>& chosenUnit);

// Why the price box cannot be stored: not a number, or negative; empty when it can.
QString priceRefusal(const QString& text);
// The price box after leaving it: a number with "0.0000"; nothing when the text is not a number.
std::optional<QString> priceBoxText(const QString& text, QChar separator);
// The dry-matter box after leaving it: a number with "0.00", any other text as it is.
QString dryMatterBoxText(const QString& text, QChar separator);

} // namespace tarvela::catalogs
