#pragma once

#include "db/result.h"
#include "formulation/working_model.h"

#include <QChar>
#include <QString>

#include <optional>

// The stored formula as the loading reads it: the columns its statements select from the detail
// tables, and each result row turned into the header or a row of a working table. Shared by the
// loading of one formula and the read of many at once, so that both fill the model alike.
namespace tarvela::formulation {

// A stored number: none when the column is null or holds no number.
Opt optDouble(const QVariant& v);

// The select lists of the formula's nutrients (formula_propiedad fp joined with propiedades p)
// and ingredients (formula_producto fp joined with productos p).
QString storedNutrientColumns();
QString storedIngredientColumns();

// The header boxes, the batch quantity and the bases from a row of the formulas table.
void readStoredHeader(WorkingModel& model, const db::Result& formulas, int r,
                      QChar decimalSeparator);

class StoredNutrients {
public:
    // Throws db::DbError when the result lacks a column of storedNutrientColumns().
    explicit StoredNutrients(const db::Result& rs);
    NutrientRow row(int r) const;

private:
    const db::Result& rs_;
    int id_, nombre_, minimo_, maximo_, valor_;
};

class StoredIngredients {
public:
    // Throws db::DbError when the result lacks a column of storedIngredientColumns().
    explicit StoredIngredients(const db::Result& rs);
    // The row, or none for an ingredient without dry matter, which the formula cannot hold:
    // leftOut then gets the message that says it was left out.
    std::optional<IngredientRow> row(int r, QString& leftOut) const;

private:
    const db::Result& rs_;
    int id_, nombre_, costo_, costoActual_, ms_, msActual_, minimo_, maximo_, porH_, porS_, canH_,
        canS_;
};

} // namespace tarvela::formulation
