// A 50-step cost curve and price map of a 60-ingredient x 40-nutrient formula: each step solved
// again from the basis of the step before, with the pivots a step takes.
#include "formulation/cost_curve.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace tarvela;

constexpr int kIngredients = 60;
constexpr int kNutrients = 40;

struct Formula {
    formulation::WorkingModel model;
    formulation::FormulaComposition composition;
};

// Nutrient limits around the value of the even blend (which therefore meets them), ingredients
// and nutrients as fed.
const Formula& formula() {
    static const Formula* f = [] {
        auto* out = new Formula;
        std::mt19937 rng(20261208);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        formulation::WorkingModel& m = out->model;
        m.formulaId = 1;
        m.vSecaIng = false;
        m.vSecaNut = false;
        m.txtCantidad = QStringLiteral("1000");
        m.batchQuantity = 1000;
        std::vector<double> dry;
        for (int i = 1; i <= kIngredients; ++i) {
            formulation::IngredientRow row;
            row.id_producto = i;
            row.nombre = QStringLiteral("Ingrediente %1").arg(i);
            row.materia_seca = 30 + 68 * unit(rng);
            row.costo_humeda = 0.05 + unit(rng);
            row.costo_seca = *row.costo_humeda / (*row.materia_seca / 100);
            if (i % 3 != 1)
                row.maximo = 120;
            if (i % 10 == 1)
                row.minimo = 2;
            dry.push_back(*row.materia_seca / 100);
            m.ingredients.push_back(row);
            out->composition.listIngredient(i);
        }
        for (int n = 1; n <= kNutrients; ++n) {
            double even = 0;
            for (int i = 1; i <= kIngredients; ++i) {
                const double v = unit(rng) < 0.2 ? 0.0 : 50 * unit(rng);
                out->composition.setContent(n, i, v);
                even += v * dry[static_cast<size_t>(i - 1)] / kIngredients;
            }
            formulation::NutrientRow row;
            row.id_propiedad = n;
            row.nombre = QStringLiteral("Nutriente %1").arg(n);
            if (n % 4 != 2)
                row.minimo = 0.9 * even;
            if (n % 2 == 0)
                row.maximo = 1.15 * even;
            m.rsPropiedades.push_back(row);
            out->composition.listNutrient(n);
        }
        return out;
    }();
    return *f;
}

void runCurve(benchmark::State& state, const formulation::CurveSubject& subject) {
    const Formula& f = formula();
    const formulation::SubjectCheck start = formulation::curveStart(f.model, subject);
    const formulation::CurveRange range = *start.start->defaultRange;
    long pivots = 0;
    int fromSlacks = 0;
    int points = 0;
    int gaps = 0;
    for (auto _ : state) {
        const formulation::CurveOutcome outcome =
            formulation::costCurve(f.model, subject, range, f.composition, QLatin1Char('.'));
        pivots = outcome.curve->pivots;
        fromSlacks = outcome.curve->solvedFromSlacks;
        points = static_cast<int>(outcome.curve->points.size());
        gaps = 0;
        for (const formulation::CurvePoint& p : outcome.curve->points)
            gaps += p.met() ? 0 : 1;
        benchmark::DoNotOptimize(outcome.curve->points.data());
    }
    state.counters["steps"] = range.pasos;
    state.counters["points"] = points;
    state.counters["gaps"] = gaps;
    state.counters["pivots_per_step"] = static_cast<double>(pivots) / (range.pasos + 1);
    state.counters["solved_from_slacks"] = fromSlacks;
}

// The minimum of the first nutrient, the formula's value ± 50 %.
void BM_CostCurve50Steps(benchmark::State& state) {
    runCurve(state, {formulation::CurveKind::NutrientLimit, 1, false});
}
BENCHMARK(BM_CostCurve50Steps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The price of an ingredient, its price ± 50 %.
void BM_PriceMap50Steps(benchmark::State& state) {
    runCurve(state, {formulation::CurveKind::IngredientPrice, 5, false});
}
BENCHMARK(BM_PriceMap50Steps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
