#include "catalogs/ingredient_catalog.h"

#include "catalogs/catalog_keys.h"
#include "catalogs/catalog_statements.h"
#include "db/change_log.h"
#include "db/statements.h"
#include "text/format.h"

namespace tarvela::catalogs {

namespace {

const QString kPricePattern = QStringLiteral("0.0000");
const QString kDryMatterPattern = QStringLiteral("0.00");

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

std::optional<double> numberIn(const QString& box) {
    return text::parseUserNumber(box);
}

} // namespace

std::optional<IngredientBoxes> loadIngredient(db::Connection& conn, int id, QChar separator) {
    const db::Result row =
        conn.query(QStringLiteral("select * from productos where id_producto=") + db::sqlInt(id));
    if (row.isEmpty())
        return std::nullopt;
    auto value = [&](const char* column) { return row.value(0, QString::fromLatin1(column)); };
    return IngredientBoxes{textOf(value("codigo")), textOf(value("nombre")),
                           textOf(value("unidad")),
                           text::formatValue(value("costo"), kPricePattern, separator),
                           text::formatValue(value("materia_seca"), kDryMatterPattern, separator)};
}

QString lastIngredientCode(db::Connection& conn, int base) {
    const db::Result last = conn.query(
        QStringLiteral("SELECT max(codigo) FROM productos WHERE idbase=") + db::sqlInt(base));
    return last.isEmpty() ? QString() : textOf(last.value(0, 0));
}

QString ingredientName(db::Connection& conn, int id) {
    const db::Result name = conn.query(
        QStringLiteral("SELECT nombre FROM productos WHERE id_Producto=") + db::sqlInt(id));
    return name.isEmpty() ? QString() : textOf(name.value(0, 0));
}

FieldCheck<IngredientField> checkIngredient(const IngredientBoxes& boxes) {
    if (boxes.codigo.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar el Código"), IngredientField::Code};
    if (boxes.nombre.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar la Descripción"), IngredientField::Description};
    if (boxes.unidad.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar la Unidad"), IngredientField::Unit};
    if (const QString refusal = priceRefusal(boxes.costo); !refusal.isEmpty())
        return {refusal, IngredientField::Price};
    const std::optional<double> dryMatter = numberIn(boxes.materiaSeca);
    if (!dryMatter)
        return {QStringLiteral("Debe ingresar el Porcentaje de Materia Seca del Producto"),
                IngredientField::DryMatter};
    if (*dryMatter < 0 || *dryMatter > 100)
        return {QStringLiteral("El valor debe estar comprendido entre 0 y 100"),
                IngredientField::DryMatter};
    return {};
}

int insertIngredientRow(db::Connection& conn, int base, const IngredientBoxes& boxes) {
    const int id = nextCatalogKey(conn, Catalog::Ingredients);
    conn.execute(QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                                "materia_seca,idBase) values (") +
                 db::sqlInt(id) + QLatin1Char(',') + db::sqlCode(boxes.codigo) + QLatin1Char(',') +
                 db::sqlText(boxes.nombre) + QLatin1Char(',') + db::sqlText(boxes.unidad) +
                 QLatin1Char(',') + db::sqlReal(numberIn(boxes.costo)) + QLatin1Char(',') +
                 db::sqlReal(numberIn(boxes.materiaSeca)) + QLatin1Char(',') + db::sqlInt(base) +
                 QLatin1Char(')'));
    return id;
}

QString codeKey(const QString& code) {
    return db::rightAlignCode(code).toCaseFolded();
}

IngredientCreation createIngredient(db::Connection& conn, int base, const IngredientBoxes& boxes) {
    const QString code = db::sqlCode(boxes.codigo);
    db::Transaction transaction(conn);
    // Under the catalog's lock, so that two workstations never store the same code twice.
    conn.lockForWriting(QStringLiteral("productos"));
    if (anyRow(conn, QStringLiteral("from productos where codigo=") + code +
                         QStringLiteral(" and idBase=") + db::sqlInt(base)))
        return {true, 0};
    const int id = insertIngredientRow(conn, base, boxes);
    const QString key = db::sqlInt(id);
    conn.execute(QStringLiteral("delete from producto_propiedad where id_producto=") + key);
    conn.execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                                "select ") +
                 key + QStringLiteral(",id_propiedad,0 from propiedades"));
    db::recordCreated(conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id);
    transaction.commit();
    return {false, id};
}

QString ingredientStamp(db::Connection& conn, int id) {
    return db::changeStamp(conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id);
}

void updateIngredient(db::Connection& conn, int id, const IngredientBoxes& boxes,
                      const QString& stampRead) {
    const auto number = [](const QString& box) {
        const std::optional<double> value = numberIn(box);
        return value ? QVariant(*value) : QVariant();
    };
    db::updateRecorded(
        conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id, stampRead,
        {QStringLiteral("nombre"), QStringLiteral("unidad"), QStringLiteral("costo"),
         QStringLiteral("materia_seca")},
        {boxes.nombre, boxes.unidad, number(boxes.costo), number(boxes.materiaSeca)});
}

bool ingredientHasNutrients(db::Connection& conn, int id) {
    return hasCompositionRows(conn, QStringLiteral("id_producto"), id);
}

void deleteIngredient(db::Connection& conn, int id) {
    // A later ingredient may be given the same key: it must not inherit this one's history.
    const QString where = QStringLiteral(" where id_producto=") + db::sqlInt(id);
    db::Transaction transaction(conn);
    conn.execute(QStringLiteral("delete from precios_historial") + where);
    conn.execute(QStringLiteral("delete from grupo_producto") + where);
    deleteWithComposition(conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id);
    transaction.commit();
}

QString deleteIngredientQuestion(const QString& name) {
    return QStringLiteral("Desea eliminar el Ingrediente ") + name + QStringLiteral(" ?");
}

QString ingredientInUseQuestion(const QString& name) {
    return QStringLiteral("El Ingrediente << ") + name +
           QStringLiteral(" >> posee nutrientes asignados\n\n¿Confirma la Eliminación del "
                          "Ingrediente?");
}

QStringList formulasUsingIngredient(db::Connection& conn, int id) {
    return formulaCodesUsing(conn, QStringLiteral("formula_producto"),
                             QStringLiteral("id_producto"), id);
}

QString ingredientInFormulasQuestion(const QString& name, const QStringList& codes) {
    return usedInFormulasQuestion(QStringLiteral("Ingrediente"), name, codes);
}

bool ingredientChanged(const IngredientBoxes& saved, const IngredientBoxes& boxes,
                       const std::optional<QString>& chosenUnit) {
    if (boxes.codigo != saved.codigo || boxes.nombre != saved.nombre)
        return true;
    if (chosenUnit && *chosenUnit != saved.unidad)
        return true;
    auto numbersDiffer = [](const QString& box, const QString& savedBox) {
        const std::optional<double> now = numberIn(box);
        const std::optional<double> before = numberIn(savedBox);
        return now && before && *now != *before;
    };
    return numbersDiffer(boxes.costo, saved.costo) ||
           numbersDiffer(boxes.materiaSeca, saved.materiaSeca);
}

QString priceRefusal(const QString& text) {
    const std::optional<double> price = numberIn(text);
    if (!price)
        return QStringLiteral("Debe ingresar el Costo por Unidad de Producto");
    if (*price < 0)
        return QStringLiteral("El Costo por Unidad de Producto no puede ser negativo");
    return {};
}

std::optional<QString> priceBoxText(const QString& text, QChar separator) {
    const std::optional<double> price = numberIn(text);
    if (!price)
        return std::nullopt;
    return text::formatNumber(*price, kPricePattern, separator);
}

QString dryMatterBoxText(const QString& text, QChar separator) {
    const std::optional<double> dryMatter = numberIn(text);
    return dryMatter ? text::formatNumber(*dryMatter, kDryMatterPattern, separator) : text;
}

} // namespace tarvela::catalogs
