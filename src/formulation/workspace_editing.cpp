#include "formulation/workspace_editing.h"

#include "db/statements.h"
#include "formulation/batch_quantity.h"
#include "formulation/dry_matter.h"
#include "text/format.h"

#include <algorithm>
#include <optional>

namespace tarvela::formulation {

namespace {

const QString kNotNumeric = QStringLiteral("El valor debe ser numérico");
const QString kNegative = QStringLiteral("El valor debe ser mayor que cero");

EditResult refused(const QString& message) {
    return {EditOutcome::Refused, message};
}

// The refusal of a typed value that is not a number, or is below 0; nothing when it may stand.
std::optional<EditResult> refusalOf(const Opt& typed) {
    if (!typed)
        return refused(kNotNumeric);
    if (*typed < 0)
        return refused(kNegative);
    return std::nullopt;
}

EditResult notFound(const QString& message) {
    return {EditOutcome::NotFound, message};
}

Opt* limitOf(IngredientRow& row, const QString& field) {
    return field == QStringLiteral("minimo") ? &row.minimo : &row.maximo;
}

Opt* limitOf(NutrientRow& row, const QString& field) {
    return field == QStringLiteral("minimo") ? &row.minimo : &row.maximo;
}

Opt optNumber(const QVariant& v) {
    return v.isNull() ? Opt() : Opt(v.toDouble());
}

} // namespace

EditResult editIngredientLimit(WorkingModel& model, int idProducto, const QString& field,
                               const QString& text) {
    const QString typed = text.trimmed();
    Opt value;
    if (!typed.isEmpty()) {
        value = text::parseUserNumber(typed);
        if (const auto refusal = refusalOf(value))
            return *refusal;
        // No ingredient limit goes beyond the largest batch.
        if (*value > kLargestBatch)
            return refused(QStringLiteral("El valor debe ser menor a 1000 unidades"));
        value = text::roundDecimal(*value, 3);
    }
    IngredientRow* row = model.findIngredient(idProducto);
    if (!row)
        return notFound(QStringLiteral("No se encuentra el Producto"));
    *limitOf(*row, field) = value;
    return {};
}

EditResult editIngredientPrice(WorkingModel& model, int idProducto, const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return {EditOutcome::Dropped, {}};
    const Opt price = text::parseUserNumber(typed);
    if (const auto refusal = refusalOf(price))
        return *refusal;
    IngredientRow* row = model.findIngredient(idProducto);
    if (!row)
        return notFound(QStringLiteral("No se encuentra el Ingrediente"));
    row->costo_humeda = text::roundDecimal(*price, 4);
    row->costo_seca = perDryMatter(row->costo_humeda, row->materia_seca);
    return {};
}

EditResult editIngredientQuantity(WorkingModel& model, int idProducto, const QString& field,
                                  const QString& text) {
    const QString typed = text.trimmed().isEmpty() ? QStringLiteral("0") : text.trimmed();
    const Opt quantity = text::parseUserNumber(typed);
    if (const auto refusal = refusalOf(quantity))
        return *refusal;
    IngredientRow* row = model.findIngredient(idProducto);
    if (!row)
        return notFound(QStringLiteral("No se encuentra el Ingrediente"));
    const double value = text::roundDecimal(*quantity, 3);
    if (field == QStringLiteral("cantidad_humeda")) {
        row->cantidad_humeda = value;
        row->cantidad_seca = text::roundDecimal(value * row->materia_seca.value_or(0) / 100.0, 3);
    } else {
        row->cantidad_seca = value;
        row->cantidad_humeda =
            text::roundDecimal(perDryMatter(value, row->materia_seca).value_or(0.0), 3);
    }
    recomputeShares(model);
    return {};
}

EditResult editNutrientLimit(WorkingModel& model, int idPropiedad, const QString& field,
                             const QString& text) {
    const QString typed = text.trimmed();
    Opt value;
    if (!typed.isEmpty()) {
        value = text::parseUserNumber(typed);
        if (!value)
            return refused(kNotNumeric);
        if (!text::withinTable(*value))
            return refused(text::outsideTableMessage());
        value = text::roundDecimal(*value, 2);
    }
    NutrientRow* row = model.findNutrient(idPropiedad);
    if (!row)
        return notFound(QStringLiteral("No se encuentra el Nutriente"));
    *limitOf(*row, field) = value;
    return {};
}

namespace {

// A limit typed for one side of a pair: empty is no limit; refused when not a number, below 0, or
// on the wrong side of the other limit.
EditResult editPairLimit(Opt& minimo, Opt& maximo, const QString& field, const QString& text,
                         int decimals, std::optional<double> largest) {
    const QString typed = text.trimmed();
    Opt value;
    if (!typed.isEmpty()) {
        value = text::parseUserNumber(typed);
        if (const auto refusal = refusalOf(value))
            return *refusal;
        if (largest && *value > *largest)
            return refused(QStringLiteral("El valor no puede ser mayor a la cantidad a elaborar"));
        value = text::roundDecimal(*value, decimals);
    }
    const bool isMin = field == QStringLiteral("minimo");
    const Opt& other = isMin ? maximo : minimo;
    if (value && other && (isMin ? *value > *other : *value < *other))
        return refused(QStringLiteral("El valor máximo debe ser mayor o igual al mínimo"));
    (isMin ? minimo : maximo) = value;
    return {};
}

} // namespace

EditResult editRatioLimit(WorkingModel& model, int idNum, int idDen, const QString& field,
                          const QString& text) {
    RatioRow* row = model.findRatio(idNum, idDen);
    if (!row)
        return notFound(QStringLiteral("No se encuentra la Relación"));
    return editPairLimit(row->minimo, row->maximo, field, text, 2, std::nullopt);
}

EditResult editGroupLimit(WorkingModel& model, int idGrupo, const QString& field,
                          const QString& text) {
    GroupRow* row = model.findGroup(idGrupo);
    if (!row)
        return notFound(QStringLiteral("No se encuentra el Grupo"));
    std::optional<double> batch;
    if (model.batchQuantity > 0)
        batch = model.batchQuantity;
    return editPairLimit(row->minimo, row->maximo, field, text, 3, batch);
}

AddResult addRatio(WorkingModel& model, int idNum, const QString& nombreNum, int idDen,
                   const QString& nombreDen) {
    if (idNum == idDen)
        return {false, QStringLiteral("El numerador y el denominador de la relación deben ser "
                                      "nutrientes distintos")};
    if (model.findRatio(idNum, idDen))
        return {false, QStringLiteral("La Relación Ya se encuentra Asignada a la Fórmula")};
    RatioRow row;
    row.id_num = idNum;
    row.id_den = idDen;
    row.nombreNum = nombreNum;
    row.nombreDen = nombreDen;
    model.relaciones.push_back(std::move(row));
    return {true, {}};
}

AddResult addGroup(WorkingModel& model, db::Connection& conn, int idGrupo) {
    if (model.findGroup(idGrupo))
        return {false, QStringLiteral("El Grupo Ya se encuentra Asignado a la Fórmula")};
    const QString key = db::sqlInt(idGrupo);
    const db::Result rs =
        conn.query(QStringLiteral("select nombre from grupos where id_grupo=") + key);
    if (rs.isEmpty())
        return {false, {}};
    GroupRow row;
    row.id_grupo = idGrupo;
    row.nombre = rs.value(0, 0).toString();
    const db::Result members =
        conn.query(QStringLiteral("select id_producto from grupo_producto where id_grupo=") + key +
                   QStringLiteral(" order by id_producto"));
    for (int r = 0; r < members.rowCount(); ++r)
        row.miembros.push_back(members.value(r, 0).toInt());
    model.grupos.push_back(std::move(row));
    return {true, {}};
}

bool removeRatio(WorkingModel& model, int idNum, int idDen) {
    const auto removed = std::erase_if(model.relaciones, [&](const RatioRow& r) {
        return r.id_num == idNum && r.id_den == idDen;
    });
    return removed > 0;
}

bool removeGroup(WorkingModel& model, int idGrupo) {
    const auto removed =
        std::erase_if(model.grupos, [&](const GroupRow& g) { return g.id_grupo == idGrupo; });
    return removed > 0;
}

QString editBoxText(const Opt& value, QChar decimalSeparator) {
    if (!value)
        return {};
    return text::formatFull(*value, decimalSeparator);
}

void recomputeShares(WorkingModel& model) {
    double wet = 0;
    double dry = 0;
    for (const IngredientRow& row : model.ingredients) {
        wet += row.cantidad_humeda.value_or(0);
        dry += row.cantidad_seca.value_or(0);
    }
    for (IngredientRow& row : model.ingredients) {
        row.porcentaje_humeda = wet != 0 ? row.cantidad_humeda.value_or(0) / wet : 0.0;
        row.porcentaje_seca = dry != 0 ? row.cantidad_seca.value_or(0) / dry : 0.0;
    }
}

AddResult addIngredient(WorkingModel& model, db::Connection& conn, int idProducto) {
    if (model.findIngredient(idProducto))
        return {false, QStringLiteral("El Ingrediente Ya se encuentra Asginado a la Fórmula")};
    const db::Result rs = conn.query(QStringLiteral("select * from productos where id_producto=") +
                                     db::sqlInt(idProducto));
    if (rs.isEmpty())
        return {false, {}};
    const QString nombre = rs.value(0, QStringLiteral("nombre")).toString();
    const Opt materiaSeca = optNumber(rs.value(0, QStringLiteral("materia_seca")));
    const Opt costo = optNumber(rs.value(0, QStringLiteral("costo")));
    if (!hasDryMatter(materiaSeca))
        return {false, QStringLiteral("El Ingrediente no posee materia seca definida") +
                           QStringLiteral("\n\n") + QStringLiteral("El ingrediente ") +
                           nombre.trimmed() + QStringLiteral(" no se ha ingresado a la Fórmule")};
    IngredientRow row;
    row.id_producto = idProducto;
    row.nombre = nombre;
    row.costo_humeda = costo;
    row.costo_seca = perDryMatter(costo, materiaSeca);
    row.materia_seca = materiaSeca;
    row.minimo = 0.0;
    row.cantidad_seca = row.porcentaje_seca = 0.0;
    row.cantidad_humeda = row.porcentaje_humeda = 0.0;
    row.materiaSecaActual = materiaSeca;
    row.costoHumedaActual = costo;
    model.ingredients.push_back(std::move(row));
    return {true, {}};
}

AddResult addNutrient(WorkingModel& model, int idPropiedad, const QString& nombre) {
    if (model.findNutrient(idPropiedad))
        return {false, QStringLiteral("El Nutriente Ya se encuentra Asginada a la Fórmula")};
    NutrientRow row;
    row.id_propiedad = idPropiedad;
    row.nombre = nombre;
    row.minimo = 0.0;
    model.rsPropiedades.push_back(std::move(row));
    return {true, {}};
}

bool removeIngredient(WorkingModel& model, int idProducto) {
    auto& rows = model.ingredients;
    const auto it = std::find_if(rows.begin(), rows.end(), [idProducto](const IngredientRow& r) {
        return r.id_producto == idProducto;
    });
    if (it == rows.end())
        return false;
    rows.erase(it);
    recomputeShares(model);
    return true;
}

bool removeNutrient(WorkingModel& model, int idPropiedad) {
    auto& rows = model.rsPropiedades;
    const auto it = std::find_if(rows.begin(), rows.end(), [idPropiedad](const NutrientRow& r) {
        return r.id_propiedad == idPropiedad;
    });
    if (it == rows.end())
        return false;
    rows.erase(it);
    return true;
}

void refreshCatalogValues(WorkingModel& model, db::Connection& conn, int idProducto) {
    const db::Result rs = conn.query(QStringLiteral("select * from productos where id_producto=") +
                                     db::sqlInt(idProducto));
    IngredientRow* row = model.findIngredient(idProducto);
    if (rs.isEmpty() || !row)
        return;
    row->materiaSecaActual = optNumber(rs.value(0, QStringLiteral("materia_seca")));
    row->costoHumedaActual = optNumber(rs.value(0, QStringLiteral("costo")));
}

} // namespace tarvela::formulation
