#include "formulation/working_model.h"

#include "db/sql_functions.h"

#include <algorithm>

namespace tarvela::formulation {

namespace {

// Descending order of a nullable share; an empty share counts as the lowest.
bool shareAbove(const Opt& a, const Opt& b) {
    if (!a)
        return false;
    if (!b)
        return true;
    return *a > *b;
}

} // namespace

QString analysisCode(AnalysisKind kind) {
    switch (kind) {
    case AnalysisKind::IngredientInMix:
        return QStringLiteral("IA");
    case AnalysisKind::IngredientLeftOut:
        return QStringLiteral("II");
    case AnalysisKind::NutrientLimit:
        return QStringLiteral("RN");
    case AnalysisKind::IngredientLimit:
        return QStringLiteral("RI");
    case AnalysisKind::RatioLimit:
        return QStringLiteral("RR");
    case AnalysisKind::GroupLimit:
        return QStringLiteral("RG");
    }
    return {};
}

QString ratioName(const RatioRow& row) {
    return row.nombreNum.trimmed() + QStringLiteral(" / ") + row.nombreDen.trimmed();
}

QString ratioCaption(const RatioRow& row) {
    return QStringLiteral("Relación ") + ratioName(row);
}

QString groupCaption(const GroupRow& row) {
    return QStringLiteral("Grupo ") + row.nombre.trimmed();
}

RatioRow* WorkingModel::findRatio(int idNum, int idDen) {
    auto it = std::find_if(relaciones.begin(), relaciones.end(), [&](const RatioRow& r) {
        return r.id_num == idNum && r.id_den == idDen;
    });
    return it == relaciones.end() ? nullptr : &*it;
}

GroupRow* WorkingModel::findGroup(int idGrupo) {
    auto it = std::find_if(grupos.begin(), grupos.end(),
                           [&](const GroupRow& g) { return g.id_grupo == idGrupo; });
    return it == grupos.end() ? nullptr : &*it;
}

IngredientRow* WorkingModel::findIngredient(int idProducto) {
    auto it =
        std::find_if(ingredients.begin(), ingredients.end(),
                     [idProducto](const IngredientRow& r) { return r.id_producto == idProducto; });
    return it == ingredients.end() ? nullptr : &*it;
}

NutrientRow* WorkingModel::findNutrient(int idPropiedad) {
    auto it =
        std::find_if(rsPropiedades.begin(), rsPropiedades.end(),
                     [idPropiedad](const NutrientRow& r) { return r.id_propiedad == idPropiedad; });
    return it == rsPropiedades.end() ? nullptr : &*it;
}

void WorkingModel::sortIngredientsById() {
    std::stable_sort(ingredients.begin(), ingredients.end(),
                     [](const IngredientRow& a, const IngredientRow& b) {
                         return a.id_producto < b.id_producto;
                     });
}

void WorkingModel::sortIngredientsForDisplay() {
    if (vSecaIng)
        std::stable_sort(ingredients.begin(), ingredients.end(),
                         [](const IngredientRow& a, const IngredientRow& b) {
                             return shareAbove(a.porcentaje_seca, b.porcentaje_seca);
                         });
    else
        std::stable_sort(ingredients.begin(), ingredients.end(),
                         [](const IngredientRow& a, const IngredientRow& b) {
                             return shareAbove(a.porcentaje_humeda, b.porcentaje_humeda);
                         });
}

void WorkingModel::sortNutrientsByName() {
    std::stable_sort(rsPropiedades.begin(), rsPropiedades.end(),
                     [](const NutrientRow& a, const NutrientRow& b) {
                         return db::compareText(a.nombre, b.nombre) < 0;
                     });
}

} // namespace tarvela::formulation
