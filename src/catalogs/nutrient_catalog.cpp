#include "catalogs/nutrient_catalog.h"

#include "catalogs/catalog_keys.h"
#include "catalogs/catalog_statements.h"
#include "db/change_log.h"
#include "db/statements.h"

namespace tarvela::catalogs {

namespace {

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

} // namespace

QString nutrientListStatement(const QString& description) {
    return QStringLiteral("select p.id_propiedad,p.nombre,p.unidad from propiedades p where true") +
           containsCondition(QStringLiteral("nombre"), description);
}

std::optional<NutrientRecord> loadNutrient(db::Connection& conn, int id) {
    const db::Result row = conn.query(
        QStringLiteral("select * from propiedades where id_propiedad=") + db::sqlInt(id));
    if (row.isEmpty())
        return std::nullopt;
    return NutrientRecord{textOf(row.value(0, QStringLiteral("nombre"))),
                          textOf(row.value(0, QStringLiteral("unidad")))};
}

FieldCheck<NutrientField> checkNutrient(const NutrientRecord& boxes) {
    if (boxes.nombre.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar la Descripción"), NutrientField::Description};
    if (boxes.unidad.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar la Unidad"), NutrientField::Unit};
    return {};
}

int createNutrient(db::Connection& conn, const NutrientRecord& nutrient) {
    db::Transaction transaction(conn);
    const int id = nextCatalogKey(conn, Catalog::Nutrients);
    const QString key = db::sqlInt(id);
    conn.execute(QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values (") +
                 key + QLatin1Char(',') + db::sqlText(nutrient.nombre) + QLatin1Char(',') +
                 db::sqlText(nutrient.unidad) + QLatin1Char(')'));
    conn.execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                                "select id_producto,") +
                 key + QStringLiteral(",0 from productos"));
    db::recordCreated(conn, QStringLiteral("propiedades"), QStringLiteral("id_propiedad"), id);
    transaction.commit();
    return id;
}

QString nutrientStamp(db::Connection& conn, int id) {
    return db::changeStamp(conn, QStringLiteral("propiedades"), QStringLiteral("id_propiedad"), id);
}

void updateNutrient(db::Connection& conn, int id, const NutrientRecord& nutrient,
                    const QString& stampRead) {
    db::updateRecorded(conn, QStringLiteral("propiedades"), QStringLiteral("id_propiedad"), id,
                       stampRead, {QStringLiteral("nombre"), QStringLiteral("unidad")},
                       {nutrient.nombre, nutrient.unidad});
}

bool nutrientHasIngredients(db::Connection& conn, int id) {
    return hasCompositionRows(conn, QStringLiteral("id_propiedad"), id);
}

void deleteNutrient(db::Connection& conn, int id) {
    const QString key = db::sqlInt(id);
    db::Transaction transaction(conn);
    conn.execute(QStringLiteral("delete from formula_relacion where id_propiedad_num=") + key +
                 QStringLiteral(" or id_propiedad_den=") + key);
    deleteWithComposition(conn, QStringLiteral("propiedades"), QStringLiteral("id_propiedad"), id);
    transaction.commit();
}

QString deleteNutrientQuestion(const QString& name) {
    return QStringLiteral("Desea eliminar el Nutriente ") + name + QStringLiteral(" ?");
}

QString nutrientInUseQuestion(const QString& name) {
    return QStringLiteral("El Nutriente << ") + name +
           QStringLiteral(" >> posee Ingredientes asignados\n\n¿Confirma la Eliminación del "
                          "Nutriente?");
}

QStringList formulasUsingNutrient(db::Connection& conn, int id) {
    return formulaCodesUsing(conn, QStringLiteral("formula_propiedad"),
                             QStringLiteral("id_propiedad"), id);
}

QString nutrientInFormulasQuestion(const QString& name, const QStringList& codes) {
    return usedInFormulasQuestion(QStringLiteral("Nutriente"), name, codes);
}

bool nutrientChanged(const NutrientRecord& saved, const QString& description,
                     const std::optional<QString>& chosenUnit) {
    return description != saved.nombre || (chosenUnit && *chosenUnit != saved.unidad);
}

} // namespace tarvela::catalogs
