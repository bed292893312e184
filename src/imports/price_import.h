#pragma once

#include "db/connection.h"
#include "files/table.h"
#include "imports/base_ingredients.h"
#include "imports/number_column.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// Today's prices and dry matter from a price list (a CSV text or a workbook): every row matched
// by code with an ingredient of the base, checked and previewed, then the valid rows written
// with one history row each, in one transaction.
namespace tarvela::imports {

// What happens to a row of the list.
enum class PriceStatus {
    Unchanged,        // "Sin cambios"
    Updated,          // "Actualizado"
    UnknownCode,      // "Código inexistente": refused
    RepeatedCode,     // "Código repetido en el archivo": refused
    InvalidPrice,     // "Precio no válido": refused
    InvalidDryMatter, // "Materia seca no válida": refused
    LargeVariation,   // "Variación mayor al 50 %": written only when the user confirms it
};

QString priceStatusText(PriceStatus status);
bool isRefused(PriceStatus status);

// A row of the list as read from the file, before the catalog is looked at.
struct PriceListRow {
    int fila = 0;   // the row's number in the file
    QString codigo; // trimmed
    QString nombre; // the file's, shown for a code the catalog lacks
    NumberCell costo;
    NumberCell materiaSeca;
    QString costoPlace; // where the cells are, for the messages
    QString materiaSecaPlace;
    QString codigoPlace;
};

struct PriceList {
    QString origen; // the file's name, kept with every history row
    std::vector<PriceListRow> rows;
    QString error; // the table is not a price list: why, for the user
};

// Reads the columns código (required), precio or costo (required, one of them), materia seca
// and nombre (optional), matched by their headings; blank rows are skipped.
PriceList readPriceList(const files::Table& table, const QString& origen);

struct PriceRow {
    int fila = 0;
    QString codigo;
    int idProducto = 0; // 0: no ingredient
    QString nombre;     // the catalog's; the file's when the code matches no ingredient
    std::optional<double> costoActual;
    std::optional<double> costoNuevo;
    std::optional<double> materiaSecaActual;
    std::optional<double> materiaSecaNueva; // empty cell: the dry matter stays
    std::optional<double> variacion;        // percent of the current price
    PriceStatus estado = PriceStatus::Unchanged;
    QString motivo; // a refused or confirmable row: where and why

    bool operator==(const PriceRow&) const = default;
};

struct PricePreview {
    std::vector<PriceRow> rows;

    int count(PriceStatus status) const;
    int refused() const;
    // Whether applying would write anything: rows updated, or confirmable ones if confirmed.
    bool hasChanges(bool withLargeVariations) const;
};

// A price change larger than this share of the current price needs its own confirmation.
inline constexpr double kLargeVariationPercent = 50;

// Matches the list with the ingredients of the base. Codes are compared as the ingredient
// window's duplicate check compares them: trimmed, right-aligned to 20 characters, without
// regard to case. Throws db::DbError.
PricePreview previewPrices(db::Connection& conn, int base, const PriceList& list);

struct PriceApplication {
    int updated = 0;    // ingredients written, each with one history row
    bool stale = false; // the catalog changed after the preview: nothing was written
};

// Writes the rows "Actualizado", and the rows "Variación mayor al 50 %" when confirmed: price,
// dry matter, and one precios_historial row each (moment `when`, origin the list's), all in one
// transaction. The preview is made again inside it; when it differs from the one the user saw,
// nothing is written and stale is set. Refused rows are never written. Throws db::DbError; then
// nothing is written.
PriceApplication applyPrices(db::Connection& conn, int base, const PriceList& list,
                             const PricePreview& seen, bool withLargeVariations,
                             const QDateTime& when);

} // namespace tarvela::imports
