#include "formulation/grid_cells.h"

#include "solver/tolerances.h"
#include "text/format.h"

namespace tarvela::formulation {

using grid::CellPaint;
using grid::GridColumn;
using grid::GridPaint;
using grid::headingCells;
using grid::kRestWidth;
using grid::rawCellText;
namespace colors = grid::colors;

namespace {

enum ProdColumn {
    pId,
    pNombre,
    pMateriaSeca,
    pCostoSeca,
    pCostoHumeda,
    pSep1,
    pMinimo,
    pMaximo,
    pSep2,
    pCantidadSeca,
    pPorcentajeSeca,
    pSep3,
    pCantidadHumeda,
    pPorcentajeHumeda,
    pCostoTotal,
    pMateriaSecaActual,
    pCostoHumedaActual,
    pColumnCount
};

enum PropColumn {
    nId,
    nNombre,
    nSep1,
    nMinimo,
    nMaximo,
    nSep2,
    nValor,
    nValorAnterior,
    nColumnCount
};

QString formatted(const Opt& value, const QString& pattern, QChar sep) {
    return value ? text::formatNumber(*value, pattern, sep) : QString();
}

// The value as the cell shows it with the given decimals (null reads 0).
double shown(const Opt& value, int decimals, double factor = 1.0) {
    return value ? text::roundDecimal(*value * factor, decimals) : 0.0;
}

void paintOutOfLimits(CellPaint& cell) {
    cell.background = colors::outOfLimits;
    cell.foreground = colors::lightText;
}

std::vector<CellPaint> ingredientRow(const IngredientRow& r, bool vSecaIng, QChar sep) {
    std::vector<CellPaint> cells(pColumnCount);
    cells[pId].text = QString::number(r.id_producto);
    cells[pNombre].text = r.nombre;
    cells[pCostoSeca].text = rawCellText(r.costo_seca, sep);
    cells[pMateriaSecaActual].text = rawCellText(r.materiaSecaActual, sep);
    cells[pCostoHumedaActual].text = rawCellText(r.costoHumedaActual, sep);

    // Separators.
    for (int c : {pSep1, pSep2, pSep3})
        cells[static_cast<size_t>(c)].background = colors::header;

    // Limits, quantities, shares and the cost of the batch.
    cells[pMinimo].text = formatted(r.minimo, QStringLiteral("0.000"), sep);
    cells[pMaximo].text = formatted(r.maximo, QStringLiteral("0.000"), sep);
    cells[pCantidadSeca].text = formatted(r.cantidad_seca, QStringLiteral("0.000"), sep);
    cells[pCantidadHumeda].text = formatted(r.cantidad_humeda, QStringLiteral("0.000"), sep);
    if (r.porcentaje_seca)
        cells[pPorcentajeSeca].text =
            text::formatNumber(*r.porcentaje_seca * 100.0, QStringLiteral("0.00"), sep);
    if (r.porcentaje_humeda)
        cells[pPorcentajeHumeda].text =
            text::formatNumber(*r.porcentaje_humeda * 100.0, QStringLiteral("0.00"), sep);
    cells[pCostoTotal].text =
        QStringLiteral("$ ") +
        text::formatNumber(r.costo_total.value_or(0.0), QStringLiteral("0.00##"), sep);

    const int q = vSecaIng ? pCantidadSeca : pCantidadHumeda;
    const int share = vSecaIng ? pPorcentajeSeca : pPorcentajeHumeda;
    const Opt& quantity = vSecaIng ? r.cantidad_seca : r.cantidad_humeda;
    const double qShown = shown(quantity, 3);

    if (qShown == 0.0) {
        // Not in the mix.
        for (int c = 0; c < pColumnCount; ++c)
            if (c != pSep1 && c != pSep2 && c != pSep3)
                cells[static_cast<size_t>(c)].background = colors::outOfMix;
        if (cells[pCostoTotal].text ==
            QStringLiteral("$ ") + text::formatNumber(0.0, QStringLiteral("0.00##"), sep))
            cells[pCostoTotal].text.clear();
    } else {
        for (int c : {static_cast<int>(pNombre), q, share})
            cells[static_cast<size_t>(c)].bold = true;
    }

    // The quantity outside the ingredient's limits (compared as the cells show them). Equal
    // limits are met within the widening the run gives them.
    const double widening =
        r.minimo && r.maximo && *r.minimo == *r.maximo ? simplex::kEqualLimitsWidening : 0.0;
    if ((r.minimo && text::roundDecimal(shown(r.minimo, 3) - widening, 3) > qShown) ||
        (r.maximo && text::roundDecimal(shown(r.maximo, 3) + widening, 3) < qShown))
        paintOutOfLimits(cells[static_cast<size_t>(q)]);

    // Zero quantities and shares are left empty.
    if (shown(r.cantidad_seca, 3) == 0.0)
        cells[pCantidadSeca].text.clear();
    if (shown(r.cantidad_humeda, 3) == 0.0)
        cells[pCantidadHumeda].text.clear();
    if (shown(r.porcentaje_seca, 2, 100.0) == 0.0)
        cells[pPorcentajeSeca].text.clear();
    if (shown(r.porcentaje_humeda, 2, 100.0) == 0.0)
        cells[pPorcentajeHumeda].text.clear();

    // The formula's dry matter is not the catalog's.
    if (rawCellText(r.materiaSecaActual, sep) != rawCellText(r.materia_seca, sep))
        paintOutOfLimits(cells[pMateriaSeca]);
    if (r.materia_seca)
        cells[pMateriaSeca].text =
            text::formatNumber(*r.materia_seca, QStringLiteral("#####0.00"), sep) +
            QStringLiteral(" %");

    // The formula's price is not the catalog's.
    if (rawCellText(r.costoHumedaActual, sep) != rawCellText(r.costo_humeda, sep))
        cells[pCostoHumeda].background = colors::differsFromCatalog;
    if (r.costo_humeda)
        cells[pCostoHumeda].text =
            QStringLiteral("$ ") +
            text::formatNumber(*r.costo_humeda, QStringLiteral("0.00##"), sep);
    return cells;
}

std::vector<CellPaint> nutrientRow(const NutrientRow& r, QChar sep, bool loading) {
    std::vector<CellPaint> cells(nColumnCount);
    cells[nId].text = QString::number(r.id_propiedad);
    cells[nNombre].text = r.nombre;
    cells[nSep1].background = colors::header;
    cells[nSep2].background = colors::header;
    cells[nMinimo].text = formatted(r.minimo, QStringLiteral("#####0.00"), sep);
    cells[nMaximo].text = formatted(r.maximo, QStringLiteral("#####0.00"), sep);
    cells[nValorAnterior].text = rawCellText(r.valorAnterior, sep);

    // The value recomputed from the catalog against the saved one, as the user reads them.
    const QString shownValue = formatted(r.valor, QStringLiteral("#####0.00"), sep);
    if (loading && formatted(r.valorAnterior, QStringLiteral("#####0.00"), sep) != shownValue)
        cells[nNombre].background = colors::differsFromCatalog;

    CellPaint& value = cells[nValor];
    if (r.valor) {
        value.text = shownValue;
        const double v = text::roundDecimal(*r.valor, 2);
        if ((r.minimo && v < text::roundDecimal(*r.minimo, 2)) ||
            (r.maximo && v > text::roundDecimal(*r.maximo, 2)))
            paintOutOfLimits(value);
    }
    value.bold = true;
    return cells;
}

} // namespace

const std::vector<GridColumn>& flexProdColumns() {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("id_producto"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), kRestWidth},
        {QStringLiteral("materia_seca"), QStringLiteral("Mat.Seca"), 900},
        {QStringLiteral("costo_seca"), QString(), 0},
        {QStringLiteral("costo_humeda"), QStringLiteral("Precio"), 950},
        {QStringLiteral("sep1"), QString(), 80},
        {QStringLiteral("minimo"), QStringLiteral("Mínimo"), 1000},
        {QStringLiteral("maximo"), QStringLiteral("Máximo"), 1000},
        {QStringLiteral("sep2"), QString(), 80},
        {QStringLiteral("cantidad_seca"), QStringLiteral("B.Seca"), 1050},
        {QStringLiteral("porcentaje_seca"), QStringLiteral("%"), 700},
        {QStringLiteral("sep3"), QString(), 80},
        {QStringLiteral("cantidad_humeda"), QStringLiteral("B.Húmeda"), 1050},
        {QStringLiteral("porcentaje_humeda"), QStringLiteral("%"), 700},
        {QStringLiteral("costo_total"), QStringLiteral("Costo"), 1200},
        {QStringLiteral("materiaSecaActual"), QString(), 0},
        {QStringLiteral("costoHumedaActual"), QString(), 0},
    };
    return columns;
}

