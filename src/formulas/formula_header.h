#pragma once

#include "context/desktop.h"
#include "db/connection.h"

#include <QDate>
#include <QString>

// The formula record and its versions: what the "Grabar Fórmula" dialog loads, checks and
// writes. A formula is identified by its code within a base; every saved version is one row of
// formulas. Messages and questions go to the desktop.
namespace tarvela::formulas {

// The box that gets the focus after a refused save.
enum class HeaderField { None, Code, Product };

enum class SaveOutcome {
    Saved,     // the row was inserted or updated; SaveResult::formulaId names it
    Refused,   // a check failed and its message was shown; nothing written
    Cancelled, // the user answered No to the code-change question; nothing written
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Refused;
    HeaderField focus = HeaderField::None;
    int formulaId = 0; // Saved: the row written, which becomes the current formula
};

// The program's current values the dialog starts from.
struct HeaderStart {
    int formulaId = 0; // the formula being saved; 0 or below = a new formula
    int base = 1;
    int customer = 0;    // the current customer, which a new formula takes
    double quantity = 0; // the batch quantity, written as cantidad
};

class FormulaHeaderEditor {
public:
    // vSecaIng and vSecaNut are the formulation window's basis flags, written as tipoBase and
    // tipoBaseNutrientes.
    FormulaHeaderEditor(db::Connection& conn, Desktop& desktop, const HeaderStart& start,
                        bool vSecaIng, bool vSecaNut);

    // The date written as creation and modification date (today unless a test sets it).
    void setToday(const QDate& today) { today_ = today; }

    // Reads the formula (or the hints for a new one). False when it cannot be loaded: the
    // message has been shown, formulaId() is -1 and the dialog must close. Throws db::DbError.
    bool load();

    // Reads the name of customerId() after the customer was chosen; an unknown customer
    // becomes 0 with an empty name. Throws db::DbError.
    void refreshCustomer();
    // The customer chosen in the customer window; 0 or below = none. Also the current customer.
    void chooseCustomer(int customerId);
    // The program's current customer as the dialog leaves it: the one it started with, 0 once a
    // new formula found it unknown, or the one chosen.
    int currentCustomer() const { return currentCustomer_; }

    // Checks the boxes and writes the formula row, in one transaction (which joins the
    // caller's). Throws db::DbError when a statement fails.
    SaveResult save(const QString& codeText, const QString& productText, bool newVersion);

    // The version box's text for the state of the new-version check box.
    QString versionText(bool newVersion) const;

    int formulaId() const { return formulaId_; }
    bool isNew() const { return isNew_; }
    const QString& loadedCode() const { return loadedCode_; }
    int nextVersion() const { return nextVersion_; }
    // The boxes as loaded.
    const QString& lastCode() const { return lastCode_; } // "Último"
    const QString& code() const { return code_; }
    const QString& product() const { return product_; }
    const QString& customerName() const { return customerName_; }
    int customerId() const { return customerId_; }

private:
    bool loadExisting();
    void loadNew();
    bool codeInUse(const QString& newCode);
    int versionsOf(const QString& code);
    QString insertStatement(int id, const QString& newCode, const QString& product,
                            int version) const;
    QString updateStatement(const QString& product) const;

    db::Connection& conn_;
    Desktop& desktop_;
    HeaderStart start_;
    int currentCustomer_;
    bool vSecaIng_;
    bool vSecaNut_;
    QDate today_;

    int formulaId_ = 0;
    bool isNew_ = true;
    QString loadedCode_;
    int currentVersion_ = 0;
    int nextVersion_ = 1;
    QString lastCode_;
    QString code_;
    QString product_;
    QString customerName_;
    int customerId_ = 0;
};

// The question asked before the code of a formula with several versions changes.
QString codeChangeQuestion(int versions, const QString& loadedCode);

} // namespace tarvela::formulas
