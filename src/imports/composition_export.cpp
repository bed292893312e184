#include "imports/composition_export.h"

#include "db/statements.h"
#include "files/csv_text.h"
#include "reports/workbook.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>

namespace tarvela::imports {

namespace {

files::Cell textCell(const QString& text) {
    return text.isEmpty() ? files::Cell{} : files::Cell{files::Cell::Kind::Text, text, 0};
}

files::Cell numberCell(const QVariant& value) {
    return value.isNull() ? files::Cell{}
                          : files::Cell{files::Cell::Kind::Number, {}, value.toDouble()};
}

QString writeCsv(const std::vector<std::vector<files::Cell>>& rows, const QString& path,
                 QChar decimalSeparator) {
    QSaveFile file(path);
    const QByteArray bytes = files::csvBytes(rows, decimalSeparator);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

QString writeWorkbook(const std::vector<std::vector<files::Cell>>& rows, const QString& path) {
    reports::Sheet sheet;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const files::Cell& cell = rows[r][c];
            const int row = static_cast<int>(r) + 1;
            const int column = static_cast<int>(c) + 1;
            if (cell.kind == files::Cell::Kind::Number)
                sheet.setNumber(row, column, cell.number);
            else if (!cell.isEmpty())
                sheet.setText(row, column, cell.text);
        }
    if (!rows.empty())
        sheet.setBold(1, 1, 1, static_cast<int>(rows.front().size()));
    sheet.setColumnWidth(2, 30);

    // The workbook takes its name only when complete.
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absoluteDir().filePath(QStringLiteral(".tarvela-XXXXXX.xlsx")));
    if (!temporary.open())
        return temporary.errorString();
    temporary.close();
    // A temporary file is its owner's only; the workbook is readable as a new file is.
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const reports::WriteFailure failure = reports::saveWorkbook(sheet, temporary.fileName());
    if (!failure.description.isEmpty())
        return failure.description;
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        return QStringLiteral("No se pudo dar el nombre %1 al libro").arg(path);
    temporary.setAutoRemove(false);
    return {};
}

} // namespace

std::vector<std::vector<files::Cell>> compositionTable(db::Connection& conn, int base) {
    const db::Result nutrients = conn.query(
        QStringLiteral("select id_propiedad,nombre,unidad from propiedades order by nombre,"
                       "id_propiedad"));
    const db::Result ingredients = conn.query(
        QStringLiteral("select id_producto,codigo,nombre,unidad,costo,materia_seca from productos "
                       "where idBase=") +
        db::sqlInt(base) + QStringLiteral(" order by codigo,id_producto"));
    const db::Result contents = conn.query(
        QStringLiteral("select pp.id_producto,pp.id_propiedad,pp.valor from producto_propiedad "
                       "pp,productos p where pp.id_producto=p.id_producto and p.idBase=") +
        db::sqlInt(base));

    std::vector<files::Cell> headings = {
        textCell(QStringLiteral("Código")), textCell(QStringLiteral("Nombre")),
        textCell(QStringLiteral("Unidad")), textCell(QStringLiteral("Costo")),
        textCell(QStringLiteral("Materia Seca"))};
    constexpr int kFixed = 5;
    QHash<int, int> columnOf; // nutrient → column
    for (int n = 0; n < nutrients.rowCount(); ++n) {
        const QString name = nutrients.value(n, 1).toString().trimmed();
        const QString unit = nutrients.value(n, 2).toString().trimmed();
        headings.push_back(textCell(
            unit.isEmpty() ? name : name + QStringLiteral(" (") + unit + QLatin1Char(')')));
        columnOf.insert(nutrients.value(n, 0).toInt(), kFixed + n);
    }
    QHash<int, size_t> rowOf; // ingredient → row
    std::vector<std::vector<files::Cell>> rows{headings};
    rows.reserve(static_cast<size_t>(ingredients.rowCount()) + 1);
    for (int i = 0; i < ingredients.rowCount(); ++i) {
        const QVariantList& in = ingredients.row(i);
        std::vector<files::Cell> row = {textCell(in[1].toString().trimmed()),
                                        textCell(in[2].toString()), textCell(in[3].toString()),
                                        numberCell(in[4]), numberCell(in[5])};
        row.resize(headings.size());
        rowOf.insert(in[0].toInt(), rows.size());
        rows.push_back(std::move(row));
    }
    for (int r = 0; r < contents.rowCount(); ++r) {
        const QVariantList& in = contents.row(r);
        const auto row = rowOf.constFind(in[0].toInt());
        const auto column = columnOf.constFind(in[1].toInt());
        if (row != rowOf.constEnd() && column != columnOf.constEnd())
            rows[*row][static_cast<size_t>(*column)] = numberCell(in[2]);
    }
    return rows;
}

QString exportComposition(db::Connection& conn, int base, const QString& path,
                          QChar decimalSeparator) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("csv") && suffix != QLatin1String("xlsx"))
        return QStringLiteral("El nombre del archivo debe terminar en .xlsx o .csv.");
    const std::vector<std::vector<files::Cell>> rows = compositionTable(conn, base);
    return suffix == QLatin1String("csv") ? writeCsv(rows, path, decimalSeparator)
                                          : writeWorkbook(rows, path);
}

} // namespace tarvela::imports
