#include "formulation/save_details.h"

#include "db/change_log.h"
#include "db/statements.h"

#include <algorithm>
#include <vector>

namespace tarvela::formulation {

namespace {

// The keys of the stored rows of one formula, ascending.
std::vector<int> storedKeys(db::Connection& conn, const QString& table, const QString& key,
                            const QString& id) {
    const db::Result rows = conn.query(QStringLiteral("select ") + key + QStringLiteral(" from ") +
                                       table + QStringLiteral(" where id_formula=") + id +
                                       QStringLiteral(" order by ") + key + QStringLiteral(" ASC"));
    std::vector<int> keys;
    keys.reserve(static_cast<size_t>(rows.rowCount()));
    for (int r = 0; r < rows.rowCount(); ++r)
        keys.push_back(rows.value(r, 0).toInt());
    return keys;
}

// What a save did to one table of details, for the record of changes.
struct DetailCounts {
    QStringList added;
    QStringList removed;
    int rewritten = 0;

    QString text(const QString& what) const {
        if (added.isEmpty() && removed.isEmpty() && rewritten == 0)
            return {};
        QStringList parts;
        if (!added.isEmpty())
            parts << QStringLiteral("agregados ") + added.join(QLatin1Char(','));
        if (!removed.isEmpty())
            parts << QStringLiteral("quitados ") + removed.join(QLatin1Char(','));
        if (rewritten > 0)
            parts << QStringLiteral("%1 grabados").arg(rewritten);
        return what + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    }
};

// Walks the working rows and the stored keys together, both ascending: equal keys are
// updated, a working key missing from the database is inserted, a stored key missing from the
// working rows is deleted.
template <typename Row, typename KeyOf, typename Update, typename Insert, typename Remove>
void mergeByKey(const std::vector<Row>& working, const std::vector<int>& stored, KeyOf keyOf,
                Update update, Insert insert, Remove remove) {
    size_t w = 0, d = 0;
    while (w < working.size() && d < stored.size()) {
        const int wk = keyOf(working[w]);
        const int dk = stored[d];
        if (wk == dk) {
            update(working[w]);
            ++w;
            ++d;
        } else if (wk < dk) {
            insert(working[w]);
            ++w;
        } else {
            remove(dk);
            ++d;
        }
    }
    for (; d < stored.size(); ++d)
        remove(stored[d]);
    for (; w < working.size(); ++w)
        insert(working[w]);
}

DetailCounts saveNutrients(WorkingModel& model, db::Connection& conn, const QString& id) {
    DetailCounts counts;
    std::stable_sort(
        model.rsPropiedades.begin(), model.rsPropiedades.end(),
        [](const NutrientRow& a, const NutrientRow& b) { return a.id_propiedad < b.id_propiedad; });
    const std::vector<int> stored =
        storedKeys(conn, QStringLiteral("formula_propiedad"), QStringLiteral("id_propiedad"), id);
    mergeByKey(
        model.rsPropiedades, stored, [](const NutrientRow& row) { return row.id_propiedad; },
        [&](const NutrientRow& row) {
            ++counts.rewritten;
            conn.execute(QStringLiteral("UPDATE formula_propiedad SET minimo=") +
                         db::sqlReal(row.minimo) + QStringLiteral(",maximo=") +
                         db::sqlReal(row.maximo) + QStringLiteral(",valor=") +
                         db::sqlReal(row.valor) + QStringLiteral(" WHERE id_formula=") + id +
                         QStringLiteral(" AND id_propiedad=") + db::sqlInt(row.id_propiedad));
        },
        [&](const NutrientRow& row) {
            counts.added << QString::number(row.id_propiedad);
            conn.execute(QStringLiteral("INSERT INTO formula_propiedad "
                                        "(id_formula,id_propiedad,minimo,maximo,valor) VALUES (") +
                         id + QLatin1Char(',') + db::sqlInt(row.id_propiedad) + QLatin1Char(',') +
                         db::sqlReal(row.minimo) + QLatin1Char(',') + db::sqlReal(row.maximo) +
                         QLatin1Char(',') + db::sqlReal(row.valor) + QLatin1Char(')'));
        },
        [&](int key) {
            counts.removed << QString::number(key);
            conn.execute(QStringLiteral("DELETE FROM formula_propiedad WHERE id_formula=") + id +
                         QStringLiteral(" AND id_propiedad=") + db::sqlInt(key));
        });
    model.sortNutrientsByName();
    return counts;
}

// The eight stored columns of an ingredient row, in the order of ingredientColumns.
QString ingredientValues(const IngredientRow& row) {
    return db::sqlReal(row.minimo) + QLatin1Char(',') + db::sqlReal(row.maximo) + QLatin1Char(',') +
           db::sqlReal(row.porcentaje_seca) + QLatin1Char(',') +
           db::sqlReal(row.porcentaje_humeda) + QLatin1Char(',') + db::sqlReal(row.cantidad_seca) +
           QLatin1Char(',') + db::sqlReal(row.cantidad_humeda) + QLatin1Char(',') +
           db::sqlReal(row.materia_seca) + QLatin1Char(',') + db::sqlReal(row.costo_humeda);
}

DetailCounts saveIngredients(WorkingModel& model, db::Connection& conn, const QString& id) {
    DetailCounts counts;
    model.sortIngredientsById();
    const std::vector<int> stored =
        storedKeys(conn, QStringLiteral("formula_producto"), QStringLiteral("id_producto"), id);
    mergeByKey(
        model.ingredients, stored, [](const IngredientRow& row) { return row.id_producto; },
        [&](const IngredientRow& row) {
            ++counts.rewritten;
            conn.execute(QStringLiteral("UPDATE formula_producto SET minimo=") +
                         db::sqlReal(row.minimo) + QStringLiteral(",maximo=") +
                         db::sqlReal(row.maximo) + QStringLiteral(",porcentaje_seca=") +
                         db::sqlReal(row.porcentaje_seca) + QStringLiteral(",porcentaje_humeda=") +
                         db::sqlReal(row.porcentaje_humeda) + QStringLiteral(",cantidad_seca=") +
                         db::sqlReal(row.cantidad_seca) + QStringLiteral(",cantidad_humeda=") +
                         db::sqlReal(row.cantidad_humeda) + QStringLiteral(",materia_seca=") +
                         db::sqlReal(row.materia_seca) + QStringLiteral(",costo=") +
                         db::sqlReal(row.costo_humeda) + QStringLiteral(" WHERE id_formula=") + id +
                         QStringLiteral(" AND id_producto=") + db::sqlInt(row.id_producto));
        },
        [&](const IngredientRow& row) {
            counts.added << QString::number(row.id_producto);
            conn.execute(QStringLiteral("INSERT INTO formula_producto (id_formula,id_producto,"
                                        "minimo,maximo,porcentaje_seca,porcentaje_humeda,"
                                        "cantidad_seca,cantidad_humeda,materia_seca,costo) "
                                        "VALUES (") +
                         id + QLatin1Char(',') + db::sqlInt(row.id_producto) + QLatin1Char(',') +
                         ingredientValues(row) + QLatin1Char(')'));
        },
        [&](int key) {
            counts.removed << QString::number(key);
            conn.execute(QStringLiteral("DELETE FROM formula_producto WHERE id_formula=") + id +
                         QStringLiteral(" AND id_producto=") + db::sqlInt(key));
        });
    model.sortIngredientsForDisplay();
    return counts;
}

// The ratio and group limits: the stored rows replaced by the working rows.
// Returns what the record of changes says of them: how many of each were written, or nothing
// when the formula has and had none.
QString saveRatiosAndGroups(const WorkingModel& model, db::Connection& conn, const QString& id) {
    const auto storedCount = [&](const char* table) {
        return conn
            .query(QStringLiteral("SELECT count(*) FROM ") + QString::fromLatin1(table) +
                   QStringLiteral(" WHERE id_formula=") + id)
            .value(0, 0)
            .toInt();
    };
    const bool hadAny = storedCount("formula_relacion") + storedCount("formula_grupo") > 0;
    conn.execute(QStringLiteral("DELETE FROM formula_relacion WHERE id_formula=") + id);
    for (const RatioRow& row : model.relaciones)
        conn.execute(QStringLiteral("INSERT INTO formula_relacion (id_formula,id_propiedad_num,"
                                    "id_propiedad_den,minimo,maximo,valor) VALUES (") +
                     id + QLatin1Char(',') + db::sqlInt(row.id_num) + QLatin1Char(',') +
                     db::sqlInt(row.id_den) + QLatin1Char(',') + db::sqlReal(row.minimo) +
                     QLatin1Char(',') + db::sqlReal(row.maximo) + QLatin1Char(',') +
                     db::sqlReal(row.valor) + QLatin1Char(')'));
    conn.execute(QStringLiteral("DELETE FROM formula_grupo WHERE id_formula=") + id);
    for (const GroupRow& row : model.grupos)
        conn.execute(QStringLiteral("INSERT INTO formula_grupo (id_formula,id_grupo,minimo,maximo,"
                                    "valor) VALUES (") +
                     id + QLatin1Char(',') + db::sqlInt(row.id_grupo) + QLatin1Char(',') +
                     db::sqlReal(row.minimo) + QLatin1Char(',') + db::sqlReal(row.maximo) +
                     QLatin1Char(',') + db::sqlReal(row.valor) + QLatin1Char(')'));
    if (!hadAny && model.relaciones.empty() && model.grupos.empty())
        return {};
    return QStringLiteral("relaciones y grupos: %1 relaciones, %2 grupos grabados")
        .arg(model.relaciones.size())
        .arg(model.grupos.size());
}

} // namespace

void saveDetails(WorkingModel& model, db::Connection& conn) {
    const QString id = db::sqlInt(model.formulaId);
    db::Transaction transaction(conn);
    const DetailCounts nutrients = saveNutrients(model, conn, id);
    const DetailCounts ingredients = saveIngredients(model, conn, id);
    const QString limits = saveRatiosAndGroups(model, conn, id);
    QStringList detail;
    for (const QString& part : {ingredients.text(QStringLiteral("ingredientes")),
                                nutrients.text(QStringLiteral("nutrientes")), limits})
        if (!part.isEmpty())
            detail << part;
    if (!detail.isEmpty())
        db::recordChange(conn, QStringLiteral("formulas"), id, db::kActionChanged,
                         detail.join(QStringLiteral("; ")));
    transaction.commit();
}

} // namespace tarvela::formulation
