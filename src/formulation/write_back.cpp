#include "formulation/write_back.h"

#include "formulation/ingredient_index.h"
#include "formulation/mix_share.h"

namespace tarvela::formulation {

void writeBack(WorkingModel& model, const simplex::Tableau& tableau, const std::vector<int>& keys,
               double Q, std::vector<RunMessage>& messages) {
    std::vector<double> shares(keys.size(), 0.0);
    std::vector<char> basic(keys.size(), 0);
    for (int i = 1; i <= tableau.m(); ++i) {
        const int j = tableau.basis()[static_cast<size_t>(i)];
        if (j < 1 || j > tableau.ni())
            continue;
        shares[static_cast<size_t>(j - 1)] = tableau.rhs(i);
        basic[static_cast<size_t>(j - 1)] = 1;
    }
    writeShares(model, keys, shares, basic, Q, messages);
}

void writeShares(WorkingModel& model, const std::vector<int>& keys,
                 const std::vector<double>& shares, std::vector<RunMessage>& messages) {
    writeShares(model, keys, shares, std::vector<char>(keys.size(), 1), model.batchQuantity,
                messages);
}

void writeShares(WorkingModel& model, const std::vector<int>& keys,
                 const std::vector<double>& shares, const std::vector<char>& given, double Q,
                 std::vector<RunMessage>& messages) {
    model.sortIngredientsById();
    for (IngredientRow& row : model.ingredients) {
        row.cantidad_seca = 0.0;
        row.porcentaje_seca = 0.0;
        row.cantidad_humeda = 0.0;
        row.porcentaje_humeda = 0.0;
        row.costo_total = 0.0;
    }

    const IngredientIndex byKey(model.ingredients);
    double totalSeca = 0;
    double totalHumeda = 0;
    for (size_t j = 0; j < keys.size(); ++j) {
        if (!given[j])
            continue;
        const double x = withoutRoundOff(shares[j]);
        const int key = keys[j];
        const int k = byKey.position(key);
        if (k < 0) {
            RunMessage m;
            m.text = QStringLiteral("No se pudo obtener los datos del ingrediente ") +
                     QString::number(key);
            m.icon = MsgIcon::Critical;
            messages.push_back(std::move(m));
            continue;
        }
        IngredientRow& row = model.ingredients[static_cast<size_t>(k)];
        const double d = row.materia_seca.value_or(0.0) / 100.0;
        if (model.vSecaIng) {
            row.porcentaje_seca = x;
            row.cantidad_seca = x * Q;
            row.cantidad_humeda = d != 0 ? *row.cantidad_seca / d : 0.0;
        } else {
            row.porcentaje_humeda = x;
            row.cantidad_humeda = x * Q;
            row.cantidad_seca = *row.cantidad_humeda * d;
        }
        totalSeca += *row.cantidad_seca;
        totalHumeda += *row.cantidad_humeda;
    }

    for (IngredientRow& row : model.ingredients) {
        if (model.vSecaIng)
            row.porcentaje_humeda = totalHumeda != 0 ? *row.cantidad_humeda / totalHumeda : 0.0;
        else
            row.porcentaje_seca = totalSeca != 0 ? *row.cantidad_seca / totalSeca : 0.0;
    }
}

} // namespace tarvela::formulation
