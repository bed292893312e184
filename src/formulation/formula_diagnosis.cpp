#include "formulation/formula_diagnosis.h"

#include "db/statements.h"
#include "formulation/stated_problem.h"
#include "solver/diagnosis.h"
#include "text/format.h"

#include <QHash>
#include <QStringList>

namespace tarvela::formulation {

namespace {

const simplex::DiagnosisOptions kDecimals; // the grids' decimals: nutrients, ingredients, batch

int displayDecimals(const DiagnosedLimit& limit) {
    if (limit.tipo == QLatin1String("nutriente"))
        return kDecimals.nutrientDecimals;
    if (limit.tipo == QLatin1String("ingrediente"))
        return kDecimals.ingredientDecimals;
    return kDecimals.batchDecimals;
}

// Names a limit of the stated problem: ingredients are those of the stated (key-sorted)
// working table, nutrients those of the nutrient table in its order.
DiagnosedLimit named(const simplex::LimitChange& change, const WorkingModel& stated,
                     const QHash<int, QString>& units) {
    const simplex::Limit& limit = change.limit;
    DiagnosedLimit out;
    out.limite = limit.side == simplex::LimitSide::Minimum ? QStringLiteral("minimo")
                                                           : QStringLiteral("maximo");
    out.valor = limit.value;
    out.nuevoValor = change.newValue;
    const auto index = static_cast<size_t>(limit.index);
    switch (limit.kind) {
    case simplex::LimitKind::Nutrient: {
        const NutrientRow& n = stated.rsPropiedades[index];
        out.tipo = QStringLiteral("nutriente");
        out.id = n.id_propiedad;
        out.nombre = n.nombre.trimmed();
        out.unidad = units.value(n.id_propiedad);
        break;
    }
    case simplex::LimitKind::Ingredient: {
        const IngredientRow& row = stated.ingredients[index];
        out.tipo = QStringLiteral("ingrediente");
        out.id = row.id_producto;
        out.nombre = row.nombre.trimmed();
        break;
    }
    case simplex::LimitKind::Total:
        out.tipo = QStringLiteral("total");
        out.nombre = QStringLiteral("Cantidad a elaborar");
        break;
    }
    return out;
}

} // namespace

FormulaDiagnosis diagnoseFormula(const WorkingModel& model, db::Connection& conn) {
    // The stated problem sorts the ingredients by key: a copy keeps the window's order.
    WorkingModel stated = model;
    const simplex::LpProblem problem = statedProblem(stated, model.batchQuantity, conn);
    const simplex::Diagnosis diagnosis = simplex::diagnose(problem, kDecimals);
    const QHash<int, QString> units = nutrientUnits(model, conn);

    FormulaDiagnosis out;
    out.limitsMet = diagnosis.limitsMet;
    for (const simplex::LimitChange& change : diagnosis.conflict)
        out.conflict.push_back(named(change, stated, units));
    if (diagnosis.relaxation) {
        for (const simplex::LimitChange& change : diagnosis.relaxation->changes)
            out.relaxation.push_back(named(change, stated, units));
        out.costoUnitario = diagnosis.relaxation->unitCost;
    }
    return out;
}

void applyRelaxation(WorkingModel& model, const FormulaDiagnosis& diagnosis) {
    for (const DiagnosedLimit& limit : diagnosis.relaxation) {
        if (!limit.nuevoValor)
            continue;
        const bool isMin = limit.limite == QLatin1String("minimo");
        if (limit.tipo == QLatin1String("nutriente")) {
            if (NutrientRow* n = model.findNutrient(limit.id))
                (isMin ? n->minimo : n->maximo) = limit.nuevoValor;
        } else if (limit.tipo == QLatin1String("ingrediente")) {
            if (IngredientRow* row = model.findIngredient(limit.id))
                (isMin ? row->minimo : row->maximo) = limit.nuevoValor;
        }
    }
}

QString limitValueText(const DiagnosedLimit& limit, double value, QChar sep) {
    const int shown = displayDecimals(limit);
    const int decimals = simplex::decimalsFor(value, shown);
    const QString pattern = QStringLiteral("0.") + QString(shown, QLatin1Char('0')) +
                            QString(decimals - shown, QLatin1Char('#'));
    QString text = text::formatNumber(value, pattern, sep);
    if (!limit.unidad.isEmpty())
        text += QLatin1Char(' ') + limit.unidad;
    return text;
}

QString limitCaption(const DiagnosedLimit& limit, QChar sep) {
    const QString value = limitValueText(limit, limit.valor, sep);
    if (limit.tipo == QLatin1String("total"))
        return limit.nombre + QLatin1Char(' ') + value;
    const QString side = limit.limite == QLatin1String("minimo") ? QStringLiteral("Mínimo para ")
                                                                 : QStringLiteral("Máximo para ");
    return side + limit.nombre + QLatin1Char(' ') + value;
}

} // namespace tarvela::formulation
