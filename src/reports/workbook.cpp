#include "reports/workbook.h"

#include <xlsxwriter.h>

#include <tuple>

namespace tarvela::reports {

bool CellStyle::operator<(const CellStyle& other) const {
    const auto key = [](const CellStyle& s) {
        return std::make_tuple(s.bold, s.fontSize, s.fill.isValid() ? s.fill.rgb() : 0u,
                               s.fill.isValid(), s.numberFormat, s.top, s.bottom, s.left, s.right,
                               s.indent);
    };
    return key(*this) < key(other);
}

void Sheet::setText(int row, int column, const QString& text) {
    SheetCell& c = cell(row, column);
    c.kind = SheetCell::Kind::Text;
    c.text = text;
}

void Sheet::setNumber(int row, int column, double value, const QString& numberFormat) {
    SheetCell& c = cell(row, column);
    c.kind = SheetCell::Kind::Number;
    c.number = value;
    c.style.numberFormat = numberFormat;
}

void Sheet::setFormula(int row, int column, const QString& formula, double value,
                       const QString& numberFormat) {
    SheetCell& c = cell(row, column);
    c.kind = SheetCell::Kind::Formula;
    c.text = formula;
    c.number = value;
    c.style.numberFormat = numberFormat;
}

SheetCell& Sheet::cell(int row, int column) {
    return cells_[{row, column}];
}

const SheetCell* Sheet::find(int row, int column) const {
    const auto it = cells_.find({row, column});
    return it == cells_.end() ? nullptr : &it->second;
}

void Sheet::setBold(int r1, int c1, int r2, int c2) {
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            cell(r, c).style.bold = true;
}

void Sheet::setFill(int r1, int c1, int r2, int c2, const QColor& colour) {
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            cell(r, c).style.fill = colour;
}

void Sheet::setFontSize(int r1, int c1, int r2, int c2, double size) {
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            cell(r, c).style.fontSize = size;
}

void Sheet::frame(int r1, int c1, int r2, int c2) {
    for (int c = c1; c <= c2; ++c) {
        cell(r1, c).style.top = true;
        cell(r2, c).style.bottom = true;
    }
    for (int r = r1; r <= r2; ++r) {
        cell(r, c1).style.left = true;
        cell(r, c2).style.right = true;
    }
}

void Sheet::setColumnWidth(int column, double width) {
    widths_[column] = width;
}

void Sheet::setRowHeight(int row, double height) {
    heights_[row] = height;
}

int Sheet::lastRow() const {
    return cells_.empty() ? 0 : cells_.rbegin()->first.first;
}

namespace {

// One workbook format per look, made when first needed.
class Formats {
public:
    explicit Formats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* of(const CellStyle& style) {
        const auto it = formats_.find(style);
        if (it != formats_.end())
            return it->second;
        lxw_format* f = workbook_add_format(workbook_);
        if (style.bold)
            format_set_bold(f);
        if (style.fontSize > 0)
            format_set_font_size(f, style.fontSize);
        if (style.fill.isValid()) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, style.fill.rgb() & 0xFFFFFFu);
        }
        if (!style.numberFormat.isEmpty())
            format_set_num_format(f, style.numberFormat.toUtf8().constData());
        if (style.top)
            format_set_top(f, LXW_BORDER_THIN);
        if (style.bottom)
            format_set_bottom(f, LXW_BORDER_THIN);
        if (style.left)
            format_set_left(f, LXW_BORDER_THIN);
        if (style.right)
            format_set_right(f, LXW_BORDER_THIN);
        if (style.indent > 0)
            format_set_indent(f, static_cast<uint8_t>(style.indent));
        formats_.emplace(style, f);
        return f;
    }

private:
    lxw_workbook* workbook_;
    std::map<CellStyle, lxw_format*> formats_;
};

