#include "imports/price_import.h"

#include "catalogs/ingredient_catalog.h"
#include "catalogs/price_history.h"
#include "db/statements.h"
#include "imports/base_ingredients.h"
#include "imports/table_layout.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tarvela::imports {

QString priceStatusText(PriceStatus status) {
    switch (status) {
    case PriceStatus::Unchanged:
        return QStringLiteral("Sin cambios");
    case PriceStatus::Updated:
        return QStringLiteral("Actualizado");
    case PriceStatus::UnknownCode:
        return QStringLiteral("Código inexistente");
    case PriceStatus::RepeatedCode:
        return QStringLiteral("Código repetido en el archivo");
    case PriceStatus::InvalidPrice:
        return QStringLiteral("Precio no válido");
    case PriceStatus::InvalidDryMatter:
        return QStringLiteral("Materia seca no válida");
    case PriceStatus::LargeVariation:
        break;
    }
    return QStringLiteral("Variación mayor al 50 %");
}

bool isRefused(PriceStatus status) {
    return status == PriceStatus::UnknownCode || status == PriceStatus::RepeatedCode ||
           status == PriceStatus::InvalidPrice || status == PriceStatus::InvalidDryMatter;
}

PriceList readPriceList(const files::Table& table, const QString& origen) {
    PriceList list;
    list.origen = origen;
    const TableLayout layout = layoutOf(table);
    QString error;
    const int code = layout.column({QStringLiteral("código")}, error);
    int price = -1;
    if (error.isEmpty())
        price = layout.column({QStringLiteral("precio"), QStringLiteral("costo")}, error);
    int dryMatter = -1;
    if (error.isEmpty())
        dryMatter = layout.column({QStringLiteral("materia seca")}, error);
    int name = -1;
    if (error.isEmpty())
        name = layout.column({QStringLiteral("nombre")}, error);
    if (error.isEmpty() && (code < 0 || price < 0)) {
        QStringList missing;
        if (code < 0)
            missing << QStringLiteral("Código");
        if (price < 0)
            missing << QStringLiteral("Precio (o Costo)");
        error = QStringLiteral("El archivo no tiene la columna %1. La primera fila con datos debe "
                               "nombrar las columnas: Código, Precio (o Costo) y, si se desea, "
                               "Materia Seca y Nombre.")
                    .arg(missing.join(QStringLiteral(" ni la columna ")));
    }
    if (!error.isEmpty()) {
        list.error = error;
        return list;
    }
    const std::vector<NumberCell> prices = layout.numbers(price);
    const std::vector<NumberCell> dryMatters = layout.numbers(dryMatter);
    for (size_t i = 0; i < layout.rows.size(); ++i) {
        const files::Row& row = *layout.rows[i];
        list.rows.push_back(
            {row.number, cellText(row.cell(code)), name < 0 ? QString() : cellText(row.cell(name)),
             prices[i], dryMatters[i], layout.place(row, price),
             dryMatter < 0 ? QString() : layout.place(row, dryMatter), layout.place(row, code)});
    }
    return list;
}

int PricePreview::count(PriceStatus status) const {
    return static_cast<int>(std::count_if(
        rows.begin(), rows.end(), [status](const PriceRow& r) { return r.estado == status; }));
}

int PricePreview::refused() const {
    return static_cast<int>(std::count_if(rows.begin(), rows.end(),
                                          [](const PriceRow& r) { return isRefused(r.estado); }));
}

bool PricePreview::hasChanges(bool withLargeVariations) const {
    return count(PriceStatus::Updated) > 0 ||
           (withLargeVariations && count(PriceStatus::LargeVariation) > 0);
}

