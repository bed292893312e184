#include "catalogs/ingredient_composition.h"

#include "catalogs/catalog_statements.h"
#include "db/statements.h"
#include "text/format.h"

namespace tarvela::catalogs {

namespace {

QString pair(int ingredientId, int nutrientId) {
    return QStringLiteral(" where id_producto=") + db::sqlInt(ingredientId) +
           QStringLiteral(" and id_propiedad=") + db::sqlInt(nutrientId);
}

} // namespace

QString compositionListStatement(int ingredientId, const QString& search) {
    return QStringLiteral("select pp.id_producto,pp.id_propiedad,p.nombre,Format(pp.valor,'#####0."
                          "00000') as valor from producto_propiedad pp,propiedades p where "
                          "pp.id_propiedad=p.id_propiedad and pp.id_producto=") +
           db::sqlInt(ingredientId) + containsCondition(QStringLiteral("p.nombre"), search) +
           QStringLiteral(" order by pp.valor DESC,p.nombre");
}

EditDecision decideValueEdit(const QString& text, double valueBeforeEdit, EditKey key) {
    const auto decided = [](EditStep step, double value = 0, const QString& message = {}) {
        return EditDecision{step, value, message};
    };
    const std::optional<double> typed = text::parseUserNumber(text);
    if (typed && *typed == valueBeforeEdit)
        return decided(EditStep::Discard);
    switch (key) {
    case EditKey::None:
        return decided(EditStep::Ask);
    case EditKey::Escape:
        return decided(EditStep::Discard);
    case EditKey::Enter:
        break;
    }
    if (text.trimmed().isEmpty())
        return decided(EditStep::Store, 0);
    if (!typed)
        return decided(EditStep::Refuse, 0, kValueNotNumeric);
    if (!text::withinTable(*typed))
        return decided(EditStep::Refuse, 0, text::outsideTableMessage());
    return decided(EditStep::Store, *typed);
}

QString storeValueQuestion(const QString& text, const QString& nutrientName, QChar separator) {
    return QStringLiteral("Desea Grabar el Valor ") +
           text::formatValue(text, QStringLiteral("#########0.00###"), separator) +
           QStringLiteral(" para el Nutriente ") + nutrientName + QStringLiteral(" ?");
}

double cellValue(const QString& cellText) {
    return text::parseUserNumber(cellText).value_or(0);
}

std::optional<double> compositionValue(db::Connection& conn, int ingredientId, int nutrientId) {
    const db::Result row = conn.query(
        QStringLiteral("select valor from producto_propiedad where id_producto=") +
        db::sqlInt(ingredientId) + QStringLiteral(" and id_propiedad=") + db::sqlInt(nutrientId));
    if (row.isEmpty() || row.value(0, 0).isNull())
        return std::nullopt;
    return row.value(0, 0).toDouble();
}

void storeCompositionValue(db::Connection& conn, int ingredientId, int nutrientId, double value) {
    conn.execute(QStringLiteral("UPDATE producto_propiedad SET valor=") + db::sqlReal(value) +
                 pair(ingredientId, nutrientId));
}

bool hasCompositionRow(db::Connection& conn, int ingredientId, int nutrientId) {
    return anyRow(conn, QStringLiteral("from producto_propiedad") + pair(ingredientId, nutrientId));
}

void addCompositionRow(db::Connection& conn, int ingredientId, int nutrientId) {
    conn.execute(QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                                "values (") +
                 db::sqlInt(ingredientId) + QLatin1Char(',') + db::sqlInt(nutrientId) +
                 QStringLiteral(",0)"));
}

void removeCompositionRow(db::Connection& conn, int ingredientId, int nutrientId) {
    conn.execute(QStringLiteral("delete from producto_propiedad") + pair(ingredientId, nutrientId));
}

QString removeCompositionRowQuestion(const QString& nutrientName) {
    return QStringLiteral("¿Confirma la eliminación del Nutriente ") + nutrientName +
           QStringLiteral(" para el Producto?");
}

} // namespace tarvela::catalogs
