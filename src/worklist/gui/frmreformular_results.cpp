// "Reformular Fórmulas": the results grid and what acts on it.
#include "worklist/gui/frmreformular.h"

#include "formulation/gui/frmDiagnostico.h"
#include "formulation/gui/open_formulation.h"
#include "grid/gui/grid_painter.h"
#include "reports/gui/generated_document.h"
#include "reports/workbook.h"
#include "widgets/errores.h"
#include "worklist/version_save.h"
#include "worklist/worklist_grid.h"

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>

namespace tarvela {

namespace {

QString summary(const std::vector<worklist::Reformulated>& rows, int shown) {
    int optimal = 0, without = 0, stopped = 0;
    for (const worklist::Reformulated& row : rows) {
        optimal += row.estado == worklist::Estado::Optima;
        without += row.estado == worklist::Estado::SinSolucion;
        stopped += row.estado == worklist::Estado::Detenida;
    }
    // "1 fórmula: 1 óptima", "2 fórmulas: 0 óptimas".
    const auto counted = [](int n, const QString& one, const QString& many) {
        return QString::number(n) + QLatin1Char(' ') + (n == 1 ? one : many);
    };
    QString text = counted(shown, QStringLiteral("fórmula"), QStringLiteral("fórmulas")) +
                   QStringLiteral(": ") +
                   counted(optimal, QStringLiteral("óptima"), QStringLiteral("óptimas")) +
                   QStringLiteral(", %1 sin solución, ").arg(without) +
                   counted(stopped, QStringLiteral("detenida"), QStringLiteral("detenidas"));
    if (static_cast<size_t>(shown) < rows.size())
        text +=
            QStringLiteral(" (%1 sin reformular)").arg(rows.size() - static_cast<size_t>(shown));
    return text;
}

} // namespace

worklist::Reformulated* frmreformular::rowAt(int gridRow) {
    if (gridRow < 0 || static_cast<size_t>(gridRow) >= shown_.size())
        return nullptr;
    return &list_.rows[static_cast<size_t>(shown_[static_cast<size_t>(gridRow)])];
}

void frmreformular::showResults() {
    shown_ = worklist::shownRows(list_.rows);
    const int current = flexResultados_->currentRow();
    paintGrid(*flexResultados_, worklist::paintWorklist(list_.rows, displaySeparator(ctx_)));
    // The lists of what enters and leaves, and the status, are read whole in their tooltips
    // where the column clips them.
    for (int r = 0; r < flexResultados_->rowCount(); ++r)
        for (int c : {worklist::kColEstado, worklist::kColEntran, worklist::kColSalen})
            if (QTableWidgetItem* item = flexResultados_->item(r, c))
                item->setToolTip(item->text());
    if (current >= 0 && current < flexResultados_->rowCount())
        flexResultados_->setCurrentCell(current, worklist::kColCodigo);
    lblResumen_->setText(list_.rows.empty() ? QString()
                                            : summary(list_.rows, static_cast<int>(shown_.size())));
}

void frmreformular::sortBy(int column) {
    if (busy() || column < 0 || column >= worklist::kColumnCount)
        return;
    sortAscending_ = column == sortColumn_ ? !sortAscending_ : true;
    sortColumn_ = column;
    worklist::sortWorklist(list_.rows, column, sortAscending_);
    showResults();
}

void frmreformular::flexResultados_Click(int row, int column) {
    worklist::Reformulated* r = rowAt(row);
    if (busy() || !r || column != worklist::kColMarca || r->estado != worklist::Estado::Optima ||
        r->idFormulaNueva != 0)
        return;
    r->marcada = !r->marcada;
    showResults();
}

void frmreformular::flexResultados_DblClick(int row, int column) {
    worklist::Reformulated* r = rowAt(row);
    if (busy() || !r || column == worklist::kColMarca || r->model.formulaId == 0)
        return;
    // The re-run result in the workspace, not saved: the window's "Grabar" saves it.
    openFormulationWindow(ctx_, this, r->model);
}

void frmreformular::cmdDiagnostico_Click() {
    worklist::Reformulated* r = rowAt(flexResultados_->currentRow());
    if (busy())
        return;
    if (!r || r->estado != worklist::Estado::SinSolucion) {
        ctx_.ui().message(QStringLiteral("Seleccione una fórmula sin solución"),
                          MsgIcon::Information);
        return;
    }
    // "Aplicar" writes the proposal into a copy of the result, which the formulation window
    // then shows to be formulated again.
    formulation::WorkingModel model = r->model;
    if (showDiagnosis(ctx_, model, this))
        openFormulationWindow(ctx_, this, model);
}

void frmreformular::cmdGrabar_Click() {
    if (busy())
        return;
    int marked = 0;
    for (const worklist::Reformulated& row : list_.rows)
        marked += worklist::savable(row);
    if (marked == 0) {
        ctx_.ui().message(QStringLiteral("Marque las fórmulas óptimas que desea grabar"),
                          MsgIcon::Information);
        return;
    }
    saving_ = true;
    cancelSave_ = false;
    setRunning(true);
    prgAvance_->setRange(0, marked);
    prgAvance_->setValue(0);
    worklist::VersionsSaved saved;
    {
        BusyPointer pointer(ctx_.ui());
        // Each formula is saved whole in its own transaction; "Cancelar" stops between two.
        saved = worklist::saveNewVersions(ctx_.db(), list_.rows, base_, QDate::currentDate(),
                                          [this](int done, int) {
                                              prgAvance_->setValue(done);
                                              QCoreApplication::processEvents();
                                              return !cancelSave_;
                                          });
    }
    prgAvance_->setValue(saved.saved + static_cast<int>(saved.failures.size()));
    saving_ = false;
    setRunning(false);
    showResults();
    if (!saved.failures.empty())
        ctx_.ui().message(worklist::failuresMessage(saved.failures), MsgIcon::Critical);
    else
        ctx_.ui().message(QStringLiteral("Versiones nuevas grabadas: %1").arg(saved.saved),
                          MsgIcon::Information);
}

void frmreformular::cmdExportar_Click() {
    if (busy() || shown_.empty())
        return;
    reports::WrittenFile file;
    {
        BusyPointer pointer(ctx_.ui());
        file =
            reports::saveNewWorkbook(worklist::worklistSheet(list_.rows),
                                     ctx_.ui().temporaryFolder(), QStringLiteral("Reformulación"));
    }
    deliverDocument(ctx_, file, this);
}

} // namespace tarvela
