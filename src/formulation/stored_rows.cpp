#include "formulation/stored_rows.h"

#include "text/format.h"

namespace tarvela::formulation {

Opt optDouble(const QVariant& v) {
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? Opt(d) : std::nullopt;
}

QString storedNutrientColumns() {
    return QStringLiteral("fp.id_propiedad,p.nombre,fp.minimo,fp.maximo,fp.valor");
}

QString storedIngredientColumns() {
    return QStringLiteral(
        "fp.id_producto,p.nombre,fp.costo,p.costo AS costoActual,fp.materia_seca,"
        "p.materia_Seca AS materiaSecaActual,fp.minimo,fp.maximo,fp.porcentaje_humeda,"
        "fp.porcentaje_seca,fp.cantidad_humeda,fp.cantidad_seca");
}

void readStoredHeader(WorkingModel& model, const db::Result& formula, int r,
                      QChar decimalSeparator) {
    model.modificado = formula.value(r, QStringLiteral("modificado")).toString();
    model.header.codigo = formula.value(r, QStringLiteral("codigo")).toString().trimmed();
    model.header.version = formula.value(r, QStringLiteral("version")).toString();
    model.header.producto = formula.value(r, QStringLiteral("producto")).toString();
    model.header.fechaCreacion =
        text::formatValue(formula.value(r, QStringLiteral("fecha_creacion")),
                          QStringLiteral("dd/mm/yyyy"), decimalSeparator);
    model.header.fechaModificacion =
        text::formatValue(formula.value(r, QStringLiteral("fecha_modificacion")),
                          QStringLiteral("dd/mm/yyyy"), decimalSeparator);
    const double cantidad = formula.value(r, QStringLiteral("cantidad")).toDouble();
    model.txtCantidad = text::formatNumber(cantidad, QStringLiteral("0.000"), decimalSeparator);
    model.batchQuantity = cantidad;
    model.vSecaIng = formula.value(r, QStringLiteral("tipoBase")).toInt() == 0;
    model.vSecaNut = formula.value(r, QStringLiteral("tipoBaseNutrientes")).toInt() == 0;
}

StoredNutrients::StoredNutrients(const db::Result& rs)
    : rs_(rs), id_(rs.column(QStringLiteral("id_propiedad"))),
      nombre_(rs.column(QStringLiteral("nombre"))), minimo_(rs.column(QStringLiteral("minimo"))),
      maximo_(rs.column(QStringLiteral("maximo"))), valor_(rs.column(QStringLiteral("valor"))) {}

NutrientRow StoredNutrients::row(int r) const {
    NutrientRow row;
    row.id_propiedad = rs_.value(r, id_).toInt();
    row.nombre = rs_.value(r, nombre_).toString();
    row.minimo = optDouble(rs_.value(r, minimo_));
    row.maximo = optDouble(rs_.value(r, maximo_));
    row.valor = optDouble(rs_.value(r, valor_));
    row.valorAnterior = row.valor;
    return row;
}

StoredIngredients::StoredIngredients(const db::Result& rs)
    : rs_(rs), id_(rs.column(QStringLiteral("id_producto"))),
      nombre_(rs.column(QStringLiteral("nombre"))), costo_(rs.column(QStringLiteral("costo"))),
      costoActual_(rs.column(QStringLiteral("costoActual"))),
      ms_(rs.column(QStringLiteral("materia_seca"))),
      msActual_(rs.column(QStringLiteral("materiaSecaActual"))),
      minimo_(rs.column(QStringLiteral("minimo"))), maximo_(rs.column(QStringLiteral("maximo"))),
      porH_(rs.column(QStringLiteral("porcentaje_humeda"))),
      porS_(rs.column(QStringLiteral("porcentaje_seca"))),
      canH_(rs.column(QStringLiteral("cantidad_humeda"))),
      canS_(rs.column(QStringLiteral("cantidad_seca"))) {}

std::optional<IngredientRow> StoredIngredients::row(int r, QString& leftOut) const {
    const Opt materiaSeca = optDouble(rs_.value(r, ms_));
    const QString nombre = rs_.value(r, nombre_).toString();
    if (!(materiaSeca && *materiaSeca > 0)) {
        leftOut = QStringLiteral("El Ingrediente no posee materia seca definida") +
                  QStringLiteral("\n\n") + QStringLiteral("El ingrediente ") + nombre.trimmed() +
                  QStringLiteral(" no se ha ingresado a la Fórmula");
        return std::nullopt;
    }
    IngredientRow row;
    row.id_producto = rs_.value(r, id_).toInt();
    row.nombre = nombre;
    row.costo_humeda = optDouble(rs_.value(r, costo_));
    if (row.costo_humeda)
        row.costo_seca = *row.costo_humeda / (*materiaSeca / 100.0);
    row.materia_seca = materiaSeca;
    row.minimo = optDouble(rs_.value(r, minimo_));
    row.maximo = optDouble(rs_.value(r, maximo_));
    row.porcentaje_humeda = optDouble(rs_.value(r, porH_));
    row.porcentaje_seca = optDouble(rs_.value(r, porS_));
    row.cantidad_humeda = optDouble(rs_.value(r, canH_));
    row.cantidad_seca = optDouble(rs_.value(r, canS_));
    row.materiaSecaActual = optDouble(rs_.value(r, msActual_));
    row.costoHumedaActual = optDouble(rs_.value(r, costoActual_));
    return row;
}

} // namespace tarvela::formulation
