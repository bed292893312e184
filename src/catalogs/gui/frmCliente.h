#pragma once

#include "catalogs/customer_catalog.h"
#include "catalogs/gui/catalog_editor.h"

#include <array>

class QLineEdit;

namespace tarvela {

// The customer window "Cliente": creates a customer (vIdCliente 0) or edits vIdCliente: name,
// address, town, telephone and e-mail.
class frmCliente : public CatalogEditor {
    Q_OBJECT

public:
    explicit frmCliente(AppContext& ctx, QWidget* parent = nullptr);

    // The customer to edit; 0 = a new customer. Set before the window is shown.
    int vIdCliente = 0;

    bool isNew() const { return isNew_; }
    const catalogs::CustomerRecord& savedValues() const { return savedValues_; }

protected:
    bool changed() const override;
    bool save() override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Activate();
    catalogs::CustomerRecord boxes() const;
    void showBoxes(const catalogs::CustomerRecord& customer);

    bool activated_ = false;
    bool isNew_ = true;
    catalogs::CustomerRecord savedValues_;
    // The customer's change stamp as read: a save refuses a customer changed since.
    QString stamp_;
    std::array<QLineEdit*, 5> boxes_{};
};

} // namespace tarvela
