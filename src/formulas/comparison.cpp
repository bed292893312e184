#include "formulas/comparison.h"

#include "db/statements.h"
#include "text/format.h"

#include <algorithm>

namespace tarvela::formulas {

namespace {

// A null figure counts as 0.
double number(const db::Result& rows, int r, const char* column) {
    return rows.value(r, QString::fromLatin1(column)).toDouble();
}

std::optional<double> figure(const db::Result& rows, int r, const char* column) {
    const QVariant& value = rows.value(r, QString::fromLatin1(column));
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// The item with this identifier, appended with its name when first met.
ComparedItem& itemFor(std::vector<ComparedItem>& items, int id, const QString& nombre,
                      size_t formulas) {
    const auto it = std::find_if(items.begin(), items.end(),
                                 [id](const ComparedItem& item) { return item.id == id; });
    if (it != items.end())
        return *it;
    items.push_back({id, nombre, {}});
    items.back().figures.resize(formulas);
    return items.back();
}

void readIngredients(db::Connection& conn, ComparedFormula& formula, size_t index, size_t count,
                     std::vector<ComparedItem>& items) {
    const db::Result rows = conn.query(
        QStringLiteral("SELECT fp.id_formula,fp.id_producto,fp.cantidad_seca,fp.cantidad_humeda,"
                       "fp.porcentaje_seca,fp.porcentaje_humeda,p.nombre,fp.materia_seca,fp.costo "
                       "FROM formula_Producto fp LEFT JOIN productos p ON "
                       "fp.id_producto=p.id_producto WHERE fp.id_formula=") +
        db::sqlInt(formula.listed.id));
    double cantidadHumeda = 0, cantidadSeca = 0, materiaSeca = 0, costoUHumeda = 0, costoUSeca = 0,
           costoTotal = 0;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const double humeda = number(rows, r, "cantidad_humeda");
        const double costo = number(rows, r, "costo");
        const double dryMatter = number(rows, r, "materia_seca");
        const double shareHumeda = number(rows, r, "porcentaje_humeda");
        const double shareSeca = number(rows, r, "porcentaje_seca");
        cantidadHumeda += humeda;
        cantidadSeca += number(rows, r, "cantidad_seca");
        materiaSeca += shareHumeda * dryMatter;
        costoUHumeda += costo * shareHumeda;
        // The price of a unit of dry matter has no meaning without dry matter: such a row adds
        // nothing.
        if (dryMatter != 0)
            costoUSeca += costo / (dryMatter / 100) * shareSeca;
        costoTotal += costo * humeda;

        const std::optional<double> share = figure(rows, r, "porcentaje_seca");
        ComparedItem& item = itemFor(items, rows.value(r, QStringLiteral("id_producto")).toInt(),
                                     rows.value(r, QStringLiteral("nombre")).toString(), count);
        item.figures[index] = std::array<std::optional<double>, 3>{
            figure(rows, r, "cantidad_seca"), share ? std::optional(*share * 100) : std::nullopt,
            figure(rows, r, "costo")};
    }
    formula.cantidadHumeda = text::roundDecimal(cantidadHumeda, 2);
    formula.cantidadSeca = text::roundDecimal(cantidadSeca, 2);
    formula.materiaSeca = text::roundDecimal(materiaSeca, 2);
    formula.costoUHumeda = text::roundDecimal(costoUHumeda, 4);
    formula.costoUSeca = text::roundDecimal(costoUSeca, 4);
    formula.costoTotal = text::roundDecimal(costoTotal, 2);
}

void readNutrients(db::Connection& conn, const ComparedFormula& formula, size_t index, size_t count,
                   std::vector<ComparedItem>& items) {
    const db::Result rows =
        conn.query(QStringLiteral("SELECT fp.id_formula,fp.id_propiedad,fp.valor,p.nombre FROM "
                                  "formula_Propiedad fp LEFT JOIN propiedades p ON "
                                  "fp.id_propiedad=p.id_propiedad WHERE fp.id_formula=") +
                   db::sqlInt(formula.listed.id));
    for (int r = 0; r < rows.rowCount(); ++r) {
        ComparedItem& item = itemFor(items, rows.value(r, QStringLiteral("id_propiedad")).toInt(),
                                     rows.value(r, QStringLiteral("nombre")).toString(), count);
        item.figures[index] =
            std::array<std::optional<double>, 3>{figure(rows, r, "valor"), {}, {}};
    }
}

void readRatiosAndGroups(db::Connection& conn, const ComparedFormula& formula, size_t index,
                         size_t count, std::vector<ComparedItem>& ratios,
                         std::vector<ComparedItem>& groups) {
    const QString id = db::sqlInt(formula.listed.id);
    const db::Result ratioRows = conn.query(
        QStringLiteral("SELECT fr.id_propiedad_num,fr.id_propiedad_den,fr.valor,pn.nombre AS "
                       "nombreNum,pd.nombre AS nombreDen FROM formula_relacion fr, propiedades pn, "
                       "propiedades pd WHERE fr.id_propiedad_num=pn.id_propiedad AND "
                       "fr.id_propiedad_den=pd.id_propiedad AND fr.id_formula=") +
        id + QStringLiteral(" ORDER BY pn.nombre, pd.nombre"));
    for (int r = 0; r < ratioRows.rowCount(); ++r) {
        const int key = ratioRows.value(r, 0).toInt() * 32768 + ratioRows.value(r, 1).toInt();
        const QString nombre = QStringLiteral("Relación ") +
                               ratioRows.value(r, 3).toString().trimmed() + QStringLiteral(" / ") +
                               ratioRows.value(r, 4).toString().trimmed();
        itemFor(ratios, key, nombre, count).figures[index] =
            std::array<std::optional<double>, 3>{figure(ratioRows, r, "valor"), {}, {}};
    }
    const db::Result groupRows = conn.query(
        QStringLiteral("SELECT fg.id_grupo,fg.valor,g.nombre FROM formula_grupo fg, grupos g "
                       "WHERE fg.id_grupo=g.id_grupo AND fg.id_formula=") +
        id + QStringLiteral(" ORDER BY g.nombre"));
    for (int r = 0; r < groupRows.rowCount(); ++r) {
        const QString nombre =
            QStringLiteral("Grupo ") + groupRows.value(r, 2).toString().trimmed();
        itemFor(groups, -groupRows.value(r, 0).toInt(), nombre, count).figures[index] =
            std::array<std::optional<double>, 3>{figure(groupRows, r, "valor"), {}, {}};
    }
}

} // namespace

Comparison buildComparison(db::Connection& conn, const std::vector<ListedFormula>& marked) {
    Comparison comparison;
    const size_t count = marked.size();
    for (size_t i = 0; i < count; ++i) {
        ComparedFormula formula;
        formula.listed = marked[i];
        const db::Result basis =
            conn.query(QStringLiteral("SELECT tipoBaseNutrientes FROM formulas WHERE id_formula=") +
                       db::sqlInt(formula.listed.id));
        formula.nutrientsDry = basis.isEmpty() || basis.value(0, 0).toInt() == 0;
        readIngredients(conn, formula, i, count, comparison.ingredients);
        readNutrients(conn, formula, i, count, comparison.nutrients);
        comparison.formulas.push_back(formula);
    }
    std::vector<ComparedItem> ratios;
    std::vector<ComparedItem> groups;
    for (size_t i = 0; i < count; ++i)
        readRatiosAndGroups(conn, comparison.formulas[i], i, count, ratios, groups);
    comparison.limits = std::move(ratios);
    comparison.limits.insert(comparison.limits.end(), groups.begin(), groups.end());
    return comparison;
}

} // namespace tarvela::formulas
