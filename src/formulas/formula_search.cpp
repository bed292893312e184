#include "formulas/formula_search.h"

#include "db/change_log.h"
#include "db/statements.h"
#include "text/format.h"

#include <QRegularExpression>

namespace tarvela::formulas {

namespace {

const QString kInvalidDate = QStringLiteral("La fecha no es Válida");
const QString kInvalidValue = QStringLiteral("Debe ingresar un valor numérico Válido");

bool dayFirst(const QLocale& workstation) {
    const QString pattern = workstation.dateFormat(QLocale::ShortFormat);
    const qsizetype day = pattern.indexOf(QLatin1Char('d'));
    const qsizetype month = pattern.indexOf(QLatin1Char('M'));
    return day < 0 || month < 0 || day < month;
}

std::optional<int> number(const QString& part) {
    bool ok = false;
    const int value = part.toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QDate> parseUserDate(const QString& text, const QLocale& workstation) {
    static const QRegularExpression separators(QStringLiteral("[/.\\-]"));
    const QStringList parts = text.trimmed().split(separators);
    if (parts.size() != 3)
        return std::nullopt;
    std::optional<int> values[3];
    for (int i = 0; i < 3; ++i) {
        if (parts[i].isEmpty() || parts[i].size() > 4)
            return std::nullopt;
        values[i] = number(parts[i]);
        if (!values[i])
            return std::nullopt;
    }
    int year = 0, month = 0, day = 0;
    if (parts[0].size() == 4) {
        year = *values[0];
        month = *values[1];
        day = *values[2];
    } else {
        if (parts[2].size() == 3)
            return std::nullopt;
        year = *values[2];
        if (parts[2].size() <= 2)
            year += year < 30 ? 2000 : 1900;
        const bool first = dayFirst(workstation);
        day = first ? *values[0] : *values[1];
        month = first ? *values[1] : *values[0];
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool isValidDateBox(const QString& text, const QLocale& workstation) {
    return text.trimmed().isEmpty() || parseUserDate(text, workstation).has_value();
}

SearchStatement buildSearchStatement(const SearchFilter& filter, const QLocale& workstation) {
    const struct {
        const QString& text;
        FilterBox box;
    } dates[] = {{filter.createdFrom, FilterBox::CreatedFrom},
                 {filter.createdTo, FilterBox::CreatedTo},
                 {filter.modifiedFrom, FilterBox::ModifiedFrom},
                 {filter.modifiedTo, FilterBox::ModifiedTo}};
    for (const auto& date : dates) {
        if (!isValidDateBox(date.text, workstation))
            return {QString(), date.box, kInvalidDate};
    }
    auto dateOf = [&](const QString& text) {
        return db::sqlDate(*parseUserDate(text, workstation));
    };
    auto filled = [](const QString& text) { return !text.trimmed().isEmpty(); };

    const bool nutrient = filter.nutrientId != 0;
    const bool ingredient = filter.ingredientId != 0;

    QString sql = QStringLiteral(
        "SELECT f.id_formula,f.codigo,f.producto,f.cantidad,f.version,Format(f.fecha_creacion,'dd/"
        "mm/yyyy') as fecha_Creacion,Format(f.fecha_modificacion,'dd/mm/yyyy') as "
        "fecha_Modificacion, c.nombre FROM ");
    if (nutrient)
        sql += QStringLiteral(" ( ");
    if (ingredient)
        sql += QStringLiteral(" ( ");
    sql += QStringLiteral(" (Formulas f LEFT JOIN clientes c ON f.idcliente=c.idcliente) ");
    if (nutrient)
        sql += QStringLiteral(" INNER JOIN formula_propiedad fn ON f.id_formula=fn.id_formula) ");
    if (ingredient)
        sql += QStringLiteral(" INNER JOIN formula_producto fi ON f.id_formula=fi.id_formula) ");
    sql += QStringLiteral(" WHERE idBase = ") + db::sqlInt(filter.base);
    if (filled(filter.codeFrom))
        sql += QStringLiteral(" AND f.codigo>=") + db::sqlCode(filter.codeFrom);
    if (filled(filter.codeTo))
        sql += QStringLiteral(" AND f.codigo<=") + db::sqlCode(filter.codeTo);
    if (filled(filter.product)) {
        sql += QStringLiteral(" AND f.producto LIKE ") +
               db::sqlText(QLatin1Char('%') + filter.product.trimmed() + QLatin1Char('%'));
    }
    if (filled(filter.createdFrom))
        sql += QStringLiteral(" and f.fecha_creacion>=") + dateOf(filter.createdFrom);
    if (filled(filter.createdTo)) {
        sql += QStringLiteral(" and (f.fecha_creacion<=") + dateOf(filter.createdTo) +
               QStringLiteral(" or (f.fecha_creacion IS NULL))");
    }
    if (filled(filter.modifiedFrom))
        sql += QStringLiteral(" and f.fecha_modificacion>=") + dateOf(filter.modifiedFrom);
    if (filled(filter.modifiedTo)) {
        sql += QStringLiteral(" and (f.fecha_modificacion<=") + dateOf(filter.modifiedTo) +
               QStringLiteral(" or (f.fecha_modificacion IS NULL))");
    }
    if (nutrient) {
        sql += QStringLiteral(" and fn.id_propiedad=") + db::sqlInt(filter.nutrientId);
        const struct {
            const QString& text;
            FilterBox box;
            const char* op;
        } values[] = {{filter.valueFrom, FilterBox::ValueFrom, " and fn.valor>="},
                      {filter.valueTo, FilterBox::ValueTo, " and fn.valor<="}};
        for (const auto& value : values) {
            if (!filled(value.text))
                continue;
            const std::optional<double> bound = text::parseUserNumber(value.text);
            if (!bound)
                return {QString(), value.box, kInvalidValue};
            sql += QLatin1String(value.op) + db::sqlReal(*bound);
        }
    }
    if (ingredient)
        sql += QStringLiteral(" and fi.id_producto=") + db::sqlInt(filter.ingredientId);
    if (filter.customerId)
        sql += QStringLiteral(" AND f.idCliente = ") + db::sqlInt(*filter.customerId);
    sql += QStringLiteral(" ORDER BY f.fecha_modificacion DESC");
    return {sql, FilterBox::None, QString()};
}

void deleteFormulaVersion(db::Connection& conn, int formulaId) {
    const QString id = db::sqlInt(formulaId);
    db::Transaction transaction(conn);
    db::recordDeleted(conn, QStringLiteral("formulas"), QStringLiteral("id_formula"), formulaId);
    conn.execute(QStringLiteral("delete from formula_propiedad where id_formula=") + id);
    conn.execute(QStringLiteral("delete from formula_relacion where id_formula=") + id);
    conn.execute(QStringLiteral("delete from formula_grupo where id_formula=") + id);
    conn.execute(QStringLiteral("delete from formula_producto where id_formula=") + id);
    conn.execute(QStringLiteral("delete from formulas where id_formula=") + id);
    transaction.commit();
}

void saveCustomerFilter(db::Connection& conn, std::optional<int> customerId) {
    conn.execute(QStringLiteral("update parametros set idcliente=") +
                 db::sqlInt(customerId ? *customerId : 0));
}

} // namespace tarvela::formulas
