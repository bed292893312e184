#pragma once

#include "db/connection.h"
#include "grid/grid_paint.h"

#include <QChar>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The history of an ingredient's price and dry matter (precios_historial): one row per change
// made from a file, with the values before and after, the moment and the file's name.
namespace tarvela::catalogs {

struct PriceChange {
    int idProducto = 0;
    std::optional<double> costoAnterior;
    std::optional<double> costoNuevo;
    std::optional<double> materiaSecaAnterior;
    std::optional<double> materiaSecaNueva;

    bool operator==(const PriceChange&) const = default;
};

// A moment as the history stores it: 'yyyy-mm-dd hh:mm:ss'.
QString historyDate(const QDateTime& when);

// Adds one history row per change, all with the same moment and origin. The caller's
// transaction holds them together with the changes they describe. Throws db::DbError.
void recordPriceChanges(db::Connection& conn, const std::vector<PriceChange>& changes,
                        const QDateTime& when, const QString& origin);

struct PriceHistoryEntry {
    QString fecha; // as stored
    PriceChange change;
    QString origen;
};

// The ingredient's history, newest first.
std::vector<PriceHistoryEntry> priceHistory(db::Connection& conn, int idProducto);

// The ingredient window's history grid: "Fecha" (dd/mm/yyyy hh:mm), "Precio anterior", "Precio
// nuevo" ("0.0000"), "M.S. anterior", "M.S. nueva" ("0.00"), "Origen".
grid::GridPaint paintPriceHistory(const std::vector<PriceHistoryEntry>& entries, QChar separator);

} // namespace tarvela::catalogs
