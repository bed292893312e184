#pragma once

#include "context/app_context.h"
#include "formulas/formula_header.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// "Grabar Fórmula": the header of the formula being saved (code, product, customer, version).
// "Grabar" checks the boxes and asks what must be asked, then closes accepted with the header to
// write (header()); the dialog itself writes nothing, so no transaction waits on the user.
// "Cancelar", or closing otherwise, leaves no header. The customer chosen becomes the program's
// current customer.
class frmnueva_formula : public QDialog {
    Q_OBJECT

public:
    // The formula being saved (0 = one never saved), its batch quantity and the formulation
    // window's basis flags.
    frmnueva_formula(AppContext& ctx, int formulaId, double quantity, bool vSecaIng, bool vSecaNut,
                     QWidget* parent = nullptr);

    // The header confirmed by "Grabar"; nothing when the dialog closed otherwise.
    const std::optional<formulas::HeaderToWrite>& header() const { return header_; }

    void save();           // "Grabar"
    void cancel();         // "Cancelar"
    void chooseCustomer(); // "..."
    void showVersion();    // the new-version check box

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showLoaded();
    void focusBox(formulas::HeaderField field);

    AppContext& ctx_;
    formulas::FormulaHeaderEditor editor_;
    std::optional<formulas::HeaderToWrite> header_;
    bool loadFailed_ = false;
    bool activated_ = false;

    QLineEdit* customerBox_ = nullptr;
    QPushButton* chooseCustomerButton_ = nullptr;
    QLineEdit* codeBox_ = nullptr;
    QLineEdit* productBox_ = nullptr;
    QLineEdit* versionBox_ = nullptr;
    QLineEdit* lastCodeBox_ = nullptr;
    QCheckBox* newVersionCheck_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace tarvela
