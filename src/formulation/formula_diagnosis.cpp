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
    return kDecimals.decimalsOf(limit.kind);
}

DiagnosedLimit named(const simplex::LimitChange& change, const WorkingModel& stated,
                     const QHash<int, QString>& units) {
    return describeLimit(change.limit, change.newValue, stated, units);
}

} // namespace

DiagnosedLimit describeLimit(const simplex::Limit& limit, std::optional<double> newValue,
                             const WorkingModel& stated, const QHash<int, QString>& units) {
    const simplex::LimitChange change{limit, newValue};
    DiagnosedLimit out;
    out.kind = limit.kind;
    out.side = limit.side;
    out.valor = limit.value;
    out.nuevoValor = change.newValue;
    const auto index = static_cast<size_t>(limit.index);
    switch (limit.kind) {
    case simplex::LimitKind::Nutrient: {
        const NutrientRow& n = stated.rsPropiedades[index];
        out.id = n.id_propiedad;
        out.nombre = n.nombre.trimmed();
        out.unidad = units.value(n.id_propiedad);
        break;
    }
    case simplex::LimitKind::Ingredient: {
        const IngredientRow& row = stated.ingredients[index];
        out.id = row.id_producto;
        out.nombre = row.nombre.trimmed();
        break;
    }
    case simplex::LimitKind::Ratio: {
        const RatioRow& ratio = stated.relaciones[index];
        out.id = ratio.id_num;
        out.idDen = ratio.id_den;
        out.nombre = ratioName(ratio);
        break;
    }
    case simplex::LimitKind::Group: {
        const GroupRow& group = stated.grupos[index];
        out.id = group.id_grupo;
        out.nombre = group.nombre.trimmed();
        break;
    }
    case simplex::LimitKind::Total:
        out.nombre = QStringLiteral("Cantidad a elaborar");
        break;
    }
    return out;
}

FormulaDiagnosis diagnoseFormula(const WorkingModel& model, db::Connection& conn) {
    // The stated problem sorts the ingredients by key: a copy keeps the window's order.
    WorkingModel stated = model;
    const simplex::LpProblem problem = statedProblem(stated, model.batchQuantity, conn);
    const simplex::Diagnosis diagnosis = simplex::diagnose(problem, kDecimals);
    const QHash<int, QString> units = nutrientUnits(model, conn);

    FormulaDiagnosis out;
    out.limitsMet = diagnosis.limitsMet;
    for (const std::vector<simplex::LimitChange>& group : diagnosis.conflicts) {
        std::vector<DiagnosedLimit> limits;
        for (const simplex::LimitChange& change : group)
            limits.push_back(named(change, stated, units));
        out.conflicts.push_back(std::move(limits));
    }
    if (diagnosis.relaxation) {
        for (const simplex::LimitChange& change : diagnosis.relaxation->changes)
            out.relaxation.push_back(named(change, stated, units));
        out.costoUnitario = diagnosis.relaxation->unitCost;
    }
    return out;
}

QString limitKindName(simplex::LimitKind kind) {
    switch (kind) {
    case simplex::LimitKind::Nutrient:
        return QStringLiteral("nutriente");
    case simplex::LimitKind::Ratio:
        return QStringLiteral("relacion");
    case simplex::LimitKind::Ingredient:
        return QStringLiteral("ingrediente");
    case simplex::LimitKind::Group:
        return QStringLiteral("grupo");
    case simplex::LimitKind::Total:
        return QStringLiteral("total");
    }
    return {};
}

QString limitSideName(simplex::LimitSide side) {
    return side == simplex::LimitSide::Minimum ? QStringLiteral("minimo")
                                               : QStringLiteral("maximo");
}

void applyRelaxation(WorkingModel& model, const FormulaDiagnosis& diagnosis) {
    for (const DiagnosedLimit& limit : diagnosis.relaxation) {
        if (!limit.nuevoValor)
            continue;
        const bool isMin = limit.side == simplex::LimitSide::Minimum;
        switch (limit.kind) {
        case simplex::LimitKind::Nutrient:
            if (NutrientRow* n = model.findNutrient(limit.id))
                (isMin ? n->minimo : n->maximo) = limit.nuevoValor;
            break;
        case simplex::LimitKind::Ingredient:
            if (IngredientRow* row = model.findIngredient(limit.id))
                (isMin ? row->minimo : row->maximo) = limit.nuevoValor;
            break;
        case simplex::LimitKind::Ratio:
            if (RatioRow* r = model.findRatio(limit.id, limit.idDen))
                (isMin ? r->minimo : r->maximo) = limit.nuevoValor;
            break;
        case simplex::LimitKind::Group:
            if (GroupRow* g = model.findGroup(limit.id))
                (isMin ? g->minimo : g->maximo) = limit.nuevoValor;
            break;
        case simplex::LimitKind::Total: // the relaxation keeps the batch
            break;
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
    if (limit.kind == simplex::LimitKind::Total)
        return limit.nombre + QLatin1Char(' ') + value;
    const QString side = limit.side == simplex::LimitSide::Minimum ? QStringLiteral("Mínimo para ")
                                                                   : QStringLiteral("Máximo para ");
    QString kind;
    if (limit.kind == simplex::LimitKind::Ratio)
        kind = QStringLiteral("Relación ");
    else if (limit.kind == simplex::LimitKind::Group)
        kind = QStringLiteral("Grupo ");
    return side + kind + limit.nombre + QLatin1Char(' ') + value;
}

} // namespace tarvela::formulation
