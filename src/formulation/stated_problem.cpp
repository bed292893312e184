#include "formulation/stated_problem.h"

#include <algorithm>

namespace tarvela::formulation {

simplex::LpProblem statedProblem(WorkingModel& model, double Q,
                                 const FormulaComposition& composition) {
    model.sortIngredientsById();
    simplex::LpProblem problem;
    problem.Q = Q;
    problem.vSecaIng = model.vSecaIng;
    problem.vSecaNut = model.vSecaNut;
    problem.ingredients.reserve(model.ingredients.size());
    for (const IngredientRow& row : model.ingredients) {
        simplex::LpIngredient ing;
        ing.id = row.id_producto;
        ing.name = row.nombre.trimmed().toStdString();
        ing.price = (model.vSecaIng ? row.costo_seca : row.costo_humeda).value_or(0.0);
        ing.dryFraction = row.materia_seca.value_or(0.0) / 100.0;
        ing.minimo = row.minimo;
        ing.maximo = row.maximo;
        problem.ingredients.push_back(std::move(ing));
    }
    problem.nutrients.reserve(model.rsPropiedades.size());
    for (const NutrientRow& n : model.rsPropiedades) {
        simplex::LpNutrient nut;
        nut.name = n.nombre.trimmed().toStdString();
        nut.minimo = n.minimo;
        nut.maximo = n.maximo;
        nut.id = n.id_propiedad;
        nut.contents.reserve(model.ingredients.size());
        for (const IngredientRow& row : model.ingredients)
            nut.contents.push_back(composition.content(n.id_propiedad, row.id_producto));
        problem.nutrients.push_back(std::move(nut));
    }
    problem.ratios.reserve(model.relaciones.size());
    for (const RatioRow& r : model.relaciones) {
        simplex::LpRatio ratio;
        ratio.name = ratioName(r).toStdString();
        ratio.minimo = r.minimo;
        ratio.maximo = r.maximo;
        ratio.idNum = r.id_num;
        ratio.idDen = r.id_den;
        for (const IngredientRow& row : model.ingredients) {
            ratio.numerator.push_back(composition.content(r.id_num, row.id_producto));
            ratio.denominator.push_back(composition.content(r.id_den, row.id_producto));
        }
        problem.ratios.push_back(std::move(ratio));
    }
    problem.groups.reserve(model.grupos.size());
    for (const GroupRow& g : model.grupos) {
        simplex::LpGroup group;
        group.name = g.nombre.trimmed().toStdString();
        group.minimo = g.minimo;
        group.maximo = g.maximo;
        group.id = g.id_grupo;
        for (size_t j = 0; j < model.ingredients.size(); ++j)
            if (std::find(g.miembros.begin(), g.miembros.end(), model.ingredients[j].id_producto) !=
                g.miembros.end())
                group.members.push_back(static_cast<int>(j));
        problem.groups.push_back(std::move(group));
    }
    return problem;
}

simplex::LpProblem statedProblem(WorkingModel& model, double Q, db::Connection& conn) {
    const FormulaComposition composition(conn, model);
    return statedProblem(model, Q, composition);
}

} // namespace tarvela::formulation
