#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"
#include "solver/problem.h"

#include <QChar>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// "Why can't this formula be met?": after a run that found no mix within the limits, the limits
// that cannot be met together, how far each must move on its own, and the least combined move of
// the limits, in the formula's own terms. Shared by the formulation window and the command line.
namespace tarvela::formulation {

// One limit of the formula.
struct DiagnosedLimit {
    simplex::LimitKind kind = simplex::LimitKind::Nutrient;
    simplex::LimitSide side = simplex::LimitSide::Minimum;
    int id = 0;     // id_producto, id_propiedad (a ratio's numerator) or id_grupo; 0 for the batch
    int idDen = 0;  // a ratio's denominator
    QString nombre; // trimmed name ("Calcio / Fósforo Disponible" for a ratio); "Cantidad a
                    // elaborar" for the batch
    double valor = 0;
    QString unidad; // the nutrient's unit; empty for ingredients and the batch
    // The value it must take on its own (std::nullopt: moving it alone is not enough), or the
    // value a relaxation gives it.
    std::optional<double> nuevoValor;
};

// The kind and side as the command line names them: "nutriente", "relacion", "ingrediente",
// "grupo", "total"; "minimo", "maximo".
QString limitKindName(simplex::LimitKind kind);
QString limitSideName(simplex::LimitSide side);

struct FormulaDiagnosis {
    // No conflict found: the limits can be met together after all.
    bool limitsMet = false;
    // The independent conflicts, each a minimal set; each limit with the value it must take on
    // its own to resolve its set, the other sets set aside.
    std::vector<std::vector<DiagnosedLimit>> conflicts;
    // The least combined move: the limits it changes with their new values; empty when none
    // was found.
    std::vector<DiagnosedLimit> relaxation;
    // The least cost per unit as fed of a mix within the relaxed limits.
    std::optional<double> costoUnitario;
};

// Diagnoses the limits of the working tables for the batch quantity of the last run, with the
// run's programme and solver. Reads the catalog composition and the nutrients' units; database
// errors throw db::DbError.
FormulaDiagnosis diagnoseFormula(const WorkingModel& model, db::Connection& conn);

// Names a limit of a stated problem in the formula's terms: ingredients are those of the stated
// (key-sorted) working table, nutrients, ratios and groups those of their tables in their order;
// units by nutrient key.
DiagnosedLimit describeLimit(const simplex::Limit& limit, std::optional<double> newValue,
                             const WorkingModel& stated, const QHash<int, QString>& units);

// Writes the relaxation's limits into the working tables (not the database).
void applyRelaxation(WorkingModel& model, const FormulaDiagnosis& diagnosis);

// The limit in the system's terms: "Mínimo para Proteína Bruta 18.00 %", "Máximo para Maíz
// 300.000", "Mínimo para Relación Calcio / Fósforo Disponible 2.00", "Máximo para Grupo Cereales
// 550.000", "Cantidad a elaborar 1000.00".
QString limitCaption(const DiagnosedLimit& limit, QChar sep);

// A value of the limit with its unit, with the decimals its grid shows, or up to four
// significant digits for values the grid's step would blur.
QString limitValueText(const DiagnosedLimit& limit, double value, QChar sep);

} // namespace tarvela::formulation
