#include "imports/composition_import.h"

#include "catalogs/nutrient_catalog.h"
#include "db/change_log.h"
#include "db/statements.h"
#include "imports/base_ingredients.h"
#include "imports/column_names.h"
#include "imports/table_layout.h"

#include <QHash>
#include <QStringList>

#include <charconv>

namespace tarvela::imports {

namespace {

struct CatalogNutrient {
    int id = 0;
    QString nombre;
    QString unidad;
};

// A number as the ingredient's boxes hold it: plain digits, exact ("" for none).
QString plainNumber(const std::optional<double>& value) {
    if (!value)
        return {};
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::fixed);
    return ec == std::errc() ? QString::fromLatin1(buffer, end - buffer) : QString();
}

QVariant variantOf(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

qint64 pairKey(int idProducto, int idPropiedad) {
    return (qint64(idProducto) << 32) | quint32(idPropiedad);
}

// The nutrient a heading names, or the one to create, or why the column is refused.
struct Resolution {
    int id = 0;
    QString nombre;
    QString unidad;
    QString refusal;
};

Resolution resolveNutrient(const QString& heading, const std::vector<CatalogNutrient>& nutrients,
                           const QHash<QString, QList<int>>& byName) {
    const QList<int> whole = byName.value(headingKey(heading));
    if (whole.size() == 1)
        return {nutrients[static_cast<size_t>(whole[0])].id,
                nutrients[static_cast<size_t>(whole[0])].nombre,
                {},
                {}};
    if (whole.size() > 1)
        return {0, {}, {}, QStringLiteral("hay más de un nutriente con ese nombre")};
    const HeadingParts parts = splitUnit(heading);
    if (parts.unit.isEmpty())
        return {0, heading.trimmed(), QStringLiteral("%"), {}};
    const QList<int> named = byName.value(headingKey(parts.name));
    QList<int> sameUnit;
    for (const int n : named)
        if (nutrients[static_cast<size_t>(n)].unidad.trimmed().compare(parts.unit,
                                                                       Qt::CaseInsensitive) == 0)
            sameUnit << n;
    if (sameUnit.size() == 1)
        return {nutrients[static_cast<size_t>(sameUnit[0])].id,
                nutrients[static_cast<size_t>(sameUnit[0])].nombre,
                {},
                {}};
    if (sameUnit.size() > 1)
        return {0, {}, {}, QStringLiteral("hay más de un nutriente con ese nombre y esa unidad")};
    if (!named.isEmpty())
        return {0,
                {},
                {},
                QStringLiteral("la unidad %1 no es la del nutriente %2 (%3)")
                    .arg(parts.unit, nutrients[static_cast<size_t>(named[0])].nombre.trimmed(),
                         nutrients[static_cast<size_t>(named[0])].unidad.trimmed())};
    return {0, parts.name, parts.unit, {}};
}

QString columnPlace(const TableLayout& layout, int column) {
    QString text = QStringLiteral("columna ") + files::columnLetters(column);
    if (column < layout.headings.size() && !layout.headings[column].isEmpty())
        text += QStringLiteral(" (") + layout.headings[column] + QLatin1Char(')');
    return text;
}

// Reads the nutrient columns: every column that is not one of the ingredient's fields.
void readNutrientColumns(db::Connection& conn, const TableLayout& layout,
                         const CompositionColumns& fixed, CompositionPreview& preview) {
    const db::Result rows =
        conn.query(QStringLiteral("select id_propiedad,nombre,unidad from propiedades order by "
                                  "id_propiedad"));
    std::vector<CatalogNutrient> nutrients;
    QHash<QString, QList<int>> byName;
    for (int r = 0; r < rows.rowCount(); ++r) {
        nutrients.push_back(
            {rows.value(r, 0).toInt(), rows.value(r, 1).toString(), rows.value(r, 2).toString()});
        byName[headingKey(nutrients.back().nombre)] << r;
    }
    QHash<int, int> columnOfNutrient;   // id → column
    QHash<QString, int> columnOfNewOne; // name key → column
    for (int c = 0; c < layout.headings.size(); ++c) {
        if (fixed.holds(c))
            continue;
        const QString& heading = layout.headings[c];
        if (heading.isEmpty()) {
            const bool hasData =
                std::any_of(layout.rows.begin(), layout.rows.end(),
                            [c](const files::Row* r) { return !r->cell(c).isEmpty(); });
            if (hasData)
                preview.refused.push_back(
                    {0, refusal(columnPlace(layout, c),
                                QStringLiteral("la columna tiene valores y no tiene encabezado"))});
            continue;
        }
        Resolution found = resolveNutrient(heading, nutrients, byName);
        if (found.refusal.isEmpty()) {
            const int earlier = found.id ? columnOfNutrient.value(found.id, -1)
                                         : columnOfNewOne.value(headingKey(found.nombre), -1);
            if (earlier >= 0)
                found.refusal = QStringLiteral("repite el nutriente de la columna %1")
                                    .arg(files::columnLetters(earlier));
        }
        if (!found.refusal.isEmpty()) {
            preview.refused.push_back({0, refusal(columnPlace(layout, c), found.refusal)});
            continue;
        }
        if (found.id) {
            columnOfNutrient.insert(found.id, c);
        } else {
            columnOfNewOne.insert(headingKey(found.nombre), c);
            preview.newNutrients.push_back({c, found.nombre, found.unidad});
        }
        preview.nutrients.push_back({c, found.id, found.nombre.trimmed()});
    }
}

// The contents stored for the base's ingredients.
QHash<qint64, double> storedContents(db::Connection& conn, int base) {
    const db::Result rows = conn.query(
        QStringLiteral("select pp.id_producto,pp.id_propiedad,pp.valor from producto_propiedad "
                       "pp,productos p where pp.id_producto=p.id_producto and p.idBase=") +
        db::sqlInt(base));
    QHash<qint64, double> out;
    out.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QVariantList& row = rows.row(r);
        if (!row[2].isNull())
            out.insert(pairKey(row[0].toInt(), row[1].toInt()), row[2].toDouble());
    }
    return out;
}

class CompositionReader {
public:
    CompositionReader(db::Connection& conn, int base, const CompositionFile& file,
                      CompositionPreview& preview)
        : file_(file), layout_(file.layout), fixed_(file.columns), preview_(preview),
          catalog_(loadBaseIngredients(conn, base)), stored_(storedContents(conn, base)) {}

