#include "formulation/stated_problem.h"

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
        nut.contents.reserve(model.ingredients.size());
        for (const IngredientRow& row : model.ingredients)
            nut.contents.push_back(composition.content(n.id_propiedad, row.id_producto));
        problem.nutrients.push_back(std::move(nut));
    }
    return problem;
}

simplex::LpProblem statedProblem(WorkingModel& model, double Q, db::Connection& conn) {
    const FormulaComposition composition(conn, model.rsPropiedades, model.ingredients);
    return statedProblem(model, Q, composition);
}

} // namespace tarvela::formulation
