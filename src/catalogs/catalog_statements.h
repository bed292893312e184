#pragma once

#include "db/connection.h"

#include <QString>
#include <QStringList>

// Pieces of statements the catalogs share.
namespace tarvela::catalogs {

// The ordering every catalog list appends to its search statement.
inline const QString kOrderByNombre = QStringLiteral(" order by nombre");

// " and <column> like '%<text>%'" for a text typed into a search box (trimmed, quotes escaped);
// empty text when the box is blank.
QString containsCondition(const QString& column, const QString& typed);

// Whether "select ... <fromWhere>" has a row, asked with EXISTS so that no row is read.
bool anyRow(db::Connection& conn, const QString& fromWhere);

// Whether a composition row names the item whose key (id_producto or id_propiedad) is given.
bool hasCompositionRows(db::Connection& conn, const QString& keyColumn, int id);
// The codes (trimmed, in code order, each once) of the formulas whose detail rows (detailTable:
// formula_producto or formula_propiedad) name the item whose key is given.
QStringList formulaCodesUsing(db::Connection& conn, const QString& detailTable,
                              const QString& keyColumn, int id);
// "se usa en 2 fórmulas (1001, 1002)": how many formulas, and the first ten codes.
QString usedInFormulasText(const QStringList& codes);
// The question before an item that formulas use is deleted; item is "Ingrediente" or
// "Nutriente".
QString usedInFormulasQuestion(const QString& item, const QString& name, const QStringList& codes);

// Deletes an ingredient or a nutrient: its composition rows, then its row, in one transaction.
void deleteWithComposition(db::Connection& conn, const QString& table, const QString& keyColumn,
                           int id);

} // namespace tarvela::catalogs
