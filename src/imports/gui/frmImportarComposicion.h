#pragma once

#include "imports/composition_import.h"
#include "imports/gui/file_import_window.h"

#include <array>

class QTabWidget;

namespace tarvela {

class PreviewTable;

// "Importar composición": what a composition table would change in the catalog of the current
// base, list by list (new ingredients, new nutrients, changed values before and after, values
// that stay, refused cells with their reason). "Aplicar" writes it all in one transaction; with
// refused cells the user chooses between applying the rest and applying nothing.
class frmImportarComposicion : public FileImportWindow {
    Q_OBJECT

public:
    frmImportarComposicion(AppContext& ctx, const QString& path, QWidget* parent = nullptr);

    const imports::CompositionPreview& shownPreview() const { return preview_; }

protected:
    QString preview(const files::Table& table) override;
    bool apply() override;
    bool hasChangesToApply() const override { return preview_.hasChanges(); }

private:
    imports::CompositionFile file_;
    imports::CompositionPreview preview_;
    QTabWidget* listTabs_ = nullptr;
    std::array<PreviewTable*, 5> views_{};
};

} // namespace tarvela