    void readRows() {
        QHash<QString, QList<int>> rowsOfCode;
        for (const files::Row* row : layout_.rows) {
            const QString code = cellText(row->cell(fixed_.code));
            if (!code.isEmpty())
                rowsOfCode[catalogs::codeKey(code)] << row->number;
        }
        for (size_t i = 0; i < layout_.rows.size(); ++i) {
            const files::Row& row = *layout_.rows[i];
            const QString code = cellText(row.cell(fixed_.code));
            const QString codePlace = layout_.place(row, fixed_.code);
            if (code.isEmpty()) {
                refuse(row, codePlace, QStringLiteral("falta el código"));
                continue;
            }
            const QList<int>& same = rowsOfCode[catalogs::codeKey(code)];
            if (same.size() > 1) {
                QStringList others;
                for (const int fila : same)
                    if (fila != row.number)
                        others << QString::number(fila);
                refuse(row, codePlace,
                       QStringLiteral("el código '%1' también está en la fila %2")
                           .arg(code, others.join(QStringLiteral(", "))));
                continue;
            }
            bool ambiguous = false;
            const BaseIngredient* ingredient = catalog_.find(code, &ambiguous);
            if (ambiguous)
                refuse(row, codePlace,
                       QStringLiteral("hay más de un ingrediente con el código '%1' en la base")
                           .arg(code));
            else if (ingredient)
                readExisting(row, i, *ingredient);
            else
                readNew(row, i, code);
        }
    }

private:
    void refuse(const files::Row& row, const QString& place, const QString& reason) {
        preview_.refused.push_back({row.number, refusal(place, reason)});
    }

