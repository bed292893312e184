#include "plan/plan_versions.h"

#include "db/statements.h"
#include "worklist/version_save.h"

namespace tarvela::plan {

PlanVersionsSaved savePlanVersions(db::Connection& conn, const PlanOutcome& outcome, int base,
                                   const QDate& today) {
    PlanVersionsSaved out;
    if (outcome.end != PlanEnd::Found) {
        out.motivo = QStringLiteral("El plan no tiene una solución para grabar");
        return out;
    }
    try {
        db::Transaction transaction(conn);
        for (const FormulaOutcome& f : outcome.formulas) {
            const db::Result customer =
                conn.query(QStringLiteral("select idCliente from formulas where id_formula=") +
                           db::sqlInt(f.formula.idFormula));
            const int idCliente = customer.isEmpty() ? 0 : customer.value(0, 0).toInt();
            int version = 0;
            QString motivo;
            const int id = worklist::saveNewVersion(conn, f.model, f.formula.idFormula, idCliente,
                                                    base, today, version, motivo);
            if (id == 0) {
                out.motivo = QStringLiteral("Fórmula ") + f.formula.codigo + QStringLiteral(": ") +
                             motivo + QStringLiteral(". No se grabó ninguna versión del plan.");
                out.idFormulasNuevas.clear();
                return out; // the transaction rolls back every version saved so far
            }
            out.idFormulasNuevas.push_back(id);
        }
        transaction.commit();
        out.saved = true;
    } catch (const db::DbError& error) {
        out.idFormulasNuevas.clear();
        out.motivo =
            QStringLiteral("Error nro.: %1 - %2").arg(error.number()).arg(error.description());
    }
    return out;
}

} // namespace tarvela::plan
