#include "cli/curve_output.h"

#include "cli/terminal_output.h"
#include "text/format.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

namespace tarvela::cli {

namespace {

using formulation::CostCurve;
using formulation::CurveKind;
using formulation::CurvePoint;

QJsonValue json(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonArray texts(const std::vector<QString>& list) {
    QJsonArray out;
    for (const QString& s : list)
        out.append(s);
    return out;
}

QString roleName(CurvePoint::Role role) {
    switch (role) {
    case CurvePoint::Role::Change:
        return QStringLiteral("cambio");
    case CurvePoint::Role::Edge:
        return QStringLiteral("borde");
    case CurvePoint::Role::Step:
        break;
    }
    return QStringLiteral("paso");
}

QString joined(const std::vector<QString>& names) {
    QStringList escaped;
    for (const QString& n : names)
        escaped << terminalText(n);
    return escaped.join(QStringLiteral(", "));
}

} // namespace

QString pointStatus(const CurvePoint& point) {
    if (!point.met())
        return QStringLiteral("Sin solución");
    switch (point.outcome) {
    case simplex::Outcome::Unbounded:
        return QStringLiteral("No acotada");
    case simplex::Outcome::IterationLimit:
        return QStringLiteral("Límite de iteraciones");
    default:
        break;
    }
    return QStringLiteral("Óptima");
}

QJsonObject curveJson(const formulation::WorkingModel& model, const CostCurve& curve) {
    const QJsonObject formula{{QStringLiteral("id"), model.formulaId},
                              {QStringLiteral("codigo"), model.header.codigo},
                              {QStringLiteral("version"), model.header.version},
                              {QStringLiteral("producto"), model.header.producto}};
    const CurveKind kind = curve.subject.kind;
    QJsonObject head{{QStringLiteral("tipo"),
                      kind == CurveKind::NutrientLimit     ? QStringLiteral("nutriente")
                      : kind == CurveKind::IngredientLimit ? QStringLiteral("ingrediente")
                                                           : QStringLiteral("precio")},
                     {QStringLiteral("id"), curve.subject.id},
                     {QStringLiteral("limite"),
                      kind == CurveKind::IngredientPrice
                          ? QJsonValue(QJsonValue::Null)
                          : QJsonValue(curve.subject.maximo ? QStringLiteral("maximo")
                                                            : QStringLiteral("minimo"))},
                     {QStringLiteral("titulo"), curve.start.caption},
                     {QStringLiteral("actual"), curve.start.current},
                     {QStringLiteral("desde"), curve.range.desde},
                     {QStringLiteral("hasta"), curve.range.hasta},
                     {QStringLiteral("pasos"), curve.range.pasos},
                     {QStringLiteral("valido_desde"), json(curve.heldFrom)},
                     {QStringLiteral("valido_hasta"), json(curve.heldTo)},
                     {QStringLiteral("costo"), formulation::unitCostCaption(curve)}};

    const std::vector<int> changing = formulation::changingIngredients(curve);
    QJsonArray ingredients;
    for (int j : changing)
        ingredients.append(QJsonObject{
            {QStringLiteral("id_producto"), curve.ingredientIds[static_cast<size_t>(j)]},
            {QStringLiteral("nombre"), curve.ingredientNames[static_cast<size_t>(j)]}});
    QJsonArray points;
    for (const CurvePoint& p : curve.points) {
        QJsonArray quantities;
        for (int j : changing)
            quantities.append(p.met() ? QJsonValue(p.quantities[static_cast<size_t>(j)])
                                      : QJsonValue(QJsonValue::Null));
        points.append(QJsonObject{{QStringLiteral("valor"), p.value},
                                  {QStringLiteral("tipo"), roleName(p.role)},
                                  {QStringLiteral("estado"), pointStatus(p)},
                                  {QStringLiteral("costo_unitario"), json(p.unitCost)},
                                  {curve.dryBasis ? QStringLiteral("costo_unitario_humeda")
                                                  : QStringLiteral("costo_unitario_seca"),
                                   json(p.otherUnitCost)},
                                  {QStringLiteral("cantidades"), quantities},
                                  {QStringLiteral("entran"), texts(p.entering)},
                                  {QStringLiteral("salen"), texts(p.leaving)},
                                  {QStringLiteral("limites_activos"), texts(p.binding)},
                                  {QStringLiteral("limites_liberados"), texts(p.released)}});
    }
    return QJsonObject{{QStringLiteral("formula"), formula},
                       {QStringLiteral("curva"), head},
                       {QStringLiteral("ingredientes"), ingredients},
                       {QStringLiteral("puntos"), points}};
}

QString curveTable(const formulation::WorkingModel& model, const CostCurve& curve, QChar sep) {
    const auto num = [sep](double v, const char* pattern) {
        return text::formatNumber(v, QString::fromLatin1(pattern), sep);
    };
    const auto end = [&](const std::optional<double>& v) {
        return v ? num(*v, "0.00####") : QStringLiteral("Sin límite");
    };
    const bool price = curve.subject.kind == CurveKind::IngredientPrice;
    QString out;
    out += QStringLiteral("Fórmula %1  Código %2  Versión %3  Producto %4\n")
               .arg(model.formulaId)
               .arg(terminalText(model.header.codigo), terminalText(model.header.version),
                    terminalText(model.header.producto));
    out += (price ? QStringLiteral("Mapa de precio: ") : QStringLiteral("Curva de costo: ")) +
           terminalText(curve.start.caption) + QStringLiteral("\n");
    out += QStringLiteral("Valor actual %1  Válido desde %2  Válido hasta %3\n\n")
               .arg(num(curve.start.current, "0.00####"), end(curve.heldFrom), end(curve.heldTo));

    const std::vector<int> changing = formulation::changingIngredients(curve);
    QStringList heading{price ? QStringLiteral("Precio") : QStringLiteral("Nivel"),
                        formulation::unitCostCaption(curve)};
    for (int j : changing)
        heading << terminalText(curve.ingredientNames[static_cast<size_t>(j)]);
    heading << QStringLiteral("Estado");
    out += heading.join(QStringLiteral(" | ")) + QStringLiteral("\n");
    for (const CurvePoint& p : curve.points) {
        QStringList cells{num(p.value, "0.00####"),
                          p.unitCost ? num(*p.unitCost, "0.0000##") : QString()};
        for (int j : changing)
            cells << (p.met() ? num(p.quantities[static_cast<size_t>(j)], "0.00##") : QString());
        QString status = pointStatus(p);
        if (p.role == CurvePoint::Role::Edge)
            status += QStringLiteral(" (borde)");
        if (p.role == CurvePoint::Role::Change) {
            QStringList parts;
            if (!p.entering.empty())
                parts << QStringLiteral("entra ") + joined(p.entering);
            if (!p.leaving.empty())
                parts << QStringLiteral("sale ") + joined(p.leaving);
            if (!p.binding.empty())
                parts << QStringLiteral("se alcanza ") + joined(p.binding);
            if (!p.released.empty())
                parts << QStringLiteral("se libera ") + joined(p.released);
            status = QStringLiteral("Cambio: ") + parts.join(QStringLiteral("; "));
        }
        cells << status;
        out += cells.join(QStringLiteral(" | ")) + QStringLiteral("\n");
    }
    return out;
}

} // namespace tarvela::cli
