// "Reformular Fórmulas": its controls, the filters and the runs.
#include "worklist/gui/frmreformular.h"

#include "catalogs/gui/pickers.h"
#include "db/statements.h"
#include "formulas/formula_search.h"
#include "grid/gui/grid_painter.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"
#include "worklist/worklist_reading.h"
#include "worklist/worklist_selection.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvela {

namespace {

QLineEdit* box(QWidget* parent, const QString& name, bool readOnly = false) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(name);
    b->setReadOnly(readOnly);
    if (readOnly)
        b->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(224,224,224); }"));
    return b;
}

} // namespace

frmreformular::frmreformular(AppContext& ctx, int base, QWidget* parent)
    : QDialog(parent), ctx_(ctx), base_(base) {
    setObjectName(QStringLiteral("frmreformular"));
    setWindowTitle(QStringLiteral("Reformular Fórmulas"));
    setModal(true);
    buildControls();
    txtBase_->setText(speciesName(base_));
    setRunning(false);
}

frmreformular::~frmreformular() {
    if (runs_)
        runs_->cancel();
}

void frmreformular::buildControls() {
    auto* filters = new QGroupBox(this);
    filters->setObjectName(QStringLiteral("fraFiltros"));
    txtBase_ = box(filters, QStringLiteral("txtBase"), true);
    txtCliente_ = box(filters, QStringLiteral("txtCliente"), true);
    cmdCliente_ = windowButton(filters, QStringLiteral("cmdCliente"), QStringLiteral("..."));
    cmdCliente_->setMaximumWidth(30);
    txtCodDesde_ = box(filters, QStringLiteral("txtCodDesde"));
    txtCodHasta_ = box(filters, QStringLiteral("txtCodHasta"));
    for (QLineEdit* code : {txtCodDesde_, txtCodHasta_})
        code->setMaxLength(20);
    txtFecha_ = box(filters, QStringLiteral("txtFecha"));
    txtFecha_->setMaxLength(10);
    for (QLineEdit* b : {txtCodDesde_, txtCodHasta_, txtFecha_})
        moveOnWithEnter(b);

    auto* grid = new QGridLayout(filters);
    const auto label = [filters](const QString& text) { return new QLabel(text, filters); };
    grid->addWidget(label(QStringLiteral("Base")), 0, 0);
    grid->addWidget(txtBase_, 0, 1);
    grid->addWidget(label(QStringLiteral("Cliente")), 0, 2);
    grid->addWidget(txtCliente_, 0, 3);
    grid->addWidget(cmdCliente_, 0, 4);
    grid->addWidget(label(QStringLiteral("Código desde")), 1, 0);
    grid->addWidget(txtCodDesde_, 1, 1);
    grid->addWidget(label(QStringLiteral("hasta")), 1, 2);
    grid->addWidget(txtCodHasta_, 1, 3);
    grid->addWidget(label(QStringLiteral("Modificadas antes del")), 2, 0);
    grid->addWidget(txtFecha_, 2, 1);
    grid->setColumnStretch(3, 1);

    cmdReformular_ =
        windowButton(this, QStringLiteral("cmdReformular"), QStringLiteral("Reformular"));
    cmdCancelar_ = windowButton(this, QStringLiteral("cmdCancelar"), QStringLiteral("Cancelar"));
    prgAvance_ = new QProgressBar(this);
    prgAvance_->setObjectName(QStringLiteral("prgAvance"));
    prgAvance_->setRange(0, 1);
    prgAvance_->setValue(0);

    flexResultados_ = new QTableWidget(this);
    flexResultados_->setObjectName(QStringLiteral("flexResultados"));
    setupReadOnlyGrid(*flexResultados_);
    flexResultados_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexResultados_->setSelectionMode(QAbstractItemView::SingleSelection);
    flexResultados_->setMinimumSize(1100, 380);
    flexResultados_->horizontalHeader()->setSectionsClickable(true);

    lblResumen_ = new QLabel(this);
    lblResumen_->setObjectName(QStringLiteral("lblResumen"));
    cmdDiagnostico_ =
        windowButton(this, QStringLiteral("cmdDiagnostico"), QStringLiteral("Diagnóstico"));
    cmdGrabar_ =
        windowButton(this, QStringLiteral("cmdGrabar"), QStringLiteral("Grabar versiones"));
    cmdExportar_ = windowButton(this, QStringLiteral("cmdExportar"), QStringLiteral("Exportar"));
    cmdClose_ = closeButton(this);

    auto* runRow = new QHBoxLayout;
    runRow->addWidget(cmdReformular_);
    runRow->addWidget(prgAvance_, 1);
    runRow->addWidget(cmdCancelar_);
    auto* actions = new QHBoxLayout;
    actions->addWidget(lblResumen_, 1);
    actions->addWidget(cmdDiagnostico_);
    actions->addWidget(cmdGrabar_);
    actions->addWidget(cmdExportar_);
    actions->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addLayout(runRow);
    layout->addWidget(flexResultados_, 1);
    layout->addLayout(actions);

    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this, [this] { pollRuns(); });
    connect(cmdCliente_, &QPushButton::clicked, this, [this] { cmdCliente_Click(); });
    connect(cmdReformular_, &QPushButton::clicked, this, [this] { cmdReformular_Click(); });
    connect(cmdCancelar_, &QPushButton::clicked, this, [this] { cmdCancelar_Click(); });
    connect(flexResultados_, &QTableWidget::cellClicked, this,
            [this](int row, int column) { flexResultados_Click(row, column); });
    connect(flexResultados_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int column) { flexResultados_DblClick(row, column); });
    connect(flexResultados_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortBy(column); });
    connect(cmdDiagnostico_, &QPushButton::clicked, this, [this] { cmdDiagnostico_Click(); });
    connect(cmdGrabar_, &QPushButton::clicked, this, [this] { cmdGrabar_Click(); });
    connect(cmdExportar_, &QPushButton::clicked, this, [this] { cmdExportar_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::close);
}

