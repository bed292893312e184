#include "formulation/loading.h"

#include "formulation/formula_composition.h"
#include "formulation/missing_catalog_items.h"
#include "formulation/stored_rows.h"

#include "db/statements.h"
#include "text/format.h"

#include <QHash>

namespace tarvela::formulation {

namespace {

double val(const Opt& v) {
    return v.value_or(0.0);
}

void clearTotals(WorkingModel& model) {
    model.totals = Totals{};
    model.totalsTexts = TotalsTexts{};
    model.vCostoHumeda = 0;
    model.vMateriaSeca = 0;
}

void clearHeader(WorkingModel& model) {
    model.header = FormulaHeader{};
    model.txtCantidad.clear();
    model.batchQuantity = 0;
}

void loadNutrients(WorkingModel& model, db::Connection& conn) {
    model.rsPropiedades.clear();
    const db::Result rs =
        conn.query(QStringLiteral("SELECT ") + storedNutrientColumns() +
                   QStringLiteral(" FROM formula_propiedad fp, propiedades p "
                                  "WHERE fp.id_propiedad=p.id_propiedad AND "
                                  "fp.id_formula=") +
                   db::sqlInt(model.formulaId) + QStringLiteral(" ORDER BY p.nombre"));
    const StoredNutrients stored(rs);
    model.rsPropiedades.reserve(static_cast<size_t>(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r)
        model.rsPropiedades.push_back(stored.row(r));
}

// The keys of the formula's rows in a detail table whose item the catalog no longer lists.
std::vector<int> missingFromCatalog(db::Connection& conn, int formulaId, const QString& detail,
                                    const QString& catalog, const QString& key) {
    const db::Result rs = conn.query(QStringLiteral("SELECT fp.%3 FROM %1 fp LEFT JOIN %2 p ON "
                                                    "fp.%3=p.%3 WHERE fp.id_formula=")
                                         .arg(detail, catalog, key) +
                                     db::sqlInt(formulaId) +
                                     QStringLiteral(" AND p.%1 IS NULL ORDER BY fp.%1").arg(key));
    std::vector<int> keys;
    for (int r = 0; r < rs.rowCount(); ++r)
        keys.push_back(rs.value(r, 0).toInt());
    return keys;
}

void loadIngredients(WorkingModel& model, db::Connection& conn, Desktop& desktop) {
    model.ingredients.clear();
    const db::Result rs = conn.query(
        QStringLiteral("SELECT ") + storedIngredientColumns() +
        QStringLiteral(" FROM formula_producto fp, productos p WHERE fp.id_producto=p.id_producto "
                       "AND fp.id_formula=") +
        db::sqlInt(model.formulaId) + QStringLiteral(" ORDER BY fp.porcentaje_humeda DESC"));
    const StoredIngredients stored(rs);
    model.ingredients.reserve(static_cast<size_t>(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        QString leftOut;
        std::optional<IngredientRow> row = stored.row(r, leftOut);
        if (row)
            model.ingredients.push_back(std::move(*row));
        else
            desktop.message(leftOut, MsgIcon::Critical);
    }
}

} // namespace

void chooseIngredientBasis(WorkingModel& model, bool dry) {
    model.vSecaIng = dry;
    if (model.vSecaIng && !model.vSecaNut)
        model.vSecaNut = true;
}

void chooseNutrientBasis(WorkingModel& model, bool dry) {
    model.vSecaNut = dry;
    if (!model.vSecaNut && model.vSecaIng)
        model.vSecaIng = false;
}

void actuFormula(WorkingModel& model, db::Connection& conn, Desktop& desktop,
                 QChar decimalSeparator) {
    BusyPointer busy(desktop);
    LoadingFlag flag(model);
    if (loadFormula(model, conn, desktop, decimalSeparator) && model.formulaId != 0) {
        reportMissingCatalogItems(model, desktop);
        actuResultados(model, conn, decimalSeparator);
    }
}

bool loadFormula(WorkingModel& model, db::Connection& conn, Desktop& desktop,
                 QChar decimalSeparator) {
    model.missingNutrients.clear();
    model.missingIngredients.clear();
    if (model.formulaId == 0) {
        clearHeader(model);
        clearTotals(model);
        model.vSecaIng = true;
        model.vSecaNut = true;
        model.rsPropiedades.clear();
        model.ingredients.clear();
        return true;
    }

    const db::Result formula = conn.query(
        QStringLiteral("SELECT * FROM formulas WHERE id_formula=") + db::sqlInt(model.formulaId));
    if (formula.isEmpty()) {
        desktop.message(QStringLiteral("No se pudo establecer la Fórmula"), MsgIcon::Critical);
        clearHeader(model);
        model.formulaId = 0;
        return false;
    }

    readStoredHeader(model, formula, 0, decimalSeparator);

    loadNutrients(model, conn);
    loadIngredients(model, conn, desktop);
    model.missingNutrients =
        missingFromCatalog(conn, model.formulaId, QStringLiteral("formula_propiedad"),
                           QStringLiteral("propiedades"), QStringLiteral("id_propiedad"));
    model.missingIngredients =
        missingFromCatalog(conn, model.formulaId, QStringLiteral("formula_producto"),
                           QStringLiteral("productos"), QStringLiteral("id_producto"));
    return true;
}

void actuResultados(WorkingModel& model, db::Connection& conn, QChar decimalSeparator) {
    const FormulaComposition composition(conn, model.rsPropiedades, model.ingredients);
    actuResultados(model, composition, decimalSeparator);
}

void actuResultados(WorkingModel& model, const FormulaComposition& composition,
                    QChar decimalSeparator) {
    model.sortIngredientsById();

    Totals t;
    for (IngredientRow& row : model.ingredients) {
        t.cantidadSeca += val(row.cantidad_seca);
        t.cantidadHumeda += val(row.cantidad_humeda);
        t.porcentajeSeca += val(row.porcentaje_seca);
        t.porcentajeHumeda += val(row.porcentaje_humeda);
        t.costoUnitarioHumeda += val(row.porcentaje_humeda) * val(row.costo_humeda);
        t.costoUnitarioSeca += val(row.porcentaje_seca) * val(row.costo_seca);
        t.materiaSeca += val(row.porcentaje_humeda) * val(row.materia_seca);
        const double costo = val(row.cantidad_humeda) * val(row.costo_humeda);
        t.costoTotal += costo;
        row.costo_total = costo;
    }
    model.totals = t;

    TotalsTexts& texts = model.totalsTexts;
    const QChar sep = decimalSeparator;
    texts.txtCanH = text::formatNumber(t.cantidadHumeda, QStringLiteral("#####0.00#"), sep);
    texts.txtCanS = text::formatNumber(t.cantidadSeca, QStringLiteral("#####0.00#"), sep);
    texts.txtPorH = text::formatNumber(t.porcentajeHumeda * 100, QStringLiteral("#####0.00"), sep);
    texts.txtPorS = text::formatNumber(t.porcentajeSeca * 100, QStringLiteral("#####0.00"), sep);
    texts.txtCosH = QStringLiteral("$ ") +
                    text::formatNumber(t.costoUnitarioHumeda, QStringLiteral("#####0.00##"), sep);
    texts.txtCosS = QStringLiteral("$ ") +
                    text::formatNumber(t.costoUnitarioSeca, QStringLiteral("#####0.00##"), sep);
    texts.txtMatSeca =
        text::formatNumber(t.materiaSeca, QStringLiteral("#####0.00"), sep) + QStringLiteral(" %");
    texts.txtCosTot =
        QStringLiteral("$ ") + text::formatNumber(t.costoTotal, QStringLiteral("#####0.00##"), sep);
    model.vCostoHumeda = t.costoUnitarioHumeda;
    model.vMateriaSeca = t.materiaSeca;

    const auto notHundred = [](const QString& text) {
        const std::optional<double> v = text::parseUserNumber(text);
        return !v || *v != 100.0;
    };
    texts.porHOutOfRange = notHundred(texts.txtPorH);
    texts.porSOutOfRange = notHundred(texts.txtPorS);

    model.txtCantidad = model.vSecaIng ? texts.txtCanS : texts.txtCanH;

    // Nutrient values from the catalog contents, ingredients in key order. An ingredient's dry
    // matter is the formula's own, the one the run solved with.
    for (NutrientRow& nutrient : model.rsPropiedades) {
        double valor = 0;
        for (const IngredientRow& row : model.ingredients) {
            const CatalogContent* c = composition.find(nutrient.id_propiedad, row.id_producto);
            if (!c)
                continue;
            if (model.vSecaNut)
                valor += c->valor * val(row.porcentaje_seca);
            else
                valor += c->valor * (val(row.materia_seca) / 100.0) * val(row.porcentaje_humeda);
        }
        nutrient.valor = valor;
    }

    model.sortIngredientsForDisplay();
}

} // namespace tarvela::formulation
