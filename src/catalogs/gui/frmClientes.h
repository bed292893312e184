#pragma once

#include "catalogs/gui/catalog_list.h"

class QLineEdit;

namespace tarvela {

// The customer list "Clientes": customers by name, searched by name and town; opens, creates
// and deletes them in maintenance mode and picks one in pick mode (picked(), nothing when closed
// without choosing).
class frmClientes : public CatalogList {
    Q_OBJECT

public:
    frmClientes(AppContext& ctx, ListMode mode, QWidget* parent = nullptr);

    // The key of the customer chosen.
    const std::optional<int>& picked() const { return picked_; }

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;

private:
    std::optional<int> picked_;
    QLineEdit* nameBox_ = nullptr;
    QLineEdit* townBox_ = nullptr;
};

} // namespace tarvela