    QString textIn(const files::Row& row, int column) const {
        return column < 0 ? QString() : cellText(row.cell(column));
    }

    // A price or dry matter of the row: nothing (with a refusal recorded) when the cell is not
    // a valid one; an empty optional inside when the cell is empty.
    std::optional<std::optional<double>> checkedNumber(const files::Row& row, size_t i,
                                                       bool price) {
        const int column = price ? fixed_.price : fixed_.dryMatter;
        if (column < 0)
            return std::optional<double>();
        const NumberCell& cell = file_.numbers[static_cast<size_t>(column)][i];
        if (cell.empty())
            return std::optional<double>();
        QString reason = cell.reason;
        if (cell.number() && price && cell.value < 0)
            reason = QStringLiteral("el costo no puede ser negativo");
        else if (cell.number() && !price && (cell.value < 0 || cell.value > 100))
            reason = QStringLiteral("la materia seca debe estar entre 0 y 100");
        if (!reason.isEmpty()) {
            refuse(row, layout_.place(row, column), reason);
            return std::nullopt;
        }
        return std::optional<double>(cell.value);
    }

    void readExisting(const files::Row& row, size_t i, const BaseIngredient& ingredient) {
        PlannedRow planned;
        planned.idProducto = ingredient.id;
        planned.boxes = {ingredient.codigo, ingredient.nombre, ingredient.unidad,
                         plainNumber(ingredient.costo), plainNumber(ingredient.materiaSeca)};
        const QString code = ingredient.codigo.trimmed();
        const QString name = ingredient.nombre.trimmed();
        const auto list = [&](const QString& field, const QVariant& before, const QVariant& after,
                              bool differs) {
            (differs ? preview_.changed : preview_.unchanged)
                .push_back({row.number, code, name, field, before, after});
        };
        const auto text = [&](int column, const QString& stored, const QString& field,
                              QString& box) {
            const QString given = textIn(row, column);
            if (given.isEmpty())
                return;
            const bool differs = given != stored.trimmed();
            list(field, stored.trimmed(), given, differs);
            if (differs) {
                box = given;
                planned.fieldsChange = true;
            }
        };
        text(fixed_.name, ingredient.nombre, kFieldNombre, planned.boxes.nombre);
        text(fixed_.unit, ingredient.unidad, kFieldUnidad, planned.boxes.unidad);

        const std::optional<std::optional<double>> price = checkedNumber(row, i, true);
        const std::optional<std::optional<double>> dryMatter = checkedNumber(row, i, false);
        std::optional<double> newPrice = ingredient.costo;
        std::optional<double> newDryMatter = ingredient.materiaSeca;
        if (price && *price && !sameValue(*price, ingredient.costo))
            newPrice = *price;
        if (price && *price)
            list(kFieldCosto, variantOf(ingredient.costo), **price, newPrice != ingredient.costo);
        if (dryMatter && *dryMatter && !sameValue(*dryMatter, ingredient.materiaSeca))
            newDryMatter = *dryMatter;
        if (dryMatter && *dryMatter)
            list(kFieldMateriaSeca, variantOf(ingredient.materiaSeca), **dryMatter,
                 newDryMatter != ingredient.materiaSeca);
        if (newPrice != ingredient.costo || newDryMatter != ingredient.materiaSeca) {
            planned.fieldsChange = true;
            planned.boxes.costo = plainNumber(newPrice);
            planned.boxes.materiaSeca = plainNumber(newDryMatter);
            planned.priceChange = catalogs::PriceChange{ingredient.id, ingredient.costo, newPrice,
                                                        ingredient.materiaSeca, newDryMatter};
        }

        for (size_t k = 0; k < preview_.nutrients.size(); ++k) {
            const NutrientColumn& nutrient = preview_.nutrients[k];
            const NumberCell& cell = numbersOf(k)[i];
            if (cell.empty())
                continue;
            if (cell.refused()) {
                refuse(row, layout_.place(row, nutrient.column), cell.reason);
                continue;
            }
            std::optional<double> before;
            if (nutrient.idPropiedad) {
                const auto it = stored_.constFind(pairKey(ingredient.id, nutrient.idPropiedad));
                if (it != stored_.constEnd())
                    before = *it;
            }
            const bool differs = !nutrient.idPropiedad || !sameValue(before, cell.value);
            list(nutrient.nombre, variantOf(before), cell.value, differs);
            if (differs) {
                planned.values.emplace_back(static_cast<int>(k), cell.value);
                planned.compositionChanges << nutrient.nombre + QStringLiteral(": ") +
                                                  db::recordedValue(variantOf(before)) +
                                                  QStringLiteral(" → ") +
                                                  db::recordedValue(cell.value);
            }
        }
        if (planned.fieldsChange || !planned.values.empty())
            preview_.plan.push_back(std::move(planned));
    }

