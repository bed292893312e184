#pragma once

#include "context/desktop.h"
#include "db/connection.h"

#include <QDate>
#include <QString>

// The formula record and its versions: what the "Grabar Fórmula" dialog loads and checks, and
// the header row it confirms, which the save then writes together with the details. A formula
// is identified by its code within a base; every saved version is one row of formulas. Messages
// and questions go to the desktop.
namespace tarvela::formulas {

// The box that gets the focus after a refused save.
enum class HeaderField { None, Code, Product };

enum class SaveOutcome {
    Confirmed, // the checks passed and the questions were answered: the header may be written
    Refused,   // a check failed and its message was shown
    Cancelled, // the user answered No to the code-change question
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Refused;
    HeaderField focus = HeaderField::None;
};

// The program's current values the dialog starts from.
struct HeaderStart {
    int formulaId = 0; // the formula being saved; 0 or below = a new formula
    int base = 1;
    int customer = 0;    // the current customer, which a new formula takes
    double quantity = 0; // the batch quantity, written as cantidad
};

// The header row a confirmed dialog leaves to write: a new row (a new formula, or a new version
// of the loaded one) or an update of the loaded row, and the code change of every version.
struct HeaderToWrite {
    bool insert = true;
    bool newFormula = true; // version 0; otherwise a new version numbers after the highest
    int formulaId = 0;      // the row updated, when not inserting
    QString newCode;        // 20-character form
    QString loadedCode;     // the code as loaded; empty for a new formula
    QString product;        // trimmed
    int base = 1;
    int customerId = 0;
    double quantity = 0;
    bool vSecaIng = true;
    bool vSecaNut = true;
    QDate today;
};

enum class HeaderWriteOutcome {
    Written,
    CodeTaken, // another workstation took the new code since the dialog checked it
};
struct HeaderWritten {
    HeaderWriteOutcome outcome = HeaderWriteOutcome::Written;
    int formulaId = 0; // the row inserted or updated
};

// Writes the header row in one transaction, which joins the caller's (the save writes the
// details in the same one). Throws db::DbError, and db::KeyError when no new key can be given.
HeaderWritten writeHeader(db::Connection& conn, const HeaderToWrite& header);

// The refusal of a code that another formula of the base holds.
QString codeTakenMessage(const QString& newCode);

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

    // Checks the boxes and asks what must be asked; nothing is written, and no transaction is
    // open while the user answers. When confirmed, toWrite() is the header to write. Throws
    // db::DbError when a statement fails.
    SaveResult confirm(const QString& codeText, const QString& productText, bool newVersion);
    const HeaderToWrite& toWrite() const { return toWrite_; }

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
    HeaderToWrite toWrite_;
};

// The question asked before the code of a formula with several versions changes.
QString codeChangeQuestion(int versions, const QString& loadedCode);

} // namespace tarvela::formulas
