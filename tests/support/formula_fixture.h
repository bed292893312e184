#pragma once

#include "db/statements.h"
#include "formulas/formula_header.h"
#include "support/scripted_desktop.h"
#include "support/test_database.h"

#include <QDate>
#include <QString>

#include <gtest/gtest.h>

namespace tarvela::test {

// An empty database with the schema, a scripted desktop and the program's current values on
// base 1.
class FormulaFixture : public ::testing::Test {
protected:
    db::Connection& conn() { return database.conn(); }

    // A formula row as the dialog would have written it.
    void addFormula(int id, const QString& code, int version, int base = 1,
                    const QString& product = QStringLiteral("Producto"), int customer = 0,
                    const QString& created = QStringLiteral("#01/15/2026#"),
                    const QString& modified = QStringLiteral("#02/20/2026#")) {
        conn().execute(QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,"
                                      "version,fecha_creacion,fecha_modificacion,tipoBase,"
                                      "tipoBaseNutrientes,idBase,idCliente) values (%1,%2,%3,1000,"
                                      "%4,%5,%6,0,0,%7,%8)")
                           .arg(id)
                           .arg(db::sqlCode(code), db::sqlText(product))
                           .arg(version)
                           .arg(created, modified)
                           .arg(base)
                           .arg(customer));
    }

    void addCustomer(int id, const QString& name) {
        conn().execute(QStringLiteral("insert into clientes (idCliente,nombre) values (%1,%2)")
                           .arg(id)
                           .arg(db::sqlText(name)));
    }

    QVariant scalar(const QString& sql) {
        const db::Result result = conn().query(sql);
        return result.isEmpty() ? QVariant() : result.value(0, 0);
    }

    int count(const QString& sql) { return scalar(sql).toInt(); }

    TestDatabase database{TestDatabase::Contents::Schema};
    ScriptedDesktop desktop;
    formulas::HeaderStart current;
};

} // namespace tarvela::test
