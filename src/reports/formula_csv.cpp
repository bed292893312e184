#include "reports/formula_csv.h"

#include <QStringList>

#include <initializer_list>

namespace tarvela::reports {

namespace {

constexpr int kColumns = 9;

// One line: the given cells from "_1" on; the rest empty (null). An empty figure is an empty
// cell too.
QVariantList line(std::initializer_list<QString> cells = {}) {
    QVariantList row(kColumns);
    int c = 0;
    for (const QString& cell : cells) {
        if (!cell.isEmpty())
            row[c] = cell;
        ++c;
    }
    return row;
}

} // namespace

db::Result formulaCsvTable(const FormulaReport& r) {
    QStringList columns;
    for (int c = 1; c <= kColumns; ++c)
        columns << QStringLiteral("_%1").arg(c);

    const auto& header = r.header();
    const auto& boxes = r.boxes();
    // The title line also names the basis of the nutrient values.
    std::vector<QVariantList> rows = {
        line({QStringLiteral("TARVELA - Composición de Fórmulas"),
              QStringLiteral("Nutrientes en ") + r.nutrientBasis()}),
        line({QStringLiteral("Fecha: "), r.todayText()}),
        line({QStringLiteral("Fórmula:"), header.producto}),
        line({QStringLiteral("Código:"), header.codigo}),
        line({QStringLiteral("Versión:"), header.version}),
        line({QStringLiteral("Cantidad Húmeda:"), boxes.txtCanH}),
        line({QStringLiteral("Cantidad Seca:"), boxes.txtCanS}),
        line({QStringLiteral("Materia Seca %:"), boxes.txtMatSeca}),
    };
    if (r.includeCosts) {
        rows.push_back(line({QStringLiteral("Costo U.Seca:"), boxes.txtCosS}));
        rows.push_back(line({QStringLiteral("Costo U.Húmeda:"), boxes.txtCosH}));
        rows.push_back(line({QStringLiteral("Costo Total:"), boxes.txtCosTot}));
    }

    rows.push_back(line());
    rows.push_back(
        line({QStringLiteral("NUTRIENTES"), QStringLiteral("Mínimo"), QStringLiteral("Máximo"),
              QStringLiteral("Valor"), QStringLiteral("Unidad")}));
    for (const formulation::NutrientRow& n : r.model.rsPropiedades)
        rows.push_back(line({n.nombre, r.nutrientFigure(n.minimo), r.nutrientFigure(n.maximo),
                             r.nutrientFigure(n.valor), r.unitOf(n)}));

    rows.push_back(line());
    const QString costHeadings[2] = {r.includeCosts ? QStringLiteral("Costo U.") : QString(),
                                     r.includeCosts ? QStringLiteral("Costo Total") : QString()};
    rows.push_back(
        line({QStringLiteral("INGREDIENTES"), QStringLiteral("Base Seca"), QString(),
              QStringLiteral("Base Húmeda"), QString(), costHeadings[0], costHeadings[1]}));
    for (const formulation::IngredientRow* ing : r.ingredientsInMix()) {
        QString price;
        QString cost;
        if (r.includeCosts) {
            price = r.figure(ing->costo_humeda, QStringLiteral("#######0.000"));
            cost = r.quantity(ing->cantidad_humeda.value_or(0) * ing->costo_humeda.value_or(0));
        }
        rows.push_back(
            line({ing->nombre, r.quantity(ing->cantidad_seca), r.share(ing->porcentaje_seca),
                  r.quantity(ing->cantidad_humeda), r.share(ing->porcentaje_humeda), price, cost}));
    }
    return db::Result(columns, std::move(rows));
}

} // namespace tarvela::reports
