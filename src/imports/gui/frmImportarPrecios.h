#pragma once

#include "imports/gui/file_import_window.h"
#include "imports/price_import.h"

namespace tarvela {

class PreviewTable;

// "Actualizar precios desde archivo": every row of a price list with the ingredient it names,
// its current and new price and dry matter, the price's variation and its state. "Aplicar"
// writes the valid rows and their history in one transaction; with refused rows the user
// chooses between applying the valid ones and applying nothing, and rows whose price moves more
// than 50 % are applied only after their own confirmation.
class frmImportarPrecios : public FileImportWindow {
    Q_OBJECT

public:
    frmImportarPrecios(AppContext& ctx, const QString& path, QWidget* parent = nullptr);

    const imports::PricePreview& shownPreview() const { return preview_; }
    // Ingredients written by the last "Aplicar".
    int updated() const { return updated_; }

protected:
    QString preview(const files::Table& table) override;
    bool apply() override;
    bool hasChangesToApply() const override { return preview_.hasChanges(true); }

private:
    imports::PriceList list_;
    imports::PricePreview preview_;
    int updated_ = 0;
    PreviewTable* priceGrid_ = nullptr;
};

} // namespace tarvela