const std::vector<GridColumn>& flexPropColumns() {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("id_propiedad"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), kRestWidth},
        {QStringLiteral("sep1"), QString(), 80},
        {QStringLiteral("minimo"), QStringLiteral("Mínimo"), 1200},
        {QStringLiteral("maximo"), QStringLiteral("Máximo"), 1200},
        {QStringLiteral("sep2"), QString(), 80},
        {QStringLiteral("valor"), QStringLiteral("Valor"), 1200},
        {QStringLiteral("valorAnterior"), QString(), 0},
    };
    return columns;
}

const std::vector<GridColumn>& flexRelColumns() {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("clave"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), kRestWidth},
        {QStringLiteral("sep1"), QString(), 80},
        {QStringLiteral("minimo"), QStringLiteral("Mínimo"), 1200},
        {QStringLiteral("maximo"), QStringLiteral("Máximo"), 1200},
        {QStringLiteral("sep2"), QString(), 80},
        {QStringLiteral("valor"), QStringLiteral("Valor"), 1200},
    };
    return columns;
}

namespace {

// A row of the third grid: the limits and value with the decimals they are kept with (ratios
// as the nutrient limits, groups as the ingredient limits), red outside the limits as shown.
std::vector<CellPaint> limitRow(const QString& key, const QString& nombre, const Opt& minimo,
                                const Opt& maximo, const Opt& valor, int decimals, QChar sep) {
    const QString pattern = QStringLiteral("#####0.") + QString(decimals, QLatin1Char('0'));
    std::vector<CellPaint> cells(nColumnCount - 1);
    cells[nId].text = key;
    cells[nNombre].text = nombre;
    cells[nSep1].background = colors::header;
    cells[nSep2].background = colors::header;
    cells[nMinimo].text = formatted(minimo, pattern, sep);
    cells[nMaximo].text = formatted(maximo, pattern, sep);
    CellPaint& value = cells[nValor];
    value.bold = true;
    if (!valor) {
        value.text = QStringLiteral("—");
        return cells;
    }
    value.text = formatted(valor, pattern, sep);
    const double v = shown(valor, decimals);
    if ((minimo && v < shown(minimo, decimals)) || (maximo && v > shown(maximo, decimals)))
        paintOutOfLimits(value);
    return cells;
}

} // namespace

