#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A table read from a file (a CSV text or a workbook's sheet): its rows and their cells, as the
// file holds them. Deciding what a cell means is the reader's caller's business.
namespace tarvela::files {

struct Cell {
    enum class Kind { Empty, Text, Number, Boolean, Error };
    Kind kind = Kind::Empty;
    QString text;      // a text, or an error's code ("#N/A")
    double number = 0; // a number, or a boolean as 0 or 1

    bool isEmpty() const { return kind == Kind::Empty; }
    // The cell as a spreadsheet would show it unformatted: texts as they are, numbers with up to
    // 15 significant digits and "." ("101", "0.45"), booleans as VERDADERO or FALSO.
    QString display() const;
};

struct Row {
    int number = 0; // as a spreadsheet shows it: the file's first row is 1
    std::vector<Cell> cells;

    // The cell of a column counted from 0; an empty cell beyond the row's last.
    const Cell& cell(int column) const;
    bool isBlank() const;
};

struct Table {
    std::vector<Row> rows;
};

// What reading a file gave: the table, or the reason it could not be read (a message for the
// user; then the table is empty).
struct TableRead {
    Table table;
    QString error;
    QStringList sheets; // a workbook's sheet names, in order; empty for a CSV text
    bool ok() const { return error.isEmpty(); }
};

// The name of a column as spreadsheets write it: 0 is "A", 25 "Z", 26 "AA".
QString columnLetters(int column);

} // namespace tarvela::files
