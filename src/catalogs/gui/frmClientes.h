#pragma once

#include "catalogs/gui/catalog_list.h"

class QLineEdit;

namespace tarvela {

// The customer list "Clientes": customers by name, searched by name and town; opens, creates
// and deletes them when vAction is "ABM", and picks one when it is "BUSCAR", leaving it in
// vIdCliente and currentCustomer (both 0 when closed without choosing).
class frmClientes : public CatalogList {
    Q_OBJECT

public:
    explicit frmClientes(AppContext& ctx, QWidget* parent = nullptr);

    // "ABM" (maintenance) or "BUSCAR" (pick), set before the list is shown.
    QString vAction = QStringLiteral("ABM");
    // The customer chosen or being deleted; 0 after closing without choosing.
    int vIdCliente = 0;

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override;
    bool pickMode() const override;

private:
    QLineEdit* nameBox_ = nullptr;
    QLineEdit* townBox_ = nullptr;
};

} // namespace tarvela
