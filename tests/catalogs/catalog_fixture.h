#pragma once

#include "support/formula_fixture.h"

// A schema-only database with helpers that add catalog rows as the catalog windows store them.
namespace tarvela::test {

class CatalogFixture : public FormulaFixture {
protected:
    void addNutrient(int id, const QString& name, const QString& unit = QStringLiteral("%")) {
        conn().execute(QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values "
                                      "(%1,%2,%3)")
                           .arg(id)
                           .arg(db::sqlText(name), db::sqlText(unit)));
    }

    void addIngredient(int id, const QString& code, const QString& name, int base = 1,
                       double price = 0.2, const QString& unit = QStringLiteral("Kg")) {
        conn().execute(
            QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,"
                           "costo,materia_seca,idBase) values (%1,%2,%3,%4,%5,88,%6)")
                .arg(id)
                .arg(db::sqlCode(code), db::sqlText(name), db::sqlText(unit), db::sqlReal(price))
                .arg(base));
    }

    void addContent(int ingredient, int nutrient, double value) {
        conn().execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,"
                                      "valor) values (%1,%2,%3)")
                           .arg(ingredient)
                           .arg(nutrient)
                           .arg(db::sqlReal(value)));
    }

    // Makes a statement fail while a table is written: the failure a full disk would give.
    void failInsertsInto(const QString& table, const QString& when = QString()) {
        database.failOn(QStringLiteral("INSERT"), table, when);
    }

    // The first column of every row, as texts.
    QStringList column(const QString& sql) {
        const db::Result result = conn().query(sql);
        QStringList out;
        for (int r = 0; r < result.rowCount(); ++r)
            out << result.value(r, 0).toString();
        return out;
    }
};

} // namespace tarvela::test