GridPaint paintFlexRel(const WorkingModel& model, QChar decimalSeparator) {
    GridPaint paint;
    paint.columns = flexRelColumns();
    paint.rows.reserve(model.relaciones.size() + model.grupos.size() + 1);
    paint.rows.push_back(headingCells(paint.columns));
    for (const RatioRow& r : model.relaciones)
        paint.rows.push_back(limitRow(QStringLiteral("R%1/%2").arg(r.id_num).arg(r.id_den),
                                      ratioCaption(r), r.minimo, r.maximo, r.valor, 2,
                                      decimalSeparator));
    for (const GroupRow& g : model.grupos)
        paint.rows.push_back(limitRow(QStringLiteral("G%1").arg(g.id_grupo), groupCaption(g),
                                      g.minimo, g.maximo, g.valor, 3, decimalSeparator));
    return paint;
}

LimitRowRef limitRowAt(const WorkingModel& model, int gridRow) {
    const int ratios = static_cast<int>(model.relaciones.size());
    const int groups = static_cast<int>(model.grupos.size());
    if (gridRow >= 1 && gridRow <= ratios)
        return {LimitRowRef::Kind::Ratio, gridRow - 1};
    if (gridRow > ratios && gridRow <= ratios + groups)
        return {LimitRowRef::Kind::Group, gridRow - 1 - ratios};
    return {};
}

GridPaint paintFlexProd(const WorkingModel& model, QChar decimalSeparator) {
    GridPaint paint;
    paint.columns = flexProdColumns();
    paint.rows.reserve(model.ingredients.size() + 1);
    paint.rows.push_back(headingCells(paint.columns));
    for (const auto& row : model.ingredients)
        paint.rows.push_back(ingredientRow(row, model.vSecaIng, decimalSeparator));
    return paint;
}

GridPaint paintFlexProp(const WorkingModel& model, QChar decimalSeparator, bool loading) {
    GridPaint paint;
    paint.columns = flexPropColumns();
    paint.rows.reserve(model.rsPropiedades.size() + 1);
    paint.rows.push_back(headingCells(paint.columns));
    for (const auto& row : model.rsPropiedades)
        paint.rows.push_back(nutrientRow(row, decimalSeparator, loading));
    return paint;
}

} // namespace tarvela::formulation
