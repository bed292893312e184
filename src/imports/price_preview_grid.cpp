#include "imports/price_preview_grid.h"

#include "text/format.h"

#include <QStringList>

namespace tarvela::imports {

namespace {

QString number(const std::optional<double>& value, const char* pattern, QChar separator) {
    return value ? text::formatNumber(*value, QString::fromLatin1(pattern), separator) : QString();
}

} // namespace

PreviewGrid pricePreviewGrid(const PricePreview& preview, QChar separator) {
    PreviewGrid grid;
    grid.columns = {
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1100, true},
        {QStringLiteral("nombre"), QStringLiteral("Nombre"), 2600, false},
        {QStringLiteral("costo_actual"), QStringLiteral("Precio actual"), 1300, true},
        {QStringLiteral("costo_nuevo"), QStringLiteral("Precio nuevo"), 1300, true},
        {QStringLiteral("variacion"), QStringLiteral("Variación %"), 1200, true},
        {QStringLiteral("ms_actual"), QStringLiteral("M.S. actual"), 1100, true},
        {QStringLiteral("ms_nueva"), QStringLiteral("M.S. nueva"), 1100, true},
        {QStringLiteral("estado"), QStringLiteral("Estado"), 2800, false},
        {QStringLiteral("detalle"), QStringLiteral("Detalle"), grid::kRestWidth, false}};
    grid.rowCount = static_cast<int>(preview.rows.size());
    grid.cell = [&preview, separator](int r, int c) {
        const PriceRow& row = preview.rows[static_cast<size_t>(r)];
        grid::CellPaint paint;
        switch (c) {
        case kPrvCodigo:
            paint.text = row.codigo;
            break;
        case kPrvNombre:
            paint.text = row.nombre.trimmed();
            break;
        case kPrvCostoActual:
            paint.text = number(row.costoActual, "0.0000", separator);
            break;
        case kPrvCostoNuevo:
            paint.text = number(row.costoNuevo, "0.0000", separator);
            break;
        case kPrvVariacion:
            paint.text = number(row.variacion, "0.00", separator);
            break;
        case kPrvMsActual:
            paint.text = number(row.materiaSecaActual, "0.00", separator);
            break;
        case kPrvMsNueva:
            paint.text = number(row.materiaSecaNueva, "0.00", separator);
            break;
        case kPrvEstado:
            paint.text = priceStatusText(row.estado);
            if (isRefused(row.estado)) {
                paint.background = previewColors::refused;
                paint.foreground = grid::colors::lightText;
            } else if (row.estado == PriceStatus::LargeVariation) {
                paint.background = previewColors::confirm;
            } else if (row.estado == PriceStatus::Updated) {
                paint.background = previewColors::changed;
            }
            break;
        default:
            paint.text = row.motivo;
            break;
        }
        return paint;
    };
    return grid;
}

QString pricePreviewCounts(const PricePreview& preview) {
    QStringList parts{QStringLiteral("Filas: %1").arg(preview.rows.size())};
    for (const PriceStatus status :
         {PriceStatus::Updated, PriceStatus::LargeVariation, PriceStatus::Unchanged,
          PriceStatus::UnknownCode, PriceStatus::RepeatedCode, PriceStatus::InvalidPrice,
          PriceStatus::InvalidDryMatter})
        if (const int n = preview.count(status))
            parts << priceStatusText(status) + QStringLiteral(": ") + QString::number(n);
    return parts.join(QStringLiteral(" · "));
}

} // namespace tarvela::imports
