#pragma once

// Generated formulation problems and checks of a mix against its own limits; shared by the
// solver tests and the solver benchmark.
#include "solver/problem.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tarvela::test {

enum class Bases { DryDry, WetWet, WetDry }; // ingredients / nutrients

inline void setBases(simplex::LpProblem& pb, Bases bases) {
    pb.vSecaIng = bases == Bases::DryDry;
    pb.vSecaNut = bases != Bases::WetWet;
}

// Value of nutrient n in the mix x (shares on the ingredients' basis), on the nutrients' basis.
inline double nutrientValue(const simplex::LpProblem& pb, const simplex::LpNutrient& n,
                            const std::vector<double>& x) {
    double value = 0;
    double dry = 0;
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double v = j < n.contents.size() ? n.contents[j] : 0.0;
        const double d = pb.ingredients[j].dryFraction;
        value += pb.vSecaIng ? v * x[j] : v * d * x[j];
        dry += d * x[j];
    }
    if (!pb.vSecaIng && pb.vSecaNut) {
        return dry > 0 ? value / dry : 0.0;
    }
    return value;
}

// The ratio of two nutrients' values in the mix x; std::nullopt when the denominator's is 0.
inline std::optional<double> ratioValue(const simplex::LpProblem& pb, const simplex::LpRatio& r,
                                        const std::vector<double>& x) {
    const simplex::LpNutrient num{"", std::nullopt, std::nullopt, r.numerator};
    const simplex::LpNutrient den{"", std::nullopt, std::nullopt, r.denominator};
    const double d = nutrientValue(pb, den, x);
    if (d == 0)
        return std::nullopt;
    return nutrientValue(pb, num, x) / d;
}

// A group's share of the mix x.
inline double groupShare(const simplex::LpGroup& g, const std::vector<double>& x) {
    double share = 0;
    for (int member : g.members)
        share += x[static_cast<std::size_t>(member)];
    return share;
}

// A feasible formulation problem: the limits are drawn around a hidden mix, so that mix meets
// them all. About ni/2 nutrients when nutrients < 0. With ratiosAndGroups, also one or two ratio
// limits between nutrients of the problem and one or two group limits.
inline simplex::LpProblem generateFormulation(std::mt19937_64& rng, int ni, int nutrients,
                                              Bases bases, bool ratiosAndGroups = false) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto pick = [&](double p) { return u(rng) < p; };
    auto round4 = [](double v) { return std::round(v * 1e4) / 1e4; };

    simplex::LpProblem pb;
    setBases(pb, bases);
    pb.Q = std::round((50 + u(rng) * 950) * 100) / 100;
    if (nutrients < 0) {
        nutrients = std::max(2, ni / 2);
    }

    // The hidden mix: a random subset of the ingredients with random shares adding up to 1.
    std::vector<double> x(static_cast<std::size_t>(ni), 0.0);
    const int used = std::max(2, std::min(ni, 2 + static_cast<int>(u(rng) * (nutrients + 3))));
    std::vector<int> order(static_cast<std::size_t>(ni));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    double sum = 0;
    for (int k = 0; k < used; ++k) {
        const double s = 0.02 + u(rng);
        x[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = s;
        sum += s;
    }
    for (double& s : x) {
        s /= sum;
    }

    int id = 100 + static_cast<int>(u(rng) * 50);
    for (int j = 0; j < ni; ++j) {
        simplex::LpIngredient ing;
        ing.id = id;
        id += 1 + static_cast<int>(u(rng) * 40);
        ing.name = "Ingrediente " + std::to_string(j + 1);
        const double materiaSeca = std::round((10 + u(rng) * 89) * 100) / 100;
        ing.dryFraction = materiaSeca / 100;
        const double costoHumeda = round4(0.05 + u(rng) * 2.0);
        ing.price = pb.vSecaIng ? costoHumeda / ing.dryFraction : costoHumeda;
        const double share = x[static_cast<std::size_t>(j)];
        const double r = u(rng);
        if (r < 0.05 && share > 0) { // equal limits, widened by 0.001 in the tableau
            ing.minimo = share * pb.Q;
            ing.maximo = ing.minimo;
        } else if (r < 0.35) {
            ing.minimo = std::floor(share * pb.Q * (0.3 + 0.7 * u(rng)) * 100) / 100;
        } else if (r < 0.55) {
            ing.maximo = std::ceil(share * pb.Q * (1.0 + u(rng)) * 100) / 100;
        } else if (r < 0.65) {
            ing.minimo = std::floor(share * pb.Q * 0.5 * 100) / 100;
            ing.maximo = std::ceil((share * pb.Q * 1.5 + 0.01) * 100) / 100;
        }
        pb.ingredients.push_back(ing);
    }

    for (int n = 0; n < nutrients; ++n) {
        simplex::LpNutrient nut;
        nut.name = "Nutriente " + std::to_string(n + 1);
        const double scale = std::pow(10.0, -1.0 + 4.5 * u(rng));
        for (int j = 0; j < ni; ++j) {
            nut.contents.push_back(pick(0.25) ? 0.0 : round4(scale * u(rng)));
        }
        const double value = nutrientValue(pb, nut, x);
        const double r = u(rng);
        if (r < 0.4) {
            nut.minimo = std::floor(value * (0.7 + 0.3 * u(rng)) * 1e4) / 1e4;
        } else if (r < 0.7) {
            nut.maximo = std::ceil(value * (1.0 + 0.5 * u(rng)) * 1e4 + 1) / 1e4;
        } else {
            nut.minimo = std::floor(value * (0.6 + 0.4 * u(rng)) * 1e4) / 1e4;
            nut.maximo = std::ceil(value * (1.001 + 0.5 * u(rng)) * 1e4 + 1) / 1e4;
        }
        pb.nutrients.push_back(nut);
    }
    if (!ratiosAndGroups)
        return pb;

    const int ratios = 1 + static_cast<int>(u(rng) * 2);
    for (int k = 0; k < ratios && pb.nutrients.size() >= 2; ++k) {
        const std::size_t a = rng() % pb.nutrients.size();
        const std::size_t b = (a + 1 + rng() % (pb.nutrients.size() - 1)) % pb.nutrients.size();
        simplex::LpRatio ratio;
        ratio.name = pb.nutrients[a].name + " / " + pb.nutrients[b].name;
        ratio.numerator = pb.nutrients[a].contents;
        ratio.denominator = pb.nutrients[b].contents;
        const std::optional<double> value = ratioValue(pb, ratio, x);
        if (!value || !(*value > 0))
            continue;
        const double r = u(rng);
        if (r < 0.4) {
            ratio.minimo = std::floor(*value * (0.7 + 0.3 * u(rng)) * 1e4) / 1e4;
        } else if (r < 0.7) {
            ratio.maximo = std::ceil(*value * (1.0 + 0.5 * u(rng)) * 1e4 + 1) / 1e4;
        } else {
            ratio.minimo = std::floor(*value * (0.6 + 0.4 * u(rng)) * 1e4) / 1e4;
            ratio.maximo = std::ceil(*value * (1.001 + 0.5 * u(rng)) * 1e4 + 1) / 1e4;
        }
        pb.ratios.push_back(ratio);
    }
    const int groups = 1 + static_cast<int>(u(rng) * 2);
    for (int k = 0; k < groups; ++k) {
        simplex::LpGroup group;
        group.name = "Grupo " + std::to_string(k + 1);
        for (int j = 0; j < ni; ++j)
            if (u(rng) < 0.35)
                group.members.push_back(j);
        if (group.members.empty())
            group.members.push_back(static_cast<int>(rng() % static_cast<unsigned>(ni)));
        const double quantity = groupShare(group, x) * pb.Q;
        const double r = u(rng);
        if (r < 0.4 || quantity <= 0) {
            group.maximo = std::ceil(quantity * (1.0 + 0.5 * u(rng)) * 100 + 1) / 100;
        } else if (r < 0.7) {
            group.minimo = std::floor(quantity * (0.6 + 0.4 * u(rng)) * 100) / 100;
        } else {
            group.minimo = std::floor(quantity * (0.5 + 0.4 * u(rng)) * 100) / 100;
            group.maximo = std::ceil(quantity * (1.01 + 0.5 * u(rng)) * 100 + 1) / 100;
        }
        pb.groups.push_back(group);
    }
    return pb;
}

