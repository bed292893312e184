#pragma once

#include "context/app_context.h"
#include "db/result.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// The formula list "Fórmulas": the formulas of the current base, one line per version, narrowed
// by the filters; opens a formula in the formulation window for editing, starts a new one, and
// deletes one version.
class frmformulas : public QDialog {
    Q_OBJECT

public:
    // Opens the formulation window on ctx.currentFormulaId (0 = a new formula) and returns when
    // it closes. The list's owner hands it in: the formulation window lives in a room above.
    using FormulationOpener = std::function<void(QWidget* parent)>;

    frmformulas(AppContext& ctx, FormulationOpener openFormulation, QWidget* parent = nullptr);
    ~frmformulas() override;

    // Runs the search with the current filters ("Buscar"); false when a filter was refused.
    bool search();
    // Fills the grid from a search result.
    void actu_flexgrid1(const db::Result& result);
    const QString& lastSearchSql() const { return lastSearchSql_; }

    void Command1_Click();
    void Command2_Click();
    void cmdEditar_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClose_Click();
    void command9_Click(); // "..." beside "Nutriente"
    void command5_Click(); // "..." beside "Ingrediente"
    // "Imprimir": the last search printed (frmformulas_output.cpp).
    void cmdPrint_Click();
    // Marking formulas for the comparison and comparing them (frmformulas_output.cpp).
    void chkComparar_Click();
    void flexgrid1_Click(int row, int column);
    void cmdComparar_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadCustomers();
    void DataCombo2_Click();
    void openFormulation();
    bool validateDateBox(QLineEdit* box);
    int selectedRow() const;
    void setMarked(int row, bool marked);

    AppContext& ctx_;
    FormulationOpener openFormulation_;
    int selectedNutrientId_ = 0;
    int selectedIngredientId_ = 0;
    QString lastSearchSql_;
    bool validating_ = false;

    QComboBox* DataCombo2_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QLineEdit* Text3_ = nullptr;
    QLineEdit* Text4_ = nullptr;
    QLineEdit* Text5_ = nullptr;
    QLineEdit* Text6_ = nullptr;
    QLineEdit* Text7_ = nullptr;
    QLineEdit* Text8_ = nullptr;
    QLineEdit* Text11_ = nullptr;
    QLineEdit* Text12_ = nullptr;
    QLineEdit* Text13_ = nullptr;
    QPushButton* command9_ = nullptr;
    QPushButton* command5_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QPushButton* Command2_ = nullptr;
    QPushButton* cmdEditar_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdPrint_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QCheckBox* chkComparar_ = nullptr;
    QPushButton* cmdComparar_ = nullptr;
    QTableWidget* flexgrid1_ = nullptr;
    QLabel* txtnohubo_ = nullptr;
    QLabel* imgTipoFormulacion_ = nullptr;
};

} // namespace tarvela
