#include "catalogs/premix_ingredient.h"

#include "catalogs/catalog_statements.h"
#include "db/change_log.h"
#include "db/statements.h"
#include "text/format.h"

#include <cmath>

namespace tarvela::catalogs {

namespace {

// Rounds to the given decimals, an exact half (on the value's 15-digit decimal form) to the
// even neighbour.
double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = QString::number(value * scale, 'g', 15).toDouble();
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    double rounded = 0;
    if (std::abs(fraction - 0.5) < 1e-9)
        rounded = std::fmod(below, 2.0) == 0 ? below : below + 1;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

} // namespace

IngredientBoxes premixProposal(double costoHumeda, double materiaSeca, QChar separator) {
    return {QString(), QString(), QString(),
            text::formatNumber(roundHalfEven(costoHumeda, 4), QStringLiteral("0.0000"), separator),
            text::formatNumber(roundHalfEven(materiaSeca, 2), QStringLiteral("0.00"), separator)};
}

IngredientCreation createPremixIngredient(db::Connection& conn, int base,
                                          const IngredientBoxes& boxes, const MixComposition& mix) {
    db::Transaction transaction(conn);
    conn.lockForWriting(QStringLiteral("productos"));
    const QString stored = db::rightAlignCode(boxes.codigo).trimmed();
    if (anyRow(conn, QStringLiteral("from productos where trim(codigo)=") + db::sqlText(stored)))
        return {true, 0};
    const int id = insertIngredientRow(conn, base, boxes);
    const std::optional<double> dryMatter = text::parseUserNumber(boxes.materiaSeca);
    const bool convert = mix.asFed && dryMatter && *dryMatter > 0;
    for (const MixNutrient& nutrient : mix.nutrients) {
        double valor = nutrient.valor.value_or(0.0);
        if (convert)
            valor = valor * 100.0 / *dryMatter;
        conn.execute(
            QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                           "values (") +
            db::sqlInt(id) + QLatin1Char(',') + db::sqlInt(nutrient.idPropiedad) +
            QLatin1Char(',') + db::sqlReal(valor) + QLatin1Char(')'));
    }
    db::recordCreated(conn, QStringLiteral("productos"), QStringLiteral("id_producto"), id);
    transaction.commit();
    return {false, id};
}

} // namespace tarvela::catalogs
