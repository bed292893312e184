#pragma once

#include "files/table.h"

#include <QString>

#include <optional>
#include <vector>

// Numbers in a column of a table file. Texts may use "," or "." as decimal separator and the
// other one to group thousands ("1.234,5", "1,234.5"); which is which is decided by the column as
// a whole, so that a price list never takes 1.500 for one and a half in one row and for fifteen
// hundred in the next.
namespace tarvela::imports {

struct NumberCell {
    enum class State { Empty, Number, Refused };
    State state = State::Empty;
    double value = 0;
    QString reason; // why a refused cell is not a number, for the user

    bool empty() const { return state == State::Empty; }
    bool number() const { return state == State::Number; }
    bool refused() const { return state == State::Refused; }
};

// Reads a column's cells (nullptr or an empty cell is empty). The decimal separator of its texts
// is the one its unambiguous texts show ("0,45", "12.5", "1.234,5"), by majority; a text that
// uses the other one is refused, and so is a text that could be read either way ("1,234") when
// the column shows neither. Numbers that are not finite ("1e999", "nan"), percentages, amounts
// with a currency sign, booleans and error values are refused with their reason.
std::vector<NumberCell> readNumberColumn(const std::vector<const files::Cell*>& cells);

// Whether a value read from a file is the value stored: equal to 15 significant digits, the
// precision the system shows numbers with (workbook writers keep no more than 16). Two missing
// values are the same; a missing one and a number are not.
bool sameValue(const std::optional<double>& a, const std::optional<double>& b);

} // namespace tarvela::imports
