#include "db/result.h"

#include <algorithm>

namespace tarvela::db {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isNull(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

// Nulls first, then numbers in numeric order, then texts without regard to case.
int compareValues(const QVariant& a, const QVariant& b) {
    const bool nullA = isNull(a);
    const bool nullB = isNull(b);
    if (nullA || nullB)
        return nullA == nullB ? 0 : (nullA ? -1 : 1);
    const bool numA = isNumber(a);
    const bool numB = isNumber(b);
    if (numA && numB) {
        if (a.metaType().id() == QMetaType::LongLong && b.metaType().id() == QMetaType::LongLong) {
            const qlonglong x = a.toLongLong();
            const qlonglong y = b.toLongLong();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (numA != numB)
        return numA ? -1 : 1;
    const int c = QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The engine's number for an error in a statement (SQLITE_ERROR).
constexpr int kStatementError = 1;

DbError missingColumn(const QString& name) {
    return DbError(kStatementError, QStringLiteral("columna %1 no encontrada").arg(name));
}

} // namespace

Result::Result(QStringList columns, std::vector<QVariantList> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

int Result::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    // "f.codigo": the engine names the column without its table.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        return columnIndex(name.mid(dot + 1));
    return -1;
}

int Result::column(const QString& name) const {
    const int c = columnIndex(name);
    if (c < 0)
        throw missingColumn(name);
    return c;
}

const QVariant& Result::value(int r, int column) const {
    if (column < 0 || column >= columnCount())
        throw missingColumn(QString::number(column));
    return row(r).at(column);
}

const QVariant& Result::value(int r, const QString& column) const {
    return value(r, this->column(column));
}

int Result::find(const QString& column, const QVariant& value, int fromRow) const {
    const int c = this->column(column);
    for (int r = std::max(fromRow, 0); r < rowCount(); ++r) {
        const QVariant& cell = rows_[static_cast<size_t>(r)].at(c);
        if (isNull(cell) || isNull(value)) {
            if (isNull(cell) && isNull(value))
                return r;
            continue;
        }
        if (isNumber(cell) || isNumber(value)) {
            bool okA = false;
            bool okB = false;
            const double a = cell.toDouble(&okA);
            const double b = value.toDouble(&okB);
            if (okA && okB && a == b)
                return r;
            continue;
        }
        if (cell.toString() == value.toString())
            return r;
    }
    return -1;
}

void Result::sort(const QString& keys) {
    struct Key {
        int column;
        bool descending;
    };
    std::vector<Key> parsed;
    for (const QString& part : keys.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '));
        if (words.isEmpty() || words.front().isEmpty())
            continue;
        const int c = column(words.front());
        const bool descending =
            words.size() > 1 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        parsed.push_back({c, descending});
    }
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&parsed](const QVariantList& a, const QVariantList& b) {
                         for (const Key& k : parsed) {
                             const int c = compareValues(a.at(k.column), b.at(k.column));
                             if (c != 0)
                                 return k.descending ? c > 0 : c < 0;
                         }
                         return false;
                     });
}

} // namespace tarvela::db
