#pragma once

#include "db/db_error.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace tarvela::db {

// The rows of a select statement, held in memory. Column names match without regard to case.
// A null value is a null QVariant; texts are QString, integers qlonglong, reals double.
class Result {
public:
    Result() = default;
    Result(QStringList columns, std::vector<QVariantList> rows);

    const QStringList& columns() const { return columns_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }

    // -1 when the result has no such column.
    int columnIndex(const QString& name) const;
    // The index of a column the statement must return: a result without it (a table replaced by
    // something else, a column renamed) throws DbError naming the column.
    int column(const QString& name) const;
    const QVariantList& row(int r) const { return rows_.at(static_cast<size_t>(r)); }
    // Throws DbError for a column index the result does not have.
    const QVariant& value(int r, int column) const;
    // Throws DbError for an unknown column name.
    const QVariant& value(int r, const QString& column) const;

    // First row at or after fromRow whose column equals value (numbers compare numerically,
    // texts exactly); -1 when none. Throws DbError for an unknown column name.
    int find(const QString& column, const QVariant& value, int fromRow = 0) const;
    // Stable sort on keys written as in an ORDER BY clause: "valor2", "id_producto ASC",
    // "porcentaje_seca DESC,nombre". Nulls sort first in ascending order. Throws DbError for an
    // unknown column name.
    void sort(const QString& keys);

private:
    QStringList columns_;
    std::vector<QVariantList> rows_;
};

} // namespace tarvela::db