bool plain(const CellStyle& style) {
    return !(style < CellStyle{}) && !(CellStyle{} < style);
}

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const SheetCell& cell,
                    lxw_format* format) {
    switch (cell.kind) {
    case SheetCell::Kind::Text:
        if (cell.text.isEmpty())
            return worksheet_write_blank(sheet, row, col, format);
        return worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(), format);
    case SheetCell::Kind::Number:
        return worksheet_write_number(sheet, row, col, cell.number, format);
    case SheetCell::Kind::Formula:
        return worksheet_write_formula_num(sheet, row, col, cell.text.toUtf8().constData(), format,
                                           cell.number);
    case SheetCell::Kind::Blank:
        break;
    }
    return worksheet_write_blank(sheet, row, col, format);
}

// A failure of the workbook writer as the reason after the file's name.
QString workbookFailure(lxw_error failed) {
    switch (failed) {
    case LXW_ERROR_CREATING_XLSX_FILE:
        return QStringLiteral("no se pudo crear el libro");
    case LXW_ERROR_CREATING_TMPFILE:
        return QStringLiteral("no se pudo crear un archivo temporal");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return QStringLiteral("no se pudo escribir el libro");
    default:
        return QStringLiteral("no se pudo componer el libro (%1)")
            .arg(QString::fromUtf8(lxw_strerror(failed)));
    }
}

} // namespace

namespace {

lxw_error writeSheet(lxw_workbook* workbook, Formats& formats, const Sheet& sheet,
                     const QString& sheetName) {
    const QByteArray sheetNameUtf8 = sheetName.toUtf8();
    lxw_worksheet* worksheet =
        workbook_add_worksheet(workbook, sheetName.isEmpty() ? nullptr : sheetNameUtf8.constData());
    if (!worksheet)
        return LXW_ERROR_PARAMETER_VALIDATION;
    lxw_error failed = LXW_NO_ERROR;

    for (const auto& [column, width] : sheet.columnWidths()) {
        lxw_row_col_options options{};
        options.hidden = width <= 0 ? 1 : 0;
        const auto col = static_cast<lxw_col_t>(column - 1);
        const lxw_error e = worksheet_set_column_opt(worksheet, col, col, width, nullptr, &options);
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    }
    if (sheet.fitToPageWidth)
        worksheet_fit_to_pages(worksheet, 1, 0);
    for (const auto& [row, height] : sheet.rowHeights()) {
        const lxw_error e =
            worksheet_set_row(worksheet, static_cast<lxw_row_t>(row - 1), height, nullptr);
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    }
    for (const auto& [place, cell] : sheet.cells()) {
        lxw_format* format = plain(cell.style) ? nullptr : formats.of(cell.style);
        const lxw_error e = writeCell(worksheet, static_cast<lxw_row_t>(place.first - 1),
                                      static_cast<lxw_col_t>(place.second - 1), cell, format);
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    }
    return failed;
}

} // namespace

WriteFailure saveWorkbook(const Sheet& sheet, const QString& path) {
    return saveWorkbook(std::vector<NamedSheet>{{QString(), sheet}}, path);
}

WriteFailure saveWorkbook(const std::vector<NamedSheet>& sheets, const QString& path) {
    const QByteArray name = path.toUtf8();
    lxw_workbook* workbook = workbook_new(name.constData());
    if (!workbook)
        return {QStringLiteral("no se pudo crear el libro"), 0};
    Formats formats(workbook);
    lxw_error failed = LXW_NO_ERROR;
    for (const NamedSheet& named : sheets) {
        const lxw_error e = writeSheet(workbook, formats, named.sheet, named.name);
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    }
    // Closing writes the file; it frees the workbook whatever happens.
    const lxw_error closed = workbook_close(workbook);
    if (failed == LXW_NO_ERROR)
        failed = closed;
    if (failed != LXW_NO_ERROR)
        return {workbookFailure(failed), 0};
    return {};
}

WrittenFile saveNewWorkbook(const Sheet& sheet, const QString& folder, const QString& baseName) {
    return writeNewFile(folder, baseName, QStringLiteral("xlsx"),
                        [&sheet](const QString& path) { return saveWorkbook(sheet, path); });
}

WrittenFile saveNewWorkbook(const std::vector<NamedSheet>& sheets, const QString& folder,
                            const QString& baseName) {
    return writeNewFile(folder, baseName, QStringLiteral("xlsx"),
                        [&sheets](const QString& path) { return saveWorkbook(sheets, path); });
}

} // namespace tarvela::reports
