#include "imports/column_names.h"

#include "db/sql_functions.h"

namespace tarvela::imports {

QString headingKey(const QString& heading) {
    return db::baseLetters(heading).simplified();
}

HeadingParts splitUnit(const QString& heading) {
    const QString text = heading.trimmed();
    if (text.endsWith(QLatin1Char(')'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open > 0) {
            const QString name = text.left(open).trimmed();
            if (!name.isEmpty())
                return {name, text.mid(open + 1, text.size() - open - 2).trimmed()};
        }
    }
    return {text, QString()};
}

bool headingNames(const QString& heading, const QString& name) {
    const QString key = headingKey(name);
    return headingKey(heading) == key || headingKey(splitUnit(heading).name) == key;
}

} // namespace tarvela::imports
