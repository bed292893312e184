#include "formulation/loading.h"

#include "formulation/formula_composition.h"
#include "formulation/missing_catalog_items.h"

#include "db/statements.h"
#include "text/format.h"

#include <QHash>

namespace tarvela::formulation {

namespace {

Opt optDouble(const QVariant& v) {
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? Opt(d) : std::nullopt;
}

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
    const db::Result rs = conn.query(
        QStringLiteral("SELECT fp.id_propiedad,p.nombre,fp.minimo,fp.maximo,fp.valor FROM "
                       "formula_propiedad fp, propiedades p WHERE fp.id_propiedad=p.id_propiedad "
                       "AND fp.id_formula=") +
        db::sqlInt(model.formulaId) + QStringLiteral(" ORDER BY p.nombre"));
    const int cId = rs.column(QStringLiteral("id_propiedad"));
    const int cNombre = rs.column(QStringLiteral("nombre"));
    const int cMin = rs.column(QStringLiteral("minimo"));
    const int cMax = rs.column(QStringLiteral("maximo"));
    const int cValor = rs.column(QStringLiteral("valor"));
    model.rsPropiedades.reserve(static_cast<size_t>(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        NutrientRow row;
        row.id_propiedad = rs.value(r, cId).toInt();
        row.nombre = rs.value(r, cNombre).toString();
        row.minimo = optDouble(rs.value(r, cMin));
        row.maximo = optDouble(rs.value(r, cMax));
        row.valor = optDouble(rs.value(r, cValor));
        row.valorAnterior = row.valor;
        model.rsPropiedades.push_back(std::move(row));
    }
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
        QStringLiteral(
            "SELECT fp.id_producto,p.nombre,fp.costo,p.costo AS costoActual,fp.materia_seca,"
            "p.materia_Seca AS materiaSecaActual,fp.minimo,fp.maximo,fp.porcentaje_humeda,"
            "fp.porcentaje_seca,fp.cantidad_humeda,fp.cantidad_seca FROM formula_producto fp, "
            "productos p WHERE fp.id_producto=p.id_producto AND fp.id_formula=") +
        db::sqlInt(model.formulaId) + QStringLiteral(" ORDER BY fp.porcentaje_humeda DESC"));
    const int cId = rs.column(QStringLiteral("id_producto"));
    const int cNombre = rs.column(QStringLiteral("nombre"));
    const int cCosto = rs.column(QStringLiteral("costo"));
    const int cCostoActual = rs.column(QStringLiteral("costoActual"));
    const int cMs = rs.column(QStringLiteral("materia_seca"));
    const int cMsActual = rs.column(QStringLiteral("materiaSecaActual"));
    const int cMin = rs.column(QStringLiteral("minimo"));
    const int cMax = rs.column(QStringLiteral("maximo"));
    const int cPorH = rs.column(QStringLiteral("porcentaje_humeda"));
    const int cPorS = rs.column(QStringLiteral("porcentaje_seca"));
    const int cCanH = rs.column(QStringLiteral("cantidad_humeda"));
    const int cCanS = rs.column(QStringLiteral("cantidad_seca"));
    model.ingredients.reserve(static_cast<size_t>(rs.rowCount()));
    for (int r = 0; r < rs.rowCount(); ++r) {
        const Opt materiaSeca = optDouble(rs.value(r, cMs));
        const QString nombre = rs.value(r, cNombre).toString();
        if (!(materiaSeca && *materiaSeca > 0)) {
            desktop.message(QStringLiteral("El Ingrediente no posee materia seca definida") +
                                QStringLiteral("\n\n") + QStringLiteral("El ingrediente ") +
                                nombre.trimmed() +
                                QStringLiteral(" no se ha ingresado a la Fórmula"),
                            MsgIcon::Critical);
            continue;
        }
        IngredientRow row;
        row.id_producto = rs.value(r, cId).toInt();
        row.nombre = nombre;
        row.costo_humeda = optDouble(rs.value(r, cCosto));
        if (row.costo_humeda)
            row.costo_seca = *row.costo_humeda / (*materiaSeca / 100.0);
        row.materia_seca = materiaSeca;
        row.minimo = optDouble(rs.value(r, cMin));
        row.maximo = optDouble(rs.value(r, cMax));
        row.porcentaje_humeda = optDouble(rs.value(r, cPorH));
        row.porcentaje_seca = optDouble(rs.value(r, cPorS));
        row.cantidad_humeda = optDouble(rs.value(r, cCanH));
        row.cantidad_seca = optDouble(rs.value(r, cCanS));
        row.materiaSecaActual = optDouble(rs.value(r, cMsActual));
        row.costoHumedaActual = optDouble(rs.value(r, cCostoActual));
        model.ingredients.push_back(std::move(row));
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

    model.modificado = formula.value(0, QStringLiteral("modificado")).toString();
    model.header.codigo = formula.value(0, QStringLiteral("codigo")).toString().trimmed();
    model.header.version = formula.value(0, QStringLiteral("version")).toString();
    model.header.producto = formula.value(0, QStringLiteral("producto")).toString();
    model.header.fechaCreacion =
        text::formatValue(formula.value(0, QStringLiteral("fecha_creacion")),
                          QStringLiteral("dd/mm/yyyy"), decimalSeparator);
    model.header.fechaModificacion =
        text::formatValue(formula.value(0, QStringLiteral("fecha_modificacion")),
                          QStringLiteral("dd/mm/yyyy"), decimalSeparator);
    const double cantidad = formula.value(0, QStringLiteral("cantidad")).toDouble();
    model.txtCantidad = text::formatNumber(cantidad, QStringLiteral("0.000"), decimalSeparator);
    model.batchQuantity = cantidad;
    model.vSecaIng = formula.value(0, QStringLiteral("tipoBase")).toInt() == 0;
    model.vSecaNut = formula.value(0, QStringLiteral("tipoBaseNutrientes")).toInt() == 0;

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
