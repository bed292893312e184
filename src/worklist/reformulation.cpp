#include "worklist/reformulation.h"

#include "formulation/catalog_refresh.h"
#include "formulation/loading.h"
#include "formulation/mix_share.h"
#include "formulation/run.h"
#include "text/format.h"
#include "worklist/stored_formulas.h"

#include <QSet>

#include <algorithm>
#include <utility>

namespace tarvela::worklist {

namespace {

using formulation::IngredientRow;
using formulation::WorkingModel;

// The ingredients in the mix, on the formula's own basis.
QSet<int> inMix(const WorkingModel& model) {
    QSet<int> keys;
    for (const IngredientRow& row : model.ingredients)
        if (formulation::isInMix(row, model))
            keys.insert(row.id_producto);
    return keys;
}

QStringList namesOf(const WorkingModel& model, const QSet<int>& keys) {
    QStringList names;
    for (const IngredientRow& row : model.ingredients)
        if (keys.contains(row.id_producto))
            names << row.nombre.trimmed();
    names.sort(Qt::CaseInsensitive);
    return names;
}

using KeySets = std::pair<std::vector<int>, std::vector<int>>;

KeySets keysOf(const std::vector<formulation::NutrientRow>& nutrients,
               const std::vector<IngredientRow>& ingredients) {
    KeySets keys;
    keys.first.reserve(nutrients.size());
    for (const formulation::NutrientRow& n : nutrients)
        keys.first.push_back(n.id_propiedad);
    keys.second.reserve(ingredients.size());
    for (const IngredientRow& row : ingredients)
        keys.second.push_back(row.id_producto);
    std::sort(keys.first.begin(), keys.first.end());
    std::sort(keys.second.begin(), keys.second.end());
    return keys;
}

// The composition of one formula, taken from the worklist's catalog once and handed to each
// stage of its run that asks for the same nutrients (those of its limits and ratios) and
// ingredients, in whatever order.
class OneFormulaComposition : public formulation::CompositionSource {
public:
    OneFormulaComposition(const formulation::CompositionSource& catalog, const WorkingModel& model)
        : OneFormulaComposition(catalog, formulation::compositionNutrients(model),
                                model.ingredients) {}
    OneFormulaComposition(const formulation::CompositionSource& catalog,
                          const std::vector<formulation::NutrientRow>& nutrients,
                          const std::vector<IngredientRow>& ingredients)
        : catalog_(catalog), keys_(keysOf(nutrients, ingredients)),
          composition_(catalog.composition(nutrients, ingredients)) {}