// The shares of the final tableau: basic ingredient rows' right-hand sides, 0 elsewhere.
inline std::vector<double> mixOf(const simplex::Tableau& t) {
    std::vector<double> x(static_cast<std::size_t>(t.ni()), 0.0);
    for (int i = 1; i <= t.m(); ++i) {
        const int b = t.basis()[static_cast<std::size_t>(i)];
        if (b <= t.ni()) {
            x[static_cast<std::size_t>(b - 1)] = t.rhs(i);
        }
    }
    return x;
}

// The first limit the mix breaks by more than tol (relative to the limit's size), or "".
inline std::string violatedLimit(const simplex::LpProblem& pb, const std::vector<double>& x,
                                 double tol) {
    auto beyond = [&](double value, double limit, bool isMin) {
        const double slack = tol * std::max(1.0, std::fabs(limit));
        return isMin ? value < limit - slack : value > limit + slack;
    };
    const double total = std::accumulate(x.begin(), x.end(), 0.0);
    if (std::fabs(total - 1.0) > tol) {
        return "total share " + std::to_string(total);
    }
    for (std::size_t j = 0; j < x.size(); ++j) {
        const auto& ing = pb.ingredients[j];
        const double widen = ing.minimo && ing.maximo && *ing.minimo == *ing.maximo ? 0.001 : 0;
        if (x[j] < -tol || (ing.minimo && beyond(x[j], (*ing.minimo - widen) / pb.Q, true)) ||
            (ing.maximo && beyond(x[j], (*ing.maximo + widen) / pb.Q, false))) {
            return ing.name + " share " + std::to_string(x[j]);
        }
    }
    for (const auto& n : pb.nutrients) {
        const double value = nutrientValue(pb, n, x);
        if ((n.minimo && beyond(value, *n.minimo, true)) ||
            (n.maximo && beyond(value, *n.maximo, false))) {
            return n.name + " value " + std::to_string(value);
        }
    }
    for (const auto& r : pb.ratios) {
        const std::optional<double> value = ratioValue(pb, r, x);
        if (!value || (r.minimo && beyond(*value, *r.minimo, true)) ||
            (r.maximo && beyond(*value, *r.maximo, false))) {
            return "ratio " + r.name + " value " + (value ? std::to_string(*value) : "none");
        }
    }
    for (const auto& g : pb.groups) {
        const double quantity = groupShare(g, x) * pb.Q;
        const double widen = g.minimo && g.maximo && *g.minimo == *g.maximo ? 0.001 : 0;
        if ((g.minimo && beyond(quantity, *g.minimo - widen, true)) ||
            (g.maximo && beyond(quantity, *g.maximo + widen, false))) {
            return g.name + " quantity " + std::to_string(quantity);
        }
    }
    return "";
}

} // namespace tarvela::test
