#include "catalogs/ingredient_search.h"

#include "catalogs/catalog_statements.h"
#include "db/statements.h"
#include "text/format.h"

namespace tarvela::catalogs {

namespace {

bool filled(const QString& text) {
    return !text.trimmed().isEmpty();
}

// " <condition><number>" when the box holds a number; empty text when it is blank.
QString boundCondition(const char* condition, const QString& box) {
    if (!filled(box))
        return {};
    return QLatin1String(condition) + db::sqlReal(*text::parseUserNumber(box));
}

} // namespace

IngredientSearch buildIngredientSearch(const IngredientFilter& filter) {
    const QString costMessage = QStringLiteral("El Precio de Costo debe ser numérico");
    const QString valueMessage = QStringLiteral("El rango de Nutrientes debe ser numérico");
    const struct {
        const QString& text;
        IngredientFilterBox box;
        const QString& message;
    } numbers[] = {{filter.costFrom, IngredientFilterBox::CostFrom, costMessage},
                   {filter.costTo, IngredientFilterBox::CostTo, costMessage},
                   {filter.valueFrom, IngredientFilterBox::ValueFrom, valueMessage},
                   {filter.valueTo, IngredientFilterBox::ValueTo, valueMessage}};
    for (const auto& number : numbers) {
        if (filled(number.text) && !text::parseUserNumber(number.text))
            return {QString(), {number.message, number.box}};
    }

    const bool byNutrient = filter.nutrientId > 0;
    QString sql = QStringLiteral("select p.id_producto,p.codigo,p.nombre,p.unidad,Format(p.costo,'"
                                 "0.0000') as costo,p.materia_seca from productos p");
    if (byNutrient)
        sql += QStringLiteral(",producto_propiedad pp");
    sql += QStringLiteral(" where idBase = ") + db::sqlInt(filter.base);
    if (filled(filter.codeFrom))
        sql += QStringLiteral(" and p.codigo>=") + db::sqlCode(filter.codeFrom);
    if (filled(filter.codeTo))
        sql += QStringLiteral(" and p.codigo<=") + db::sqlCode(filter.codeTo);
    sql += containsCondition(QStringLiteral("p.nombre"), filter.description);
    if (!filter.unit.isEmpty())
        sql += QStringLiteral(" and p.unidad=") + db::sqlText(filter.unit);
    sql += boundCondition(" and p.costo>=", filter.costFrom);
    sql += boundCondition(" and p.costo<=", filter.costTo);
    if (byNutrient) {
        sql += QStringLiteral(" and p.id_producto=pp.id_producto and pp.id_propiedad=") +
               db::sqlInt(filter.nutrientId);
        sql += boundCondition(" and pp.valor>=", filter.valueFrom);
        sql += boundCondition(" and pp.valor<=", filter.valueTo);
    }
    return {sql, {}};
}

QStringList storedIngredientUnits(db::Connection& conn, int base) {
    const db::Result rows =
        conn.query(QStringLiteral("select distinct unidad from productos where idBase=") +
                   db::sqlInt(base) + QStringLiteral(" and unidad is not null order by unidad"));
    QStringList units;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString unit = rows.value(r, 0).toString().trimmed();
        if (!unit.isEmpty() && !units.contains(unit))
            units << unit;
    }
    return units;
}

} // namespace tarvela::catalogs
