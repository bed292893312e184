#pragma once

#include "files/table.h"
#include "imports/number_column.h"

#include <QString>
#include <QStringList>

#include <vector>

// A table file as the imports read it: its first non-blank row holds the headings, the
// non-blank rows below it hold the data.
namespace tarvela::imports {

struct TableLayout {
    QStringList headings; // by column, trimmed
    std::vector<const files::Row*> rows;

    // The column whose heading names one of the names (see headingNames); -1 when none. Two
    // columns naming the same thing set error, as the file does not say which one counts.
    int column(const QStringList& names, QString& error) const;
    // "fila 12, columna C (Precio)": where a cell is, as the user finds it in the file.
    QString place(const files::Row& row, int column) const;
    // A column's cells read as numbers, one per data row.
    std::vector<NumberCell> numbers(int column) const;
};

// The layout of a table; the table must outlive it.
TableLayout layoutOf(const files::Table& table);

// A cell's text trimmed, numbers without a decimal part written as whole numbers ("101").
QString cellText(const files::Cell& cell);

// "Fila 12, columna C (Precio): <reason>" with the place's first letter in capitals.
QString refusal(const QString& place, const QString& reason);

} // namespace tarvela::imports
