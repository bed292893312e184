#pragma once

#include "db/connection.h"

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// A production plan as it is kept: the formulas to make together with the quantity of each, and
// the ingredient stocks the mill has (planes, plan_formula, plan_existencia).
namespace tarvela::plan {

struct PlanFormula {
    int idFormula = 0;
    double cantidad = 0; // to make, in the formula's batch unit
    // As the formula list shows it; gone = the formula was deleted since it entered the plan.
    QString codigo;
    QString version;
    QString producto;
    bool gone = false;
};

struct PlanStock {
    int idProducto = 0;
    std::optional<double> existencia; // as fed; none = without limit ("sin límite")
    QString nombre;                   // trimmed
    std::optional<double> costo;      // the catalog's price as fed
    bool gone = false;                // the ingredient was deleted since its stock was entered
};

struct Plan {
    int idPlan = 0; // 0 = not saved yet
    QString nombre;
    QDate fecha;
    int idBase = 1;
    QString modificado; // the change stamp as read: a save refuses a plan changed since
    std::vector<PlanFormula> formulas;
    std::vector<PlanStock> existencias; // every ingredient any of the formulas uses, by name
};

struct PlanListRow {
    int idPlan = 0;
    QString nombre;
    QString fecha; // "dd/mm/yyyy"
    int formulas = 0;
};

// The plans of a base, by name. Throws db::DbError.
std::vector<PlanListRow> listPlans(db::Connection& conn, int base);

// Reads a plan with its formulas (their codes and products) and its stock grid: every ingredient
// the formulas use with its stock, or none, and the catalog's price. std::nullopt when the plan
// is not there. Throws db::DbError.
std::optional<Plan> loadPlan(db::Connection& conn, int idPlan);

// A formula as it enters a plan: its code, version and product, and its own batch quantity as
// the quantity to make. std::nullopt when there is no such formula. Throws db::DbError.
std::optional<PlanFormula> readPlanFormula(db::Connection& conn, int idFormula);

// The latest version of each formula of a base, as the plan offers them, by code. Throws
// db::DbError.
std::vector<PlanFormula> latestFormulas(db::Connection& conn, int base);

// Refills the stock grid for the plan's formulas: every ingredient they use, keeping the stocks
// already entered for those that stay. Throws db::DbError.
void refreshStockRows(db::Connection& conn, Plan& plan);

// What is wrong with the plan before it may be saved or run, as the user reads it; empty when
// nothing is: a formula twice, a quantity not above 0, a stock below 0, a figure that is not a
// number.
QString planProblem(const Plan& plan);

// Saves the plan, its formulas and its stocks and records the change, in one transaction (a new
// plan takes the next key); the plan then holds its new stamp. Refuses what planProblem refuses
// (DbError with its text), and a plan changed or deleted since its stamp was read (DbError,
// DbFailure::Changed, with the message for the user): then nothing is written. Throws
// db::DbError.
void savePlan(db::Connection& conn, Plan& plan);

// Deletes the plan with its formulas and stocks and records it, in one transaction. Throws
// db::DbError.
void deletePlan(db::Connection& conn, int idPlan);

} // namespace tarvela::plan
