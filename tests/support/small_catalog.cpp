#include "support/small_catalog.h"

#include "db/statements.h"
#include "formulation/loading.h"

namespace tarvela::test {

void SmallCatalog::ingredient(int id, const QString& nombre, double costo, double materiaSeca) {
    conn_.execute(QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                                 "materia_seca,idBase) values (%1,%2,%3,'Kg',%4,%5,1)")
                      .arg(id)
                      .arg(db::sqlCode(QString::number(id)), db::sqlText(nombre),
                           db::sqlReal(costo), db::sqlReal(materiaSeca)));
}

void SmallCatalog::nutrient(int id, const QString& nombre) {
    conn_.execute(
        QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values (%1,%2,'%')")
            .arg(id)
            .arg(db::sqlText(nombre)));
}

void SmallCatalog::content(int idProducto, int idPropiedad, double valor) {
    conn_.execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                                 "values (%1,%2,%3)")
                      .arg(idProducto)
                      .arg(idPropiedad)
                      .arg(db::sqlReal(valor)));
}

void SmallCatalog::formula(int id, double cantidad, bool secaIng, bool secaNut) {
    conn_.execute(
        QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,version,"
                       "fecha_creacion,fecha_modificacion,tipoBase,tipoBaseNutrientes,"
                       "idBase,idCliente) values (%1,%2,'Prueba',%3,1,#12/07/2026#,null,"
                       "%4,%5,1,0)")
            .arg(id)
            .arg(db::sqlCode(QString::number(id)), db::sqlReal(cantidad))
            .arg(secaIng ? 0 : 1)
            .arg(secaNut ? 0 : 1));
}

void SmallCatalog::formulaIngredient(int idFormula, int idProducto, Opt minimo, Opt maximo,
                                     Opt materiaSeca, Opt costo) {
    const db::Result p =
        conn_.query(QStringLiteral("select costo,materia_seca from productos where id_producto=") +
                    db::sqlInt(idProducto));
    const double ms = materiaSeca.value_or(p.value(0, QStringLiteral("materia_seca")).toDouble());
    const double price = costo.value_or(p.value(0, QStringLiteral("costo")).toDouble());
    conn_.execute(
        QStringLiteral("insert into formula_producto (id_formula,id_producto,minimo,"
                       "maximo,cantidad_humeda,cantidad_seca,porcentaje_humeda,"
                       "porcentaje_seca,materia_seca,costo) values "
                       "(%1,%2,%3,%4,0,0,0,0,%5,%6)")
            .arg(idFormula)
            .arg(idProducto)
            .arg(db::sqlReal(minimo), db::sqlReal(maximo), db::sqlReal(ms), db::sqlReal(price)));
}

void SmallCatalog::formulaNutrient(int idFormula, int idPropiedad, Opt minimo, Opt maximo) {
    conn_.execute(QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo,"
                                 "maximo,valor) values (%1,%2,%3,%4,0)")
                      .arg(idFormula)
                      .arg(idPropiedad)
                      .arg(db::sqlReal(minimo), db::sqlReal(maximo)));
}

formulation::WorkingModel loadFormula(db::Connection& conn, int id, Desktop& desktop, QChar sep) {
    formulation::WorkingModel model;
    model.formulaId = id;
    formulation::actuFormula(model, conn, desktop, sep);
    return model;
}

formulation::RunResult RecordingHost::run(formulation::WorkingModel& model, const QString& cantidad,
                                          db::Connection& conn, QChar sep) {
    formulation::RunResult result = formulation::formulate(model, cantidad, conn, sep);
    clearCalls += result.totalsCleared ? 1 : 0;
    formulation::showRunMessages(
        result.messages, desk,
        [this](const formulation::AportesReport& report) { aportes.push_back(report); },
        [this](formulation::RunFocus focus) {
            focusCalls += focus == formulation::RunFocus::Quantity ? 1 : 0;
        });
    return result;
}

} // namespace tarvela::test
