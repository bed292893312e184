#pragma once

#include "db/connection.h"

#include <QChar>
#include <QString>

#include <optional>

// The composition window's core: the list of one ingredient's nutrient contents, the rules of
// editing a value in place, and the statements that store, add and remove a content.
namespace tarvela::catalogs {

// The list statement: the ingredient's nutrients whose name holds the search text (blank: all),
// highest content first, ties by name.
QString compositionListStatement(int ingredientId, const QString& search);

// How the value editor was left.
enum class EditKey { None, Enter, Escape };

enum class EditStep {
    Store,   // store EditDecision::value
    Discard, // keep the stored value, ask nothing
    Ask,     // the editor was left by other means: ask whether to store (Yes = Enter, No = Esc)
    Refuse,  // EditDecision::message tells why; the editor keeps the focus
};

struct EditDecision {
    EditStep step = EditStep::Discard;
    double value = 0;
    QString message; // Refuse: not a number, or beyond the magnitudes a run accepts
};

inline const QString kValueNotNumeric = QStringLiteral("El valor debe ser numérico");

// What leaving the editor does with its text. A number equal to the value before editing stores
// nothing and asks nothing; a blank text stored with Enter is 0; a content beyond ±1000000 is
// refused (negative contents, such as a cation-anion balance, are allowed).
EditDecision decideValueEdit(const QString& text, double valueBeforeEdit, EditKey key);

// The question asked when the editor is left neither by Enter nor by Escape.
QString storeValueQuestion(const QString& text, const QString& nutrientName, QChar separator);

// The value a cell shows as a number: 0 for a blank cell.
double cellValue(const QString& cellText);

// Stores one content. Throws db::DbError.
// The content as stored (the grid shows it with five decimals); nothing when the row is gone.
// Throws db::DbError.
std::optional<double> compositionValue(db::Connection& conn, int ingredientId, int nutrientId);
void storeCompositionValue(db::Connection& conn, int ingredientId, int nutrientId, double value);
// Whether the ingredient has a row for the nutrient.
bool hasCompositionRow(db::Connection& conn, int ingredientId, int nutrientId);
// Adds a row of value 0 for the nutrient.
void addCompositionRow(db::Connection& conn, int ingredientId, int nutrientId);
// Removes the one pair; the nutrient and the ingredient stay.
void removeCompositionRow(db::Connection& conn, int ingredientId, int nutrientId);

inline const QString kNutrientAlreadyAssigned =
    QStringLiteral("El Nutriente Ya se encuentra Asginada al Producto");
QString removeCompositionRowQuestion(const QString& nutrientName);

} // namespace tarvela::catalogs
