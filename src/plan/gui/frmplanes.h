#pragma once

#include "catalogs/gui/catalog_list.h"

class QLineEdit;

namespace tarvela {

// "Plan de Producción": the plans of the current base by name; "Nuevo" and "Editar" open the
// plan window, "Eliminar" deletes a plan with its formulas and stocks after a question.
class frmplanes : public CatalogList {
    Q_OBJECT

public:
    frmplanes(AppContext& ctx, QWidget* parent = nullptr);

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;

private:
    QLineEdit* Text1_ = nullptr;
};

} // namespace tarvela