    void readNew(const files::Row& row, size_t i, const QString& code) {
        const std::optional<std::optional<double>> price = checkedNumber(row, i, true);
        const std::optional<std::optional<double>> dryMatter = checkedNumber(row, i, false);
        if (!price || !dryMatter)
            return; // refused: a new ingredient needs both
        const catalogs::IngredientBoxes boxes{code, textIn(row, fixed_.name),
                                              textIn(row, fixed_.unit), plainNumber(*price),
                                              plainNumber(*dryMatter)};
        const auto check = catalogs::checkIngredient(boxes);
        if (!check.passed()) {
            refuse(row, QStringLiteral("fila %1 (ingrediente nuevo %2)").arg(row.number).arg(code),
                   check.message);
            return;
        }
        PlannedRow planned;
        planned.boxes = boxes;
        for (size_t k = 0; k < preview_.nutrients.size(); ++k) {
            const NumberCell& cell = numbersOf(k)[i];
            if (cell.refused())
                refuse(row, layout_.place(row, preview_.nutrients[k].column), cell.reason);
            else if (cell.number())
                planned.values.emplace_back(static_cast<int>(k), cell.value);
        }
        preview_.newIngredients.push_back(
            {row.number, boxes, static_cast<int>(planned.values.size())});
        preview_.plan.push_back(std::move(planned));
    }

    // The cells of the k-th nutrient column.
    const std::vector<NumberCell>& numbersOf(size_t k) const {
        return file_.numbers[static_cast<size_t>(preview_.nutrients[k].column)];
    }

    const CompositionFile& file_;
    const TableLayout& layout_;
    const CompositionColumns& fixed_;
    CompositionPreview& preview_;
    BaseIngredients catalog_;
    QHash<qint64, double> stored_;
};

} // namespace

CompositionFile readCompositionFile(files::Table table) {
    CompositionFile file;
    file.table = std::make_shared<const files::Table>(std::move(table));
    file.layout = layoutOf(*file.table);
    QString error;
    const auto find = [&](std::initializer_list<const char*> names) {
        QStringList list;
        for (const char* n : names)
            list << QString::fromUtf8(n);
        return error.isEmpty() ? file.layout.column(list, error) : -1;
    };
    CompositionColumns& columns = file.columns;
    columns.code = find({"código"});
    columns.name = find({"nombre"});
    columns.unit = find({"unidad"});
    columns.price = find({"costo", "precio"});
    columns.dryMatter = find({"materia seca"});
    if (error.isEmpty() && columns.code < 0)
        error = QStringLiteral("El archivo no tiene la columna Código. La primera fila con datos "
                               "debe nombrar las columnas: Código, Nombre, Unidad, Costo, Materia "
                               "Seca y una columna por nutriente.");
    file.error = error;
    if (!error.isEmpty())
        return file;
    file.numbers.resize(static_cast<size_t>(file.layout.headings.size()));
    for (int c = 0; c < file.layout.headings.size(); ++c)
        if (c == columns.price || c == columns.dryMatter || !columns.holds(c))
            file.numbers[static_cast<size_t>(c)] = file.layout.numbers(c);
    return file;
}

