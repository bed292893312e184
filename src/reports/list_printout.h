#pragma once

#include "db/result.h"

#include <QChar>
#include <QDate>
#include <QString>

#include <vector>

class QPagedPaintDevice;

// Printouts of the catalog and formula lists: what the list's last search found, one line per
// row under a page header with the title, "Fecha" and "Página" and the column headings on every
// page.
namespace tarvela::reports {

struct ListColumn {
    QString heading;
    QString field;        // the result column shown, by name
    double width = 0;     // millimetres
    bool right = false;   // right-aligned
    QString numberFormat; // figures shown with this pattern; empty: as they are
    bool wraps = false;   // a text too wide is broken into lines, not shortened with "…"
};

struct ListLayout {
    QString name;  // repIngredientes, repNutrientes, repFormulas
    QString title; // "Ingredientes", ...
    std::vector<ListColumn> columns;
};

const ListLayout& ingredientListLayout();
const ListLayout& nutrientListLayout();
const ListLayout& formulaListLayout();

// The statement an ingredient or nutrient list printout runs: the list's last search statement,
// which has no ordering of its own, ordered by name.
QString catalogListStatement(const QString& lastSelect);

// The text of one detail field: codes without their filling blanks, figures in the column's
// pattern with the workstation's separator, nulls empty.
QString listFieldText(const ListColumn& column, const QVariant& value, QChar decimalSeparator);

// Prints the rows on the device (A4 or whatever page it has). The number of pages printed; 0
// when the device could not be painted on.
int printList(QPagedPaintDevice& device, const ListLayout& layout, const db::Result& rows,
              const QDate& today, QChar decimalSeparator);

} // namespace tarvela::reports
