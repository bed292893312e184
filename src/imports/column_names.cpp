#include "imports/column_names.h"

namespace tarvela::imports {

QString headingKey(const QString& heading) {
    const QString decomposed = heading.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded().simplified();
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
