#include "imports/gui/frmImportarPrecios.h"

#include "imports/gui/preview_view.h"
#include "imports/preview_grid.h"
#include "imports/price_preview_grid.h"

#include <QDateTime>
#include <QVBoxLayout>

namespace tarvela {

frmImportarPrecios::frmImportarPrecios(AppContext& ctx, const QString& path, QWidget* parent)
    : FileImportWindow(ctx, path, QStringLiteral("frmImportarPrecios"),
                       QStringLiteral("Actualizar precios desde archivo"), parent) {
    priceGrid_ = new PreviewTable(this, QStringLiteral("flexPrecios"));
    body()->addWidget(priceGrid_);
    load();
}

QString frmImportarPrecios::preview(const files::Table& table) {
    // The grid shown reads preview_ (and "Aplicar" list_): both change only together, for a
    // preview that replaces them.
    imports::PriceList list = imports::readPriceList(table, origin());
    if (!list.error.isEmpty())
        return list.error;
    try {
        preview_ = imports::previewPrices(ctx_.db(), ctx_.currentBase, list);
    } catch (const db::DbError& error) {
        return error.description();
    }
    list_ = std::move(list);
    showCounts(imports::pricePreviewCounts(preview_));
    priceGrid_->showGrid(imports::pricePreviewGrid(preview_, displaySeparator(ctx_)));
    return {};
}

bool frmImportarPrecios::apply() {
    // A list whose every row is refused or unchanged has nothing to ask about.
    if (!preview_.hasChanges(true)) {
        ctx_.ui().message(QStringLiteral("No hay cambios que aplicar."), MsgIcon::Information);
        return false;
    }
    if (!refusalsAccepted(preview_.refused(), QStringLiteral("fila rechazada"),
                          QStringLiteral("filas rechazadas"), QStringLiteral("las filas válidas")))
        return false;
    const int large = preview_.count(imports::PriceStatus::LargeVariation);
    const bool withLarge =
        large > 0 &&
        ctx_.ui().question(
            QStringLiteral("%1 una variación de precio mayor al 50 %.\n\n¿Desea %2 también?")
                .arg(imports::counted(large, QStringLiteral("fila tiene"),
                                      QStringLiteral("filas tienen")),
                     large == 1 ? QStringLiteral("aplicarla") : QStringLiteral("aplicarlas")));
    if (!preview_.hasChanges(withLarge)) {
        ctx_.ui().message(QStringLiteral("No hay cambios que aplicar."), MsgIcon::Information);
        return false;
    }
    imports::PriceApplication done;
    if (!write([&] {
            done = imports::applyPrices(ctx_.db(), ctx_.currentBase, list_, preview_, withLarge,
                                        QDateTime::currentDateTime());
            return done.stale;
        }))
        return false;
    updated_ = done.updated;
    ctx_.ui().message(done.updated == 1
                          ? QStringLiteral("Se actualizó 1 ingrediente.")
                          : QStringLiteral("Se actualizaron %1 ingredientes.").arg(done.updated),
                      MsgIcon::Information);
    return true;
}

} // namespace tarvela
