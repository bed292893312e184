#pragma once

#include "imports/preview_grid.h"
#include "imports/price_import.h"

#include <QChar>

// The price preview's grid: "Código", "Nombre", "Precio actual", "Precio nuevo", "Variación %",
// "M.S. actual", "M.S. nueva", "Estado", and "Detalle" with the reason of a refused or
// confirmable row. The state's cell is red for a refused row, amber for one that needs its
// confirmation, green for one that changes.
namespace tarvela::imports {

enum PricePreviewColumn {
    kPrvCodigo = 0,
    kPrvNombre,
    kPrvCostoActual,
    kPrvCostoNuevo,
    kPrvVariacion,
    kPrvMsActual,
    kPrvMsNueva,
    kPrvEstado,
    kPrvDetalle,
};

// The grid reads the preview, which must outlive it.
PreviewGrid pricePreviewGrid(const PricePreview& preview, QChar separator);

// "Filas: 120 · Actualizado: 80 · Sin cambios: 30 · ..." with the states that occur.
QString pricePreviewCounts(const PricePreview& preview);

} // namespace tarvela::imports
