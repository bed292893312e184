#include "plan/plan_store.h"

#include "db/change_log.h"
#include "db/keys.h"
#include "db/statements.h"
#include "text/format.h"
#include "worklist/worklist_selection.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tarvela::plan {

namespace {

std::optional<double> optionalReal(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

QString formulaKeys(const Plan& plan) {
    QStringList keys;
    for (const PlanFormula& f : plan.formulas)
        keys << db::sqlInt(f.idFormula);
    return keys.join(QLatin1Char(','));
}

} // namespace

std::vector<PlanListRow> listPlans(db::Connection& conn, int base) {
    const db::Result r = conn.query(
        QStringLiteral("select p.id_plan, p.nombre, p.fecha, (select count(*) from plan_formula "
                       "pf where pf.id_plan=p.id_plan) as formulas from planes p where "
                       "p.idBase=") +
        db::sqlInt(base) + QStringLiteral(" order by p.nombre, p.id_plan"));
    std::vector<PlanListRow> rows;
    for (int i = 0; i < r.rowCount(); ++i) {
        PlanListRow row;
        row.idPlan = r.value(i, QStringLiteral("id_plan")).toInt();
        row.nombre = r.value(i, QStringLiteral("nombre")).toString();
        row.fecha = text::formatValue(r.value(i, QStringLiteral("fecha")),
                                      QStringLiteral("dd/mm/yyyy"), QLatin1Char('.'));
        row.formulas = r.value(i, QStringLiteral("formulas")).toInt();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<Plan> loadPlan(db::Connection& conn, int idPlan) {
    const db::Result head =
        conn.query(QStringLiteral("select nombre, fecha, idBase, modificado from planes where "
                                  "id_plan=") +
                   db::sqlInt(idPlan));
    if (head.isEmpty())
        return std::nullopt;
    Plan plan;
    plan.idPlan = idPlan;
    plan.nombre = head.value(0, QStringLiteral("nombre")).toString();
    plan.fecha = head.value(0, QStringLiteral("fecha")).toDate();
    plan.idBase = head.value(0, QStringLiteral("idBase")).toInt();
    plan.modificado = head.value(0, QStringLiteral("modificado")).toString();

    const db::Result formulas = conn.query(
        QStringLiteral("select pf.id_formula, pf.cantidad, f.codigo, f.version, f.producto, "
                       "f.id_formula as existe from plan_formula pf left join formulas f on "
                       "f.id_formula=pf.id_formula where pf.id_plan=") +
        db::sqlInt(idPlan) +
        QStringLiteral(" order by f.id_formula is null, f.codigo, pf.id_formula"));
    for (int i = 0; i < formulas.rowCount(); ++i) {
        PlanFormula f;
        f.idFormula = formulas.value(i, QStringLiteral("id_formula")).toInt();
        f.cantidad = formulas.value(i, QStringLiteral("cantidad")).toDouble();
        f.codigo = formulas.value(i, QStringLiteral("codigo")).toString().trimmed();
        f.version = formulas.value(i, QStringLiteral("version")).toString();
        f.producto = formulas.value(i, QStringLiteral("producto")).toString().trimmed();
        f.gone = formulas.value(i, QStringLiteral("existe")).isNull();
        plan.formulas.push_back(std::move(f));
    }

    const db::Result stocks = conn.query(
        QStringLiteral("select id_producto, existencia from plan_existencia where id_plan=") +
        db::sqlInt(idPlan));
    for (int i = 0; i < stocks.rowCount(); ++i) {
        PlanStock s;
        s.idProducto = stocks.value(i, QStringLiteral("id_producto")).toInt();
        s.existencia = optionalReal(stocks.value(i, QStringLiteral("existencia")));
        plan.existencias.push_back(std::move(s));
    }
    refreshStockRows(conn, plan);
    return plan;
}

std::optional<PlanFormula> readPlanFormula(db::Connection& conn, int idFormula) {
    const db::Result row =
        conn.query(QStringLiteral("select codigo, version, producto, cantidad from formulas where "
                                  "id_formula=") +
                   db::sqlInt(idFormula));
    if (row.isEmpty())
        return std::nullopt;
    PlanFormula f;
    f.idFormula = idFormula;
    f.codigo = row.value(0, QStringLiteral("codigo")).toString().trimmed();
    f.version = row.value(0, QStringLiteral("version")).toString();
    f.producto = row.value(0, QStringLiteral("producto")).toString().trimmed();
    f.cantidad = row.value(0, QStringLiteral("cantidad")).toDouble();
    return f;
}

std::vector<PlanFormula> latestFormulas(db::Connection& conn, int base) {
    worklist::WorklistFilter filter;
    filter.base = base;
    std::vector<PlanFormula> out;
    for (const worklist::WorklistFormula& w : worklist::selectWorklist(conn, filter)) {
        PlanFormula f;
        f.idFormula = w.idFormula;
        f.codigo = w.codigo;
        f.version = QString::number(w.version);
        f.producto = w.producto.trimmed();
        out.push_back(std::move(f));
    }
    return out;
}

void refreshStockRows(db::Connection& conn, Plan& plan) {
    QHash<int, std::optional<double>> entered;
    for (const PlanStock& s : plan.existencias)
        entered.insert(s.idProducto, s.existencia);
    plan.existencias.clear();
    if (plan.formulas.empty())
        return;
    const db::Result used = conn.query(
        // Grouped rather than distinct: a server orders names by a key of their own, which a
        // distinct select would have to list.
        QStringLiteral("select fp.id_producto, p.nombre, p.costo, p.id_producto as existe from "
                       "formula_producto fp left join productos p on p.id_producto=fp.id_producto "
                       "where fp.id_formula in (") +
        formulaKeys(plan) +
        QStringLiteral(") group by fp.id_producto, p.nombre, p.costo, p.id_producto order by "
                       "p.nombre, fp.id_producto"));
    for (int i = 0; i < used.rowCount(); ++i) {
        PlanStock s;
        s.idProducto = used.value(i, QStringLiteral("id_producto")).toInt();
        s.nombre = used.value(i, QStringLiteral("nombre")).toString().trimmed();
        s.costo = optionalReal(used.value(i, QStringLiteral("costo")));
        s.gone = used.value(i, QStringLiteral("existe")).isNull();
        s.existencia = entered.value(s.idProducto);
        plan.existencias.push_back(std::move(s));
    }
}

QString planProblem(const Plan& plan) {
    QSet<int> seen;
    for (const PlanFormula& f : plan.formulas) {
        const QString name = f.codigo.isEmpty() ? QString::number(f.idFormula) : f.codigo;
        if (seen.contains(f.idFormula))
            return QStringLiteral("La fórmula <") + name +
                   QStringLiteral("> ya está en el plan: cada fórmula entra una sola vez");
        seen.insert(f.idFormula);
        if (!std::isfinite(f.cantidad) || !(f.cantidad > 0))
            return QStringLiteral("La cantidad a elaborar de la fórmula <") + name +
                   QStringLiteral("> debe ser un número mayor que cero");
    }
    for (const PlanStock& s : plan.existencias) {
        if (s.existencia && (!std::isfinite(*s.existencia) || *s.existencia < 0))
            return QStringLiteral("La existencia de <") + s.nombre +
                   QStringLiteral("> debe ser un número no negativo (en blanco: sin límite)");
    }
    return {};
}

namespace {

// What the record of a plan's change says of its formulas and stocks.
QString planRowsText(const Plan& plan) {
    QStringList formulas;
    for (const PlanFormula& f : plan.formulas)
        formulas << QString::number(f.idFormula) + QLatin1Char('=') + db::sqlReal(f.cantidad);
    QStringList stocks;
    for (const PlanStock& s : plan.existencias)
        if (s.existencia)
            stocks << QString::number(s.idProducto) + QLatin1Char('=') + db::sqlReal(*s.existencia);
    return QStringLiteral("fórmulas ") + formulas.join(QLatin1Char(',')) +
           QStringLiteral(", existencias ") + stocks.join(QLatin1Char(','));
}

} // namespace

void savePlan(db::Connection& conn, Plan& plan) {
    const QString problem = planProblem(plan);
    if (!problem.isEmpty())
        throw db::DbError(1, problem);
    const QString table = QStringLiteral("planes");
    const QString keyColumn = QStringLiteral("id_plan");
    const QString fecha = plan.fecha.isValid() ? db::sqlDate(plan.fecha) : QStringLiteral("null");
    db::Transaction transaction(conn);
    const bool isNew = plan.idPlan <= 0;
    // The plan takes its key and stamp once they are stored: a failed save leaves it as it was.
    int id = plan.idPlan;
    if (isNew) {
        // Two workstations adding plans at once take turns for the key.
        conn.lockForWriting(table);
        id = db::nextKey(conn, QStringLiteral("select max(id_plan) from planes"), false);
        conn.execute(QStringLiteral("insert into planes (id_plan,nombre,fecha,idBase) values (") +
                     db::sqlInt(id) + QLatin1Char(',') + db::sqlText(plan.nombre) +
                     QLatin1Char(',') + fecha + QLatin1Char(',') + db::sqlInt(plan.idBase) +
                     QLatin1Char(')'));
    } else {
        const db::Result before = db::currentRow(conn, table, keyColumn, id, plan.modificado);
        const std::optional<Plan> stored = loadPlan(conn, id);
        conn.execute(QStringLiteral("update planes set nombre=") + db::sqlText(plan.nombre) +
                     QStringLiteral(",fecha=") + fecha + QStringLiteral(",idBase=") +
                     db::sqlInt(plan.idBase) + QStringLiteral(" where id_plan=") + db::sqlInt(id));
        conn.execute(QStringLiteral("delete from plan_formula where id_plan=") + db::sqlInt(id));
        conn.execute(QStringLiteral("delete from plan_existencia where id_plan=") + db::sqlInt(id));
        const QString rowsBefore = stored ? planRowsText(*stored) : QString();
        const QString rowsAfter = planRowsText(plan);
        db::recordUpdated(conn, table, keyColumn, id, before,
                          rowsBefore == rowsAfter ? QString()
                                                  : rowsBefore + QStringLiteral(" → ") + rowsAfter);
    }
    for (const PlanFormula& f : plan.formulas)
        conn.execute(QStringLiteral("insert into plan_formula (id_plan,id_formula,cantidad) "
                                    "values (") +
                     db::sqlInt(id) + QLatin1Char(',') + db::sqlInt(f.idFormula) +
                     QLatin1Char(',') + db::sqlReal(f.cantidad) + QLatin1Char(')'));
    // A stock left blank is no row: without limit.
    for (const PlanStock& s : plan.existencias)
        if (s.existencia)
            conn.execute(QStringLiteral("insert into plan_existencia (id_plan,id_producto,"
                                        "existencia) values (") +
                         db::sqlInt(id) + QLatin1Char(',') + db::sqlInt(s.idProducto) +
                         QLatin1Char(',') + db::sqlReal(*s.existencia) + QLatin1Char(')'));
    if (isNew)
        db::recordCreated(conn, table, keyColumn, id);
    const QString stamp = db::changeStamp(conn, table, keyColumn, id);
    transaction.commit();
    plan.idPlan = id;
    plan.modificado = stamp;
}

void deletePlan(db::Connection& conn, int idPlan) {
    db::Transaction transaction(conn);
    db::recordDeleted(conn, QStringLiteral("planes"), QStringLiteral("id_plan"), idPlan);
    conn.execute(QStringLiteral("delete from plan_existencia where id_plan=") + db::sqlInt(idPlan));
    conn.execute(QStringLiteral("delete from plan_formula where id_plan=") + db::sqlInt(idPlan));
    conn.execute(QStringLiteral("delete from planes where id_plan=") + db::sqlInt(idPlan));
    transaction.commit();
}

} // namespace tarvela::plan
