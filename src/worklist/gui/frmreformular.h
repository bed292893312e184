#pragma once

#include "context/app_context.h"
#include "worklist/parallel_runs.h"
#include "worklist/reformulation.h"

#include <QDialog>

#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace tarvela {

// "Reformular Fórmulas": the latest version of each formula of the base, filtered by customer,
// code range and date of the last change, re-run at today's catalog prices and dry matter. The
// runs go on other threads while a progress bar shows how far they are; "Cancelar" keeps the
// results so far. The results show the cost before and after, the change and the status; a
// double click opens a result in the formulation window, "Diagnóstico" explains a formula
// without solution, "Grabar versiones" saves the marked optimal ones as new versions, and
// "Exportar" hands the grid over as a workbook.
class frmreformular : public QDialog {
    Q_OBJECT

public:
    frmreformular(AppContext& ctx, int base, QWidget* parent = nullptr);
    ~frmreformular() override;

    void cmdCliente_Click();
    void cmdReformular_Click();
    void cmdCancelar_Click();
    // Whether runs or a save are under way.
    bool busy() const { return runs_ != nullptr || saving_; }
    // Waits for the runs under way to end and shows their results.
    void waitForRuns();

    // The grid's rows and columns as the widget counts them.
    void flexResultados_Click(int row, int column);
    void flexResultados_DblClick(int row, int column);
    void sortBy(int column);
    void cmdDiagnostico_Click();
    void cmdGrabar_Click();
    void cmdExportar_Click();

    // The worklist's rows, in the grid's order.
    const std::vector<worklist::Reformulated>& rows() const { return list_.rows; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void setRunning(bool running);
    void pollRuns();
    void finishRuns();
    void showResults();
    // The worklist row shown on a grid row; nullptr for none.
    worklist::Reformulated* rowAt(int gridRow);

    AppContext& ctx_;
    int base_;
    int customer_ = 0;
    worklist::Worklist list_;
    std::vector<int> shown_; // the worklist row of each grid row
    std::unique_ptr<worklist::ParallelRuns> runs_;
    bool saving_ = false;
    bool cancelSave_ = false;
    int sortColumn_ = -1;
    bool sortAscending_ = true;

    QLineEdit* txtBase_ = nullptr;
    QLineEdit* txtCliente_ = nullptr;
    QPushButton* cmdCliente_ = nullptr;
    QLineEdit* txtCodDesde_ = nullptr;
    QLineEdit* txtCodHasta_ = nullptr;
    QLineEdit* txtFecha_ = nullptr;
    QPushButton* cmdReformular_ = nullptr;
    QPushButton* cmdCancelar_ = nullptr;
    QProgressBar* prgAvance_ = nullptr;
    QTableWidget* flexResultados_ = nullptr;
    QLabel* lblResumen_ = nullptr;
    QPushButton* cmdDiagnostico_ = nullptr;
    QPushButton* cmdGrabar_ = nullptr;
    QPushButton* cmdExportar_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QTimer* poll_ = nullptr;
};

} // namespace tarvela
