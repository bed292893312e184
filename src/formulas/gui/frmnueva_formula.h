#pragma once

#include "context/app_context.h"
#include "formulas/formula_header.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarvela {

// "Grabar Fórmula": the header of the formula being saved (code, product, customer, version).
// Writes the formula row on "Grabar" and leaves its identifier in currentFormulaId; "Cancelar"
// leaves 0; any other way of closing leaves the value it found.
class frmnueva_formula : public QDialog {
    Q_OBJECT

public:
    frmnueva_formula(AppContext& ctx, bool vSecaIng, bool vSecaNut, QWidget* parent = nullptr);

    // The date written into the row (today unless a test sets it).
    void setToday(const QDate& today) { editor_.setToday(today); }

    void cmdUpdate_Click();
    void cmdRefresh_Click();
    void command5_Click();
    void Check1_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void showLoaded();
    void focusBox(formulas::HeaderField field);

    AppContext& ctx_;
    formulas::FormulaHeaderEditor editor_;
    bool loadFailed_ = false;
    bool activated_ = false;

    QLineEdit* txtNomCliente_ = nullptr;
    QPushButton* command5_ = nullptr;
    QLineEdit* txtFields_[3] = {nullptr, nullptr, nullptr};
    QLineEdit* Text1_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QPushButton* cmdUpdate_ = nullptr;
    QPushButton* cmdRefresh_ = nullptr;
};

} // namespace tarvela
