#include "reports/formula_document.h"

namespace tarvela::reports {

namespace {

const QColor kHeadingShade(224, 224, 224);

DocumentCell bold(const QString& text, bool right = false) {
    return {text, true, right};
}

DocumentCell figure(const QString& text) {
    return {text, false, true};
}

} // namespace

TextDocument formulaDocument(const FormulaReport& r) {
    TextDocument document;
    document.title = QStringLiteral("TARVELA - Composición de Fórmulas");
    const auto& header = r.header();
    const auto& boxes = r.boxes();

    DocumentTable title;
    title.widths = {315, kDocumentTextWidth - 315};
    title.borders = false;
    title.rows.push_back({bold(QStringLiteral("TARVELA - Composición de Fórmulas")),
                          {QStringLiteral("Fecha: ") + r.todayText()}});
    document.tables.push_back(title);

    DocumentTable data;
    data.widths = {kDocumentTextWidth / 2, kDocumentTextWidth / 2};
    const auto line = [&data](const QString& label, const QString& value) {
        data.rows.push_back({{label}, bold(value)});
    };
    line(QStringLiteral("Fórmula:"), header.producto);
    line(QStringLiteral("Código:"), header.codigo);
    line(QStringLiteral("Versión:"), header.version);
    line(QStringLiteral("Última modificación:"), header.fechaModificacion);
    line(QStringLiteral("Materia Seca:"), boxes.txtMatSeca);
    line(QString::fromUtf8(kNutrientBasisLabel), r.nutrientBasis());
    if (r.includeCosts) {
        line(QStringLiteral("Costo U.Seca:"), boxes.txtCosS);
        line(QStringLiteral("Costo U.Húmeda:"), boxes.txtCosH);
        line(QStringLiteral("Costo Total:"), boxes.txtCosTot);
    }
    document.tables.push_back(data);

    // Each value with its unit beside it.
    DocumentTable nutrients;
    const double unitWidth = 60;
    const double quarter = (kDocumentTextWidth - unitWidth) / 4;
    nutrients.widths = {quarter, quarter, quarter, quarter, unitWidth};
    nutrients.shade = kHeadingShade;
    nutrients.shadedRows = {0};
    nutrients.headingRow = true;
    nutrients.rows.push_back({bold(QStringLiteral("NUTRIENTES")),
                              bold(QStringLiteral("Mínimo"), true),
                              bold(QStringLiteral("Máximo"), true),
                              bold(QStringLiteral("Valor"), true), bold(QStringLiteral("Unidad"))});
    for (const formulation::NutrientRow& n : r.model.rsPropiedades)
        nutrients.rows.push_back({{n.nombre},
                                  figure(r.nutrientFigure(n.minimo)),
                                  figure(r.nutrientFigure(n.maximo)),
                                  figure(r.nutrientFigure(n.valor)),
                                  {r.unitOf(n)}});
    document.tables.push_back(nutrients);

    const std::vector<LimitLine> lines = r.ratioAndGroupLines();
    if (!lines.empty()) {
        DocumentTable limits;
        limits.widths = nutrients.widths;
        limits.shade = kHeadingShade;
        limits.shadedRows = {0};
        limits.headingRow = true;
        limits.rows.push_back({bold(QStringLiteral("RELACIONES Y GRUPOS")),
                               bold(QStringLiteral("Mínimo"), true),
                               bold(QStringLiteral("Máximo"), true),
                               bold(QStringLiteral("Valor"), true),
                               {}});
        for (const LimitLine& limit : lines)
            limits.rows.push_back({{limit.nombre},
                                   figure(r.nutrientFigure(limit.minimo)),
                                   figure(r.nutrientFigure(limit.maximo)),
                                   figure(r.lineValue(limit)),
                                   {}});
        document.tables.push_back(limits);
    }

    // Without costs the two cost columns are left out: they would have no width.
    DocumentTable ingredients;
    ingredients.widths = {r.includeCosts ? 100.0 : 170.0, 60, 50, 70, 50};
    ingredients.shade = kHeadingShade;
    ingredients.shadedRows = {0};
    ingredients.headingRow = true;
    std::vector<DocumentCell> headings = {bold(QStringLiteral("INGREDIENTES")),
                                          bold(QStringLiteral("Base Seca"), true),
                                          {},
                                          bold(QStringLiteral("Base Húmeda"), true),
                                          {}};
    if (r.includeCosts) {
        ingredients.widths.insert(ingredients.widths.end(), {50, 50});
        headings.push_back(bold(QStringLiteral("Costo Unit."), true));
        headings.push_back(bold(QStringLiteral("Costo Total"), true));
    }
    ingredients.rows.push_back(headings);
    for (const formulation::IngredientRow* ing : r.ingredientsInMix()) {
        std::vector<DocumentCell> cells = {{ing->nombre},
                                           figure(r.quantity(ing->cantidad_seca)),
                                           figure(r.share(ing->porcentaje_seca)),
                                           figure(r.quantity(ing->cantidad_humeda)),
                                           figure(r.share(ing->porcentaje_humeda))};
        if (r.includeCosts) {
            cells.push_back(figure(r.quantity(ing->costo_humeda)));
            cells.push_back(figure(
                r.quantity(ing->cantidad_humeda.value_or(0) * ing->costo_humeda.value_or(0))));
        }
        ingredients.rows.push_back(cells);
    }
    document.tables.push_back(ingredients);
    return document;
}

} // namespace tarvela::reports
