#pragma once

#include "db/connection.h"
#include "formulation/formula_composition.h"
#include "formulation/run_message.h"
#include "formulation/working_model.h"
#include "worklist/catalog_composition.h"
#include "worklist/stored_formulas.h"
#include "worklist/worklist_selection.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

// Every formula of a worklist re-run at today's catalog prices and dry matter, with its own
// limits and batch, in memory: the cost of the stored mix, the cost of the new one, and which
// ingredients enter and leave it.
namespace tarvela::worklist {

enum class Estado {
    Pendiente,   // not run (yet, or the worklist was cancelled before it)
    Optima,      // "Óptima": a least-cost mix within every limit
    SinSolucion, // "Sin solución": the limits cannot all be met (a diagnosis can say why)
    Detenida,    // the run stopped with its own message, or found a mix it cannot call optimal
};

struct Reformulated {
    WorklistFormula formula;
    // The formula as loaded; after its run, the re-run result (unsaved), as the formulation
    // window would hold it.
    formulation::WorkingModel model;
    // Cost per unit as fed ("Costo U.Húmeda") of the stored mix at the formula's own prices, and
    // of the new mix at today's prices (only when the run found a mix within its limits).
    std::optional<double> costoAnterior;
    std::optional<double> costoActual;
    std::optional<double> variacion; // percent of costoAnterior; none without both or from 0
    Estado estado = Estado::Pendiente;
    QString estadoTexto; // "Óptima", "Sin solución" or the run's stop message
    QStringList entran;  // ingredients in the new mix that the stored one left out, by name
    QStringList salen;   // ingredients of the stored mix that the new one leaves out, by name
    // What loading and the catalog refresh noted (an ingredient without dry matter left out or
    // not refreshed), then what the run had to say, in order.
    QStringList notas;
    std::vector<formulation::RunMessage> mensajes;
    // Where the run takes the composition from, when not from the worklist's catalog (which
    // does not cover the formula's ingredients or nutrients).
    const formulation::CompositionSource* composition = nullptr;
    bool marcada = false;   // chosen for "Grabar versiones"
    int idFormulaNueva = 0; // the new version saved from this result
    std::optional<int> versionNueva;
};

QString estadoTexto(Estado estado);

struct Worklist {
    std::vector<Reformulated> rows; // in the selection's order, loaded, not yet run
    CatalogComposition catalog;
    // The compositions of rows the catalog does not cover; kept in place while runs read them.
    std::deque<CatalogComposition> ownCatalogs;
    QChar decimalSeparator = QLatin1Char('.');
};

// One row per formula, in order, none read yet.
Worklist newWorklist(const std::vector<WorklistFormula>& formulas, QChar decimalSeparator);

// The row takes its formula as read; a formula gone meanwhile stops with the loading's message.
void takeStored(Reformulated& row, StoredFormula&& stored);

// Reads the formulas (as the formulation window loads them, with the catalog's current prices
// and dry matter) and then the composition they use, on the calling thread, with a few
// statements for the whole worklist. A formula gone meanwhile stops with the loading's message.
// Throws db::DbError.
Worklist readWorklist(db::Connection& conn, const std::vector<WorklistFormula>& formulas,
                      QChar decimalSeparator);

// The formula's prices and dry matter replaced by today's catalog values, as "Actualizar
// Precios" and "Actualizar M.Seca" do. An ingredient whose catalog price is unknown has no price
// today: its run stops asking for one. Returns what the refresh notes.
QStringList refreshFromCatalog(formulation::WorkingModel& model);

// Re-runs one formula of the worklist: the cost of the stored mix, the refresh, the run with the
// formula's own batch, and the row's figures. Touches neither the database nor the desktop.
void reformulate(Reformulated& row, const formulation::CompositionSource& catalog,
                 QChar decimalSeparator);

} // namespace tarvela::worklist
