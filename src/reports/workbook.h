#pragma once

#include "reports/output_file.h"

#include <QColor>
#include <QString>

#include <map>
#include <utility>
#include <vector>

// A worksheet as data: every cell's value and look, and the columns' widths. The reports fill a
// sheet and save it as the only sheet of a new workbook (.xlsx), so what they write is tested
// without reading files back.
namespace tarvela::reports {

// The fill of the reports' heading rows: red 153, green 204, blue 255.
inline const QColor kHeadingFill{153, 204, 255};

struct CellStyle {
    bool bold = false;
    double fontSize = 0;  // 0: the workbook's default size
    QColor fill;          // invalid: no fill
    QString numberFormat; // empty: General
    // Thin black edges, as frames leave them.
    bool top = false;
    bool bottom = false;
    bool left = false;
    bool right = false;
    int indent = 0; // of a text, in the program's indent steps

    bool operator<(const CellStyle& other) const;
};

struct SheetCell {
    enum class Kind { Blank, Text, Number, Formula };
    Kind kind = Kind::Blank;
    QString text;      // the text, or the formula ("=F12*D12") of a formula cell
    double number = 0; // the number, or the formula's value as last computed
    CellStyle style;
};

// Rows and columns are counted from 1, as the user sees them (column A is 1).
class Sheet {
public:
    // A text always stays a text, whatever it looks like ("=1+1", "007").
    void setText(int row, int column, const QString& text);
    void setNumber(int row, int column, double value, const QString& numberFormat = {});
    // A formula with the value it computes, kept for programs that show it without
    // recalculating.
    void setFormula(int row, int column, const QString& formula, double value,
                    const QString& numberFormat = {});

    // The cell, created blank when the sheet has none there.
    SheetCell& cell(int row, int column);
    // nullptr when the sheet has no cell there.
    const SheetCell* find(int row, int column) const;

    // Range operations on rows r1..r2 and columns c1..c2; they create the cells they touch.
    void setBold(int r1, int c1, int r2, int c2);
    void setFill(int r1, int c1, int r2, int c2, const QColor& colour);
    void setFontSize(int r1, int c1, int r2, int c2, double size);
    // A thin black frame around the range: the outer edges of its edge cells.
    void frame(int r1, int c1, int r2, int c2);

    // Width in characters; 0 hides the column.
    void setColumnWidth(int column, double width);
    // Height in points, for a row whose large font the row would otherwise cut.
    void setRowHeight(int row, double height);
    // Printed, the sheet is shrunk to the width of one page.
    bool fitToPageWidth = false;

    const std::map<std::pair<int, int>, SheetCell>& cells() const { return cells_; }
    const std::map<int, double>& columnWidths() const { return widths_; }
    const std::map<int, double>& rowHeights() const { return heights_; }
    // The last row holding a cell; 0 when the sheet is empty.
    int lastRow() const;

private:
    std::map<std::pair<int, int>, SheetCell> cells_;
    std::map<int, double> widths_;
    std::map<int, double> heights_;
};

// A sheet with the name its tab shows (at most 31 characters, none of []:*?/\\; unique in its
// workbook); empty: the writer's own ("Sheet1").
struct NamedSheet {
    QString name;
    Sheet sheet;
};

// Writes the sheets in order as the sheets of a workbook file. The failure, or an empty
// description when the workbook was written whole.
WriteFailure saveWorkbook(const std::vector<NamedSheet>& sheets, const QString& path);
WrittenFile saveNewWorkbook(const std::vector<NamedSheet>& sheets, const QString& folder,
                            const QString& baseName);

// Writes the sheet as the only sheet of a workbook file. The failure, or an empty description
// when the workbook was written whole.
WriteFailure saveWorkbook(const Sheet& sheet, const QString& path);

// Saves the sheet as a new workbook "<baseName>.xlsx" in the folder, never replacing a file.
WrittenFile saveNewWorkbook(const Sheet& sheet, const QString& folder, const QString& baseName);

} // namespace tarvela::reports
