#pragma once

#include "db/connection.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// The formula list's search: the filters as typed, their checks, the list statement, and the
// statements the list runs besides (deleting one version, remembering the customer filter).
namespace tarvela::formulas {

// The filter boxes, as typed.
struct SearchFilter {
    int base = 1;
    QString codeFrom;     // Text1
    QString codeTo;       // Text2
    QString product;      // Text3
    QString createdFrom;  // Text4
    QString createdTo;    // Text5
    QString modifiedFrom; // Text12
    QString modifiedTo;   // Text13
    int nutrientId = 0;   // selected nutrient, 0 = none
    QString valueFrom;    // Text7
    QString valueTo;      // Text8
    int ingredientId = 0; // selected ingredient, 0 = none
    // The customer of the combo box when it holds an entry of its list.
    std::optional<int> customerId;
};

// The box whose text was refused.
enum class FilterBox { None, CreatedFrom, CreatedTo, ModifiedFrom, ModifiedTo, ValueFrom, ValueTo };

struct SearchStatement {
    QString sql; // empty when a box was refused
    FilterBox invalid = FilterBox::None;
    QString message; // the message for the refused box
};

// A date typed in the workstation's day-month order ("31/12/2026" on a day-first workstation,
// "12/31/2026" on a month-first one; "-" and "." also separate; two-digit years are 1930-2029;
// "yyyy-mm-dd" is always accepted). std::nullopt when it is not a valid date.
std::optional<QDate> parseUserDate(const QString& text, const QLocale& workstation = QLocale());

// True when the trimmed text is empty or a valid date.
bool isValidDateBox(const QString& text, const QLocale& workstation = QLocale());

// Checks the boxes and builds the list statement. Dates are read in the workstation's order.
SearchStatement buildSearchStatement(const SearchFilter& filter,
                                     const QLocale& workstation = QLocale());

// Removes one version with its nutrient and ingredient rows, in one transaction.
void deleteFormulaVersion(db::Connection& conn, int formulaId);

// Remembers the customer filter of the last search for the next start-up (0 = none).
void saveCustomerFilter(db::Connection& conn, std::optional<int> customerId);

} // namespace tarvela::formulas
