#pragma once

#include "files/table.h"

#include <QString>

// A table file as the user hands it over: a CSV text or an Excel workbook, told apart by its
// contents (a workbook is a ZIP package), so a misnamed file is still read for what it is.
namespace tarvela::files {

// The largest file read: far above a sheet of 100,000 rows, below what memory can hold twice.
inline constexpr qint64 kMaxTableFileSize = qint64(512) << 20;

// Reads the file: a workbook's sheet named sheetName, or its first sheet; a CSV text whole.
// A file named .xlsx that is not a ZIP package is refused as a workbook.
TableRead readTableFile(const QString& path, const QString& sheetName = {});

} // namespace tarvela::files
