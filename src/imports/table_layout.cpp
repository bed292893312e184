#include "imports/table_layout.h"

#include "imports/column_names.h"

namespace tarvela::imports {

int TableLayout::column(const QStringList& names, QString& error) const {
    int found = -1;
    for (int c = 0; c < headings.size(); ++c) {
        bool named = false;
        for (const QString& name : names)
            named = named || headingNames(headings[c], name);
        if (!named)
            continue;
        if (found >= 0) {
            error =
                QStringLiteral("Las columnas %1 (%2) y %3 (%4) indican lo mismo; deje una sola.")
                    .arg(files::columnLetters(found), headings[found], files::columnLetters(c),
                         headings[c]);
            return -1;
        }
        found = c;
    }
    return found;
}

QString TableLayout::place(const files::Row& row, int column) const {
    QString text =
        QStringLiteral("fila %1, columna %2").arg(row.number).arg(files::columnLetters(column));
    if (column < headings.size() && !headings[column].isEmpty())
        text += QStringLiteral(" (") + headings[column] + QLatin1Char(')');
    return text;
}

std::vector<NumberCell> TableLayout::numbers(int column) const {
    std::vector<const files::Cell*> cells;
    cells.reserve(rows.size());
    for (const files::Row* row : rows)
        cells.push_back(column < 0 ? nullptr : &row->cell(column));
    return readNumberColumn(cells);
}

TableLayout layoutOf(const files::Table& table) {
    TableLayout layout;
    bool headed = false;
    for (const files::Row& row : table.rows) {
        if (row.isBlank())
            continue;
        if (headed) {
            layout.rows.push_back(&row);
            continue;
        }
        headed = true;
        for (const files::Cell& cell : row.cells)
            layout.headings << cellText(cell);
    }
    return layout;
}

QString cellText(const files::Cell& cell) {
    return cell.display().trimmed();
}

QString refusal(const QString& place, const QString& reason) {
    QString text = place + QStringLiteral(": ") + reason;
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace tarvela::imports
