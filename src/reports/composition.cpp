#include "reports/composition.h"

#include "db/statements.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace tarvela::reports {

namespace {

double val(const Opt& v) {
    return v.value_or(0.0);
}

double number(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace

std::optional<CompositionTable> buildComposition(const formulation::WorkingModel& model,
                                                 db::Connection& conn) {
    if (model.rsPropiedades.empty())
        return std::nullopt;

    CompositionTable table;
    QHash<int, std::vector<size_t>> nutrientColumns;
    for (const formulation::NutrientRow& n : model.rsPropiedades) {
        nutrientColumns[n.id_propiedad].push_back(table.nutrientIds.size());
        table.nutrientIds.push_back(n.id_propiedad);
        table.nutrientFields << QString::number(n.id_propiedad);
    }
    const size_t nutrients = table.nutrientIds.size();

    for (const formulation::IngredientRow& ing : model.ingredients) {
        CompositionRow row;
        row.id_producto = ing.id_producto;
        row.nombre = ing.nombre;
        row.cantidad_seca = val(ing.cantidad_seca);
        row.porcentaje_seca = val(ing.porcentaje_seca);
        row.cantidad_humeda = val(ing.cantidad_humeda);
        row.porcentaje_humeda = val(ing.porcentaje_humeda);
        table.totals.cantidad_seca += row.cantidad_seca;
        table.totals.porcentaje_seca += row.porcentaje_seca;
        table.totals.cantidad_humeda += row.cantidad_humeda;
        table.totals.porcentaje_humeda += row.porcentaje_humeda;
        row.aportes.assign(nutrients, std::nullopt);

        const db::Result rs = conn.query(
            QStringLiteral("select pp.*,p.materia_seca from producto_propiedad pp, productos p "
                           "where pp.id_producto=p.id_producto and pp.id_producto=") +
            db::sqlInt(ing.id_producto));
        const int cProp = rs.column(QStringLiteral("id_propiedad"));
        const int cValor = rs.column(QStringLiteral("valor"));
        // The first composition row of each nutrient, as a search from the first row finds it.
        std::vector<int> found(nutrients, -1);
        for (int r = 0; r < rs.rowCount(); ++r) {
            const auto it = nutrientColumns.constFind(rs.value(r, cProp).toInt());
            if (it == nutrientColumns.constEnd())
                continue;
            for (size_t c : *it)
                if (found[c] < 0)
                    found[c] = r;
        }
        for (size_t c = 0; c < nutrients; ++c) {
            const int r = found[c];
            if (r < 0)
                continue;
            const double content = number(rs.value(r, cValor));
            // The formula's own dry matter, the one the run solved with.
            row.aportes[c] =
                model.vSecaNut ? content * row.porcentaje_seca
                               : content * (val(ing.materia_seca) / 100.0) * row.porcentaje_humeda;
        }
        table.rows.push_back(std::move(row));
    }

    // Each nutrient's total, summed in key order as the nutrient values of the mix are, so that
    // the totals row shows exactly those values.
    std::vector<size_t> byKey(table.rows.size());
    std::iota(byKey.begin(), byKey.end(), size_t{0});
    std::stable_sort(byKey.begin(), byKey.end(), [&](size_t a, size_t b) {
        return *table.rows[a].id_producto < *table.rows[b].id_producto;
    });
    table.totals.aportes.assign(nutrients, 0.0);
    for (size_t c = 0; c < nutrients; ++c) {
        double total = 0;
        for (size_t k : byKey)
            if (const Opt& a = table.rows[k].aportes[c])
                total += *a;
        table.totals.aportes[c] = total;
    }
    return table;
}

QStringList compositionHeadings(const CompositionTable& table, db::Connection& conn) {
    const db::Result rs = conn.query(QStringLiteral("SELECT * FROM Propiedades"));
    QStringList headings;
    for (const QString& field : table.nutrientFields) {
        const int r = rs.find(QStringLiteral("id_propiedad"), field.toInt());
        headings << (r < 0 ? QString() : rs.value(r, QStringLiteral("nombre")).toString());
    }
    return headings;
}

} // namespace tarvela::reports
