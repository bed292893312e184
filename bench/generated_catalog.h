#pragma once

// What the benchmarks that fill a catalog share: rows inserted a few hundred at a time, and a
// catalog of random ingredients whose figures the benchmark keeps to build formulas on them.
#include "db/connection.h"
#include "db/statements.h"

#include <QStringList>

#include <random>
#include <vector>

namespace tarvela::bench {

// Inserts rows in statements of up to 400 rows.
inline void insertRows(db::Connection& conn, const QString& head, const QStringList& rows) {
    for (qsizetype start = 0; start < rows.size(); start += 400)
        conn.execute(head + rows.mid(start, 400).join(QLatin1Char(',')));
}

// The figures of a generated catalog, by key (index 0 unused).
struct GeneratedCatalog {
    std::vector<double> price;
    std::vector<double> dry;
    std::vector<std::vector<double>> content; // [ingredient][nutrient]
};

// Inserts `nutrients` nutrients ("Nutriente 001"...) and `ingredients` ingredients of base 1
// ("Ingrediente 1"... with their key as code) with random price, dry matter and contents (a fifth
// of them 0), drawn from rng in a fixed order: the same seed gives the same catalog. Runs inside
// the caller's transaction.
inline GeneratedCatalog generateCatalog(db::Connection& conn, int ingredients, int nutrients,
                                        std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QStringList nutrientRows;
    for (int n = 1; n <= nutrients; ++n)
        nutrientRows
            << QStringLiteral("(%1,'Nutriente %2','%')").arg(n).arg(n, 3, 10, QLatin1Char('0'));
    insertRows(conn, QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values "),
               nutrientRows);

    GeneratedCatalog out;
    out.price.resize(static_cast<size_t>(ingredients) + 1);
    out.dry.resize(static_cast<size_t>(ingredients) + 1);
    out.content.assign(static_cast<size_t>(ingredients) + 1,
                       std::vector<double>(static_cast<size_t>(nutrients) + 1));
    QStringList products;
    QStringList composition;
    for (int i = 1; i <= ingredients; ++i) {
        const auto k = static_cast<size_t>(i);
        out.price[k] = 0.05 + unit(rng);
        out.dry[k] = 30 + 68 * unit(rng);
        products << QStringLiteral("(%1,%2,'Ingrediente %3','Kg',%4,%5,1)")
                        .arg(i)
                        .arg(db::sqlCode(QString::number(i)))
                        .arg(i)
                        .arg(db::sqlReal(out.price[k]), db::sqlReal(out.dry[k]));
        for (int n = 1; n <= nutrients; ++n) {
            double& value = out.content[k][static_cast<size_t>(n)];
            value = unit(rng) < 0.2 ? 0.0 : 50 * unit(rng);
            composition << QStringLiteral("(%1,%2,%3)").arg(i).arg(n).arg(db::sqlReal(value));
        }
    }
    insertRows(conn,
               QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                              "materia_seca,idBase) values "),
               products);
    insertRows(conn,
               QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                              "values "),
               composition);
    return out;
}

} // namespace tarvela::bench
