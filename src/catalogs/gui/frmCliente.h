#pragma once

#include "catalogs/customer_catalog.h"
#include "catalogs/gui/catalog_editor.h"

#include <array>

class QLineEdit;

namespace tarvela {

// The customer window "Cliente": creates a customer (customer 0) or edits one: name, address,
// town, telephone and e-mail.
class frmCliente : public CatalogEditor {
    Q_OBJECT

public:
    frmCliente(AppContext& ctx, int customerId, QWidget* parent = nullptr);

    // The customer edited, or created by "Grabar"; 0 while a new one is not saved.
    int customerId() const { return customerId_; }

    bool isNew() const { return isNew_; }
    const catalogs::CustomerRecord& savedValues() const { return savedValues_; }

protected:
    bool changed() const override;
    bool save() override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    void loadCustomer();
    catalogs::CustomerRecord boxes() const;
    void showBoxes(const catalogs::CustomerRecord& customer);

    int customerId_ = 0;
    bool activated_ = false;
    bool isNew_ = true;
    catalogs::CustomerRecord savedValues_;
    std::array<QLineEdit*, 5> boxes_{};
};

} // namespace tarvela