    formulation::FormulaComposition
    composition(const std::vector<formulation::NutrientRow>& nutrients,
                const std::vector<IngredientRow>& ingredients) const override {
        if (keysOf(nutrients, ingredients) == keys_)
            return composition_; // implicitly shared
        return catalog_.composition(nutrients, ingredients);
    }

private:
    const formulation::CompositionSource& catalog_;
    KeySets keys_;
    formulation::FormulaComposition composition_;
};

} // namespace

QString estadoTexto(Estado estado) {
    switch (estado) {
    case Estado::Optima:
        return QStringLiteral("Óptima");
    case Estado::SinSolucion:
        return QStringLiteral("Sin solución");
    case Estado::Pendiente:
    case Estado::Detenida:
        break;
    }
    return {};
}

Worklist newWorklist(const std::vector<WorklistFormula>& formulas, QChar decimalSeparator) {
    Worklist list;
    list.decimalSeparator = decimalSeparator;
    list.rows.resize(formulas.size());
    for (size_t i = 0; i < formulas.size(); ++i)
        list.rows[i].formula = formulas[i];
    return list;
}

void takeStored(Reformulated& row, StoredFormula&& stored) {
    row.model = std::move(stored.model);
    row.notas = std::move(stored.notas);
    if (row.model.formulaId == 0 && row.formula.idFormula != 0) {
        // Gone meanwhile: stopped with the loading's message.
        row.estado = Estado::Detenida;
        row.estadoTexto = row.notas.back();
    }
}

Worklist readWorklist(db::Connection& conn, const std::vector<WorklistFormula>& formulas,
                      QChar decimalSeparator) {
    Worklist list = newWorklist(formulas, decimalSeparator);
    std::vector<int> ids;
    ids.reserve(formulas.size());
    for (const WorklistFormula& formula : formulas)
        ids.push_back(formula.idFormula);
    std::vector<StoredFormula> stored = readStoredFormulas(conn, ids, decimalSeparator);

    std::vector<int> nutrientKeys;
    std::vector<int> ingredientKeys;
    for (size_t i = 0; i < formulas.size(); ++i) {
        Reformulated& row = list.rows[i];
        takeStored(row, std::move(stored[i]));
        for (const formulation::NutrientRow& n : formulation::compositionNutrients(row.model))
            nutrientKeys.push_back(n.id_propiedad);
        for (const IngredientRow& ingredient : row.model.ingredients)
            ingredientKeys.push_back(ingredient.id_producto);
    }

    // The one read of the composition for the whole worklist.
    list.catalog = CatalogComposition(conn, std::move(nutrientKeys), std::move(ingredientKeys));
    return list;
}

QStringList refreshFromCatalog(WorkingModel& model) {
    formulation::refreshPrices(model);
    for (IngredientRow& row : model.ingredients) {
        if (!row.costoHumedaActual) {
            row.costo_humeda.reset();
            row.costo_seca.reset();
        }
    }
    QStringList notes;
    const QStringList skipped = formulation::refreshDryMatter(model);
    if (!skipped.isEmpty())
        notes << formulation::dryMatterNotRefreshedMessage(skipped);
    return notes;
}

void reformulate(Reformulated& row, const formulation::CompositionSource& catalog,
                 QChar decimalSeparator) {
    if (row.model.formulaId == 0)
        return; // not found at reading: stopped already
    WorkingModel& model = row.model;
    const OneFormulaComposition own(catalog, model);
    formulation::actuResultados(
        model, own.composition(formulation::compositionNutrients(model), model.ingredients),
        decimalSeparator);
    row.costoAnterior = model.vCostoHumeda;
    const QSet<int> before = inMix(model);

    row.notas << refreshFromCatalog(model);
    const QString batch =
        text::formatNumber(model.batchQuantity, QStringLiteral("0.0##########"), decimalSeparator);
    formulation::RunResult result = formulation::formulate(model, batch, own, decimalSeparator);
    row.mensajes = std::move(result.messages);
    result.messages.clear();

    if (result.limitsConflict) {
        row.estado = Estado::SinSolucion;
    } else if (formulation::mixMeetsLimits(result)) {
        row.estado =
            result.outcome == simplex::Outcome::Optimal ? Estado::Optima : Estado::Detenida;
    } else {
        row.estado = Estado::Detenida;
    }
    if (row.estado == Estado::Detenida) {
        // The run's own words: the message of the check that stopped it, or of the solver's end
        // (after the pass-limit notice, when one came first).
        const auto last =
            std::find_if(row.mensajes.rbegin(), row.mensajes.rend(),
                         [](const formulation::RunMessage& m) { return !m.text.isEmpty(); });
        row.estadoTexto = last != row.mensajes.rend() ? last->text : QString();
    } else {
        row.estadoTexto = estadoTexto(row.estado);
    }

    if (formulation::mixMeetsLimits(result)) {
        row.costoActual = model.vCostoHumeda;
        if (*row.costoAnterior != 0)
            row.variacion = (*row.costoActual - *row.costoAnterior) / *row.costoAnterior * 100.0;
        const QSet<int> after = inMix(model);
        row.entran = namesOf(model, QSet<int>(after).subtract(before));
        row.salen = namesOf(model, QSet<int>(before).subtract(after));
    }
}

} // namespace tarvela::worklist