CompositionPreview previewComposition(db::Connection& conn, int base, const CompositionFile& file) {
    CompositionPreview preview;
    if (!file.error.isEmpty())
        return preview;
    readNutrientColumns(conn, file.layout, file.columns, preview);
    CompositionReader reader(conn, base, file, preview);
    reader.readRows();
    return preview;
}

CompositionApplication applyComposition(db::Connection& conn, int base, const CompositionFile& file,
                                        const CompositionPreview& seen, const QString& origen,
                                        const QDateTime& when) {
    db::Transaction transaction(conn);
    const CompositionPreview now = previewComposition(conn, base, file);
    CompositionApplication done;
    if (!file.error.isEmpty() || !(now == seen)) {
        done.stale = true;
        return done;
    }
    std::vector<int> nutrientIds;
    for (const NutrientColumn& column : now.nutrients) {
        int id = column.idPropiedad;
        if (id == 0) {
            for (const NewNutrient& created : now.newNutrients)
                if (created.column == column.column)
                    id = catalogs::createNutrient(conn, {created.nombre, created.unidad});
            ++done.newNutrients;
        }
        nutrientIds.push_back(id);
    }

    // Every nutrient, for the complete composition of a new ingredient.
    const db::Result allNutrients =
        conn.query(QStringLiteral("select id_propiedad from propiedades order by id_propiedad"));

    std::vector<catalogs::PriceChange> history;
    QStringList values;
    const auto flush = [&] {
        if (values.isEmpty())
            return;
        conn.execute(QStringLiteral("insert or replace into producto_propiedad (id_producto,"
                                    "id_propiedad,valor) values ") +
                     values.join(QLatin1Char(',')));
        values.clear();
    };
    const auto add = [&](int idProducto, int idPropiedad, double value) {
        values << QLatin1Char('(') + db::sqlInt(idProducto) + QLatin1Char(',') +
                      db::sqlInt(idPropiedad) + QLatin1Char(',') + db::sqlReal(value) +
                      QLatin1Char(')');
        if (values.size() == 400)
            flush();
    };
    for (const PlannedRow& planned : now.plan) {
        int id = planned.idProducto;
        if (id == 0) {
            // The code is free: the preview, made again inside this transaction, says so. The
            // new ingredient gets its key and its productos row as the ingredient window makes
            // them, and a composition row for every nutrient: the file's value, or 0.
            id = catalogs::insertIngredientRow(conn, base, planned.boxes);
            db::recordCreated(conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id);
            ++done.newIngredients;
            QHash<int, double> given;
            for (const auto& [k, value] : planned.values)
                given.insert(nutrientIds[static_cast<size_t>(k)], value);
            for (int n = 0; n < allNutrients.rowCount(); ++n) {
                const int nutrient = allNutrients.value(n, 0).toInt();
                add(id, nutrient, given.value(nutrient, 0.0));
            }
            continue;
        }
        // Compared again inside this transaction: the stamp read now is the one to keep to.
        if (planned.fieldsChange)
            catalogs::updateIngredient(conn, id, planned.boxes,
                                       catalogs::ingredientStamp(conn, id));
        if (planned.priceChange)
            history.push_back(*planned.priceChange);
        for (const auto& [k, value] : planned.values)
            add(id, nutrientIds[static_cast<size_t>(k)], value);
        // One row of the ingredient's record for all of its composition that the file changes.
        if (!planned.compositionChanges.isEmpty())
            db::recordChange(conn, QStringLiteral("productos"), QString::number(id),
                             db::kActionChanged,
                             QStringLiteral("composición desde ") + origen + QStringLiteral(": ") +
                                 planned.compositionChanges.join(QStringLiteral("; ")));
    }
    flush();
    catalogs::recordPriceChanges(conn, history, when, origen);
    transaction.commit();
    done.changedValues = static_cast<int>(now.changed.size());
    return done;
}

} // namespace tarvela::imports
