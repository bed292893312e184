#include "worklist/worklist_selection.h"

#include "db/statements.h"

namespace tarvela::worklist {

std::vector<WorklistFormula> selectWorklist(db::Connection& conn, const WorklistFilter& filter) {
    // The latest version of each code of the base, found once for all codes (compared by the
    // codes' own rule, as everywhere), then its rows.
    const QString base = db::sqlInt(filter.base);
    QString sql = QStringLiteral(
        "SELECT f.id_formula,f.codigo,f.producto,f.idCliente,c.nombre AS cliente,f.version FROM "
        "formulas f INNER JOIN (SELECT g.codigo,max(g.version) AS ultima FROM formulas g WHERE "
        "g.idBase=");
    sql += base;
    sql += QStringLiteral(" GROUP BY g.codigo) u ON f.codigo=u.codigo AND f.version=u.ultima LEFT "
                          "JOIN clientes c ON f.idCliente=c.idCliente WHERE f.idBase=");
    sql += base;
    if (filter.customer > 0)
        sql += QStringLiteral(" AND f.idCliente=") + db::sqlInt(filter.customer);
    if (!filter.codeFrom.trimmed().isEmpty())
        sql += QStringLiteral(" AND f.codigo>=") + db::sqlCode(filter.codeFrom);
    if (!filter.codeTo.trimmed().isEmpty())
        sql += QStringLiteral(" AND f.codigo<=") + db::sqlCode(filter.codeTo);
    if (filter.modifiedBefore) {
        const QString date = db::sqlDate(*filter.modifiedBefore);
        sql += QStringLiteral(" AND (f.fecha_modificacion<") + date +
               QStringLiteral(" OR (f.fecha_modificacion IS NULL AND f.fecha_creacion<") + date +
               QStringLiteral("))");
    }
    sql += QStringLiteral(" ORDER BY f.codigo, f.id_formula DESC");

    const db::Result rs = conn.query(sql);
    std::vector<WorklistFormula> out;
    out.reserve(static_cast<size_t>(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        WorklistFormula f;
        f.idFormula = rs.value(r, 0).toInt();
        f.codigo = rs.value(r, 1).toString().trimmed();
        // Two rows of one code and version: the newer row stands for the formula.
        if (!out.empty() && out.back().codigo == f.codigo)
            continue;
        f.producto = rs.value(r, 2).toString();
        f.idCliente = rs.value(r, 3).isNull() ? 0 : rs.value(r, 3).toInt();
        f.cliente = rs.value(r, 4).toString();
        f.version = rs.value(r, 5).toInt();
        out.push_back(std::move(f));
    }
    return out;
}

} // namespace tarvela::worklist
