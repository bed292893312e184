#pragma once

#include "db/connection.h"
#include "formulation/run.h"
#include "formulation/working_model.h"
#include "support/scripted_desktop.h"

#include <QString>

#include <optional>
#include <vector>

// A hand-made catalog and formula in a test database, and a run host that records what the
// contributions window would show.
namespace tarvela::test {

using Opt = std::optional<double>;

class SmallCatalog {
public:
    explicit SmallCatalog(db::Connection& conn) : conn_(conn) {}
    void ingredient(int id, const QString& nombre, double costo, double materiaSeca);
    void nutrient(int id, const QString& nombre);
    void content(int idProducto, int idPropiedad, double valor);
    void formula(int id, double cantidad, bool secaIng, bool secaNut);
    // The formula row keeps the catalog's price and dry matter unless given.
    void formulaIngredient(int idFormula, int idProducto, Opt minimo, Opt maximo,
                           Opt materiaSeca = std::nullopt, Opt costo = std::nullopt);
    void formulaNutrient(int idFormula, int idPropiedad, Opt minimo, Opt maximo);

private:
    db::Connection& conn_;
};

// Runs the least-cost formulation and records what it had to say as a window would show it:
// messages on the scripted desktop, the focus sent back to the batch quantity, the
// contributions window's reports and the totals emptied before solving.
class RecordingHost {
public:
    formulation::RunResult run(formulation::WorkingModel& model, const QString& cantidad,
                               db::Connection& conn, QChar sep = QLatin1Char('.'));

    ScriptedDesktop desk;
    int focusCalls = 0;
    int clearCalls = 0;
    std::vector<formulation::AportesReport> aportes;
};

// Loads a formula as the formulation window does.
formulation::WorkingModel loadFormula(db::Connection& conn, int id, Desktop& desktop,
                                      QChar sep = QLatin1Char('.'));

} // namespace tarvela::test
