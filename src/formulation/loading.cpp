#include "formulation/loading.h"

#include "formulation/formula_composition.h"
#include "formulation/missing_catalog_items.h"
#include "formulation/stored_rows.h"

#include "db/statements.h"
#include "text/format.h"

#include <QHash>

#include <algorithm>

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

// The ratio limits of the formula, by the numerator's then the denominator's name. A ratio
// whose nutrient is no longer in the catalog drops out through the join.
void loadRatios(WorkingModel& model, db::Connection& conn) {
    model.relaciones.clear();
    const db::Result rs = conn.query(
        QStringLiteral("SELECT fr.id_propiedad_num,fr.id_propiedad_den,pn.nombre AS nombreNum,"
                       "pd.nombre AS nombreDen,fr.minimo,fr.maximo,fr.valor FROM "
                       "formula_relacion fr, propiedades pn, propiedades pd WHERE "
                       "fr.id_propiedad_num=pn.id_propiedad AND fr.id_propiedad_den="
                       "pd.id_propiedad AND fr.id_formula=") +
        db::sqlInt(model.formulaId) + QStringLiteral(" ORDER BY pn.nombre, pd.nombre"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        RatioRow row;
        row.id_num = rs.value(r, 0).toInt();
        row.id_den = rs.value(r, 1).toInt();
        row.nombreNum = rs.value(r, 2).toString();
        row.nombreDen = rs.value(r, 3).toString();
        row.minimo = optDouble(rs.value(r, 4));
        row.maximo = optDouble(rs.value(r, 5));
        row.valor = optDouble(rs.value(r, 6));
        row.valorAnterior = row.valor;
        model.relaciones.push_back(std::move(row));
    }
}

// The group limits of the formula by the group's name, each with the group's members as the
// catalog holds them now. A group no longer in the catalog drops out through the join.
void loadGroups(WorkingModel& model, db::Connection& conn) {
    model.grupos.clear();
    const QString id = db::sqlInt(model.formulaId);
    const db::Result rs =
        conn.query(QStringLiteral("SELECT fg.id_grupo,g.nombre,fg.minimo,fg.maximo,fg.valor FROM "
                                  "formula_grupo fg, grupos g WHERE fg.id_grupo=g.id_grupo AND "
                                  "fg.id_formula=") +
                   id + QStringLiteral(" ORDER BY g.nombre"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        GroupRow row;
        row.id_grupo = rs.value(r, 0).toInt();
        row.nombre = rs.value(r, 1).toString();
        row.minimo = optDouble(rs.value(r, 2));
        row.maximo = optDouble(rs.value(r, 3));
        row.valor = optDouble(rs.value(r, 4));
        row.valorAnterior = row.valor;
        model.grupos.push_back(std::move(row));
    }
    if (model.grupos.empty())
        return;
    const db::Result members = conn.query(
        QStringLiteral("SELECT gp.id_grupo,gp.id_producto FROM grupo_producto gp, formula_grupo "
                       "fg WHERE gp.id_grupo=fg.id_grupo AND fg.id_formula=") +
        id + QStringLiteral(" ORDER BY gp.id_grupo, gp.id_producto"));
    for (int r = 0; r < members.rowCount(); ++r)
        if (GroupRow* group = model.findGroup(members.value(r, 0).toInt()))
            group->miembros.push_back(members.value(r, 1).toInt());
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
        model.relaciones.clear();
        model.grupos.clear();
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
    loadRatioAndGroupLimits(model, conn);
    return true;
}

void loadRatioAndGroupLimits(WorkingModel& model, db::Connection& conn) {
    loadRatios(model, conn);
    loadGroups(model, conn);
}

void actuResultados(WorkingModel& model, db::Connection& conn, QChar decimalSeparator) {
    const FormulaComposition composition(conn, model);
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
    const auto valueOf = [&](int idPropiedad) {
        double valor = 0;
        for (const IngredientRow& row : model.ingredients) {
            const CatalogContent* c = composition.find(idPropiedad, row.id_producto);
            if (!c)
                continue;
            if (model.vSecaNut)
                valor += c->valor * val(row.porcentaje_seca);
            else
                valor += c->valor * (val(row.materia_seca) / 100.0) * val(row.porcentaje_humeda);
        }
        return valor;
    };
    for (NutrientRow& nutrient : model.rsPropiedades)
        nutrient.valor = valueOf(nutrient.id_propiedad);
    // A ratio has no value while its denominator's value in the mix is 0.
    for (RatioRow& ratio : model.relaciones) {
        const double den = valueOf(ratio.id_den);
        ratio.valor = den != 0 ? Opt(valueOf(ratio.id_num) / den) : std::nullopt;
    }
    // A group's quantity on the ingredients' basis, as its limits are.
    for (GroupRow& group : model.grupos) {
        double quantity = 0;
        for (const IngredientRow& row : model.ingredients)
            if (std::find(group.miembros.begin(), group.miembros.end(), row.id_producto) !=
                group.miembros.end())
                quantity += val(model.vSecaIng ? row.cantidad_seca : row.cantidad_humeda);
        group.valor = quantity;
    }

    model.sortIngredientsForDisplay();
}

} // namespace tarvela::formulation