void frmreformular::setRunning(bool running) {
    for (QWidget* w : std::initializer_list<QWidget*>{cmdCliente_, txtCodDesde_, txtCodHasta_,
                                                      txtFecha_, cmdReformular_, cmdDiagnostico_,
                                                      cmdGrabar_, cmdExportar_, flexResultados_})
        w->setEnabled(!running);
    cmdCancelar_->setEnabled(running);
}

void frmreformular::cmdCliente_Click() {
    customer_ = pickCustomer(ctx_, this);
    txtCliente_->clear();
    if (customer_ < 1)
        return;
    try {
        const db::Result rs = ctx_.db().query(
            QStringLiteral("SELECT nombre FROM clientes where idcliente=") + db::sqlInt(customer_));
        if (rs.isEmpty())
            customer_ = 0;
        else
            txtCliente_->setText(rs.value(0, 0).toString());
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible leer los Clientes"), error, this);
        customer_ = 0;
    }
}

void frmreformular::cmdReformular_Click() {
    if (busy())
        return;
    worklist::WorklistFilter filter;
    filter.base = base_;
    filter.customer = customer_;
    filter.codeFrom = txtCodDesde_->text();
    filter.codeTo = txtCodHasta_->text();
    if (!txtFecha_->text().trimmed().isEmpty()) {
        filter.modifiedBefore = formulas::parseUserDate(txtFecha_->text());
        if (!filter.modifiedBefore) {
            ctx_.ui().message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
            txtFecha_->setFocus();
            return;
        }
    }

    // The formulas and the catalog are read here, on this window's connection, a block at a
    // time: each block's runs start while the next is read. The runs read nothing.
    worklist::Worklist previous = std::move(list_);
    const int previousSort = sortColumn_;
    try {
        BusyPointer pointer(ctx_.ui());
        list_ = worklist::newWorklist(worklist::selectWorklist(ctx_.db(), filter),
                                      displaySeparator(ctx_));
        sortColumn_ = -1;
        showResults(); // the formulas to run; the grid is painted again when they have run
        if (!list_.rows.empty()) {
            worklist::WorklistReading reading(ctx_.db(), list_, base_);
            reading.readCatalog();
            runs_ = std::make_unique<worklist::ParallelRuns>(list_.rows, list_.catalog,
                                                             list_.decimalSeparator, 0);
            runs_->start(worklist::defaultThreads());
            while (reading.readBlock())
                runs_->makeAvailable(reading.rowsRead());
        }
    } catch (const db::DbError& error) {
        if (runs_) {
            runs_->cancel();
            runs_->wait();
            runs_.reset();
        }
        list_ = std::move(previous); // the list as it was
        sortColumn_ = previousSort;
        showResults();
        showError(ctx_, QStringLiteral("No es posible leer las Fórmulas"), error, this);
        return;
    }
    if (list_.rows.empty()) {
        ctx_.ui().message(QStringLiteral("No hubo coincidencias"), MsgIcon::Information);
        return;
    }
    prgAvance_->setRange(0, static_cast<int>(list_.rows.size()));
    prgAvance_->setValue(runs_->finished());
    setRunning(true);
    poll_->start();
}

void frmreformular::cmdCancelar_Click() {
    if (runs_)
        runs_->cancel();
    if (saving_)
        cancelSave_ = true;
}

void frmreformular::pollRuns() {
    if (!runs_)
        return;
    prgAvance_->setValue(runs_->finished());
    if (runs_->done())
        finishRuns();
}

void frmreformular::waitForRuns() {
    if (runs_)
        finishRuns();
}

void frmreformular::finishRuns() {
    poll_->stop();
    runs_->wait();
    prgAvance_->setValue(runs_->finished());
    runs_.reset();
    setRunning(false);
    showResults();
}

void frmreformular::closeEvent(QCloseEvent* event) {
    if (busy()) {
        // The runs end first; a save goes on to its end between two formulas.
        cmdCancelar_Click();
        if (runs_)
            finishRuns();
        if (saving_) {
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}

void frmreformular::reject() {
    if (saving_)
        return;
    if (runs_) {
        runs_->cancel();
        finishRuns();
    }
    QDialog::reject();
}

} // namespace tarvela
