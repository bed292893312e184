#pragma once

#include "catalogs/field_check.h"
#include "db/connection.h"

#include <QString>
#include <QStringList>

// The ingredient list's search: the criteria as typed, their checks and the list statement.
namespace tarvela::catalogs {

struct IngredientFilter {
    int base = 1;
    QString codeFrom;    // Text1
    QString codeTo;      // Text2
    QString description; // Text3
    QString unit;        // Combo1; empty = any
    QString costFrom;    // Text4
    QString costTo;      // Text5
    int nutrientId = 0;  // filterPropertyId; 0 = no nutrient filter
    QString valueFrom;   // Text7
    QString valueTo;     // Text8
};

// The box whose text was refused.
enum class IngredientFilterBox { None, CostFrom, CostTo, ValueFrom, ValueTo };

struct IngredientSearch {
    QString sql; // the statement without its ordering (lastSelect); empty when a box was refused
    FieldCheck<IngredientFilterBox> refusal;
};

// Checks the price and value boxes, in that order, and builds the statement: the ingredients of
// the base that meet every filled criterion. Numbers are read with either separator and written
// with a point; texts are escaped; codes are compared right-aligned.
IngredientSearch buildIngredientSearch(const IngredientFilter& filter);

// The units the ingredients of the base hold, by name, each once. Throws db::DbError.
QStringList storedIngredientUnits(db::Connection& conn, int base);

} // namespace tarvela::catalogs
