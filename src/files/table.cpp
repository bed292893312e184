#include "files/table.h"

#include <QLocale>

namespace tarvela::files {

QString Cell::display() const {
    switch (kind) {
    case Kind::Empty:
        return {};
    case Kind::Number:
        return QLocale::c().toString(number, 'g', 15);
    case Kind::Boolean:
        return number != 0 ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
    case Kind::Text:
    case Kind::Error:
        break;
    }
    return text;
}

const Cell& Row::cell(int column) const {
    static const Cell empty;
    if (column < 0 || static_cast<size_t>(column) >= cells.size())
        return empty;
    return cells[static_cast<size_t>(column)];
}

bool Row::isBlank() const {
    for (const Cell& c : cells)
        if (!c.isEmpty() && !(c.kind == Cell::Kind::Text && c.text.trimmed().isEmpty()))
            return false;
    return true;
}

QString columnLetters(int column) {
    QString out;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        out.prepend(QChar(u'A' + (n - 1) % 26));
    return out;
}

} // namespace tarvela::files
