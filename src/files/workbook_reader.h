#pragma once

#include "files/table.h"

#include <QByteArray>
#include <QString>

// The cells of one sheet of an Excel workbook (.xlsx): shared and inline texts, numbers,
// booleans, the values last computed for formula cells, error values, and empty cells.
namespace tarvela::files {

// Reads the sheet named sheetName (compared without regard to case), or the first sheet when
// sheetName is empty. The result lists the workbook's sheets; its error says why the bytes are
// not a readable workbook or the sheet does not exist.
TableRead readWorkbook(const QByteArray& bytes, const QString& sheetName = {});

} // namespace tarvela::files