namespace {

// The status of a row whose code is known, and the reason of a refusal.
void checkValues(const PriceListRow& in, PriceRow& out) {
    if (!in.costo.number()) {
        out.estado = PriceStatus::InvalidPrice;
        out.motivo = refusal(in.costoPlace, in.costo.empty() ? QStringLiteral("falta el precio")
                                                             : in.costo.reason);
        return;
    }
    if (in.costo.value < 0) {
        out.estado = PriceStatus::InvalidPrice;
        out.motivo = refusal(in.costoPlace, QStringLiteral("el precio no puede ser negativo"));
        return;
    }
    out.costoNuevo = in.costo.value;
    if (in.materiaSeca.refused() ||
        (in.materiaSeca.number() && (in.materiaSeca.value < 0 || in.materiaSeca.value > 100))) {
        out.estado = PriceStatus::InvalidDryMatter;
        out.motivo = refusal(in.materiaSecaPlace,
                             in.materiaSeca.refused()
                                 ? in.materiaSeca.reason
                                 : QStringLiteral("la materia seca debe estar entre 0 y 100"));
        return;
    }
    if (in.materiaSeca.number())
        out.materiaSecaNueva = in.materiaSeca.value;

    const double before = out.costoActual.value_or(0);
    if (before != 0)
        out.variacion = (*out.costoNuevo - before) / std::fabs(before) * 100;
    const bool priceChanges = !sameValue(out.costoActual, out.costoNuevo);
    const bool dryMatterChanges =
        out.materiaSecaNueva && !sameValue(out.materiaSecaNueva, out.materiaSecaActual);
    if (!priceChanges && !dryMatterChanges) {
        out.estado = PriceStatus::Unchanged;
        return;
    }
    const bool large =
        priceChanges &&
        (out.variacion ? std::fabs(*out.variacion) > kLargeVariationPercent : *out.costoNuevo != 0);
    out.estado = large ? PriceStatus::LargeVariation : PriceStatus::Updated;
    if (large)
        out.motivo = refusal(in.costoPlace, QStringLiteral("el precio cambia más del 50 %; se "
                                                           "aplica sólo si se confirma"));
}

} // namespace

PricePreview previewPrices(db::Connection& conn, int base, const PriceList& list) {
    const BaseIngredients catalog = loadBaseIngredients(conn, base);
    // The rows of each code, to find codes the file repeats.
    QHash<QString, QList<int>> rowsOfCode;
    for (const PriceListRow& row : list.rows)
        if (!row.codigo.isEmpty())
            rowsOfCode[catalogs::codeKey(row.codigo)] << row.fila;

    PricePreview preview;
    preview.rows.reserve(list.rows.size());
    for (const PriceListRow& in : list.rows) {
        PriceRow out;
        out.fila = in.fila;
        out.codigo = in.codigo;
        out.nombre = in.nombre;
        if (in.codigo.isEmpty()) {
            out.estado = PriceStatus::UnknownCode;
            out.motivo = refusal(in.codigoPlace, QStringLiteral("falta el código"));
            preview.rows.push_back(out);
            continue;
        }
        const QList<int>& same = rowsOfCode[catalogs::codeKey(in.codigo)];
        bool ambiguous = false;
        const BaseIngredient* ingredient = catalog.find(in.codigo, &ambiguous);
        if (ingredient) {
            out.idProducto = ingredient->id;
            out.nombre = ingredient->nombre;
            out.costoActual = ingredient->costo;
            out.materiaSecaActual = ingredient->materiaSeca;
        }
        if (same.size() > 1) {
            QStringList others;
            for (const int fila : same)
                if (fila != in.fila)
                    others << QString::number(fila);
            out.estado = PriceStatus::RepeatedCode;
            out.motivo =
                refusal(in.codigoPlace, QStringLiteral("el código '%1' también está en "
                                                       "la fila %2")
                                            .arg(in.codigo, others.join(QStringLiteral(", "))));
        } else if (!ingredient) {
            out.estado = PriceStatus::UnknownCode;
            out.motivo = refusal(
                in.codigoPlace,
                ambiguous
                    ? QStringLiteral("hay más de un ingrediente con el código '%1' en la base")
                          .arg(in.codigo)
                    : QStringLiteral("no hay un ingrediente con el código '%1' en la base")
                          .arg(in.codigo));
        } else {
            checkValues(in, out);
        }
        preview.rows.push_back(out);
    }
    return preview;
}

PriceApplication applyPrices(db::Connection& conn, int base, const PriceList& list,
                             const PricePreview& seen, bool withLargeVariations,
                             const QDateTime& when) {
    db::Transaction transaction(conn);
    const PricePreview now = previewPrices(conn, base, list);
    if (now.rows != seen.rows)
        return {0, true};
    std::vector<catalogs::PriceChange> changes;
    for (const PriceRow& row : now.rows) {
        if (row.estado != PriceStatus::Updated &&
            !(withLargeVariations && row.estado == PriceStatus::LargeVariation))
            continue;
        const std::optional<double> dryMatter =
            row.materiaSecaNueva ? row.materiaSecaNueva : row.materiaSecaActual;
        conn.execute(QStringLiteral("update productos set costo=") + db::sqlReal(row.costoNuevo) +
                     QStringLiteral(",materia_seca=") + db::sqlReal(dryMatter) +
                     QStringLiteral(" where id_producto=") + db::sqlInt(row.idProducto));
        changes.push_back(
            {row.idProducto, row.costoActual, row.costoNuevo, row.materiaSecaActual, dryMatter});
    }
    catalogs::recordPriceChanges(conn, changes, when, list.origen);
    transaction.commit();
    return {static_cast<int>(changes.size()), false};
}

} // namespace tarvela::imports
