#include "formulas/gui/frmformulas.h"

#include "catalogs/gui/pickers.h"
#include "formulas/formula_list_grid.h"
#include "formulas/formula_search.h"
#include "grid/gui/grid_painter.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace tarvela {

namespace {

QLineEdit* filterBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The customer of the combo when its text is an entry of its list.
std::optional<int> comboCustomer(const QComboBox& combo) {
    const int index = combo.findText(combo.currentText(), Qt::MatchExactly);
    if (index < 0)
        return std::nullopt;
    bool numeric = false;
    const int id = combo.itemData(index).toInt(&numeric);
    if (!numeric)
        return std::nullopt;
    return id;
}

} // namespace

frmformulas::frmformulas(AppContext& ctx, FormulationOpener openFormulation, QWidget* parent)
    : QDialog(parent), ctx_(ctx), openFormulation_(std::move(openFormulation)) {
    setObjectName(QStringLiteral("frmformulas"));
    setWindowTitle(QStringLiteral("Fórmulas"));
    setModal(true);
    buildControls();
    loadCustomers();
    search();
    imgTipoFormulacion_->setPixmap(smallSpeciesPicture(ctx_.currentBase));
}

frmformulas::~frmformulas() = default;

void frmformulas::buildControls() {
    auto* filters = new QGroupBox(this);
    filters->setObjectName(QStringLiteral("fraFiltros"));

    DataCombo2_ = new QComboBox(filters);
    DataCombo2_->setObjectName(QStringLiteral("DataCombo2"));
    DataCombo2_->setEditable(true);
    DataCombo2_->setInsertPolicy(QComboBox::NoInsert);
    connect(DataCombo2_, &QComboBox::activated, this, [this] { DataCombo2_Click(); });

    Text1_ = filterBox(filters, QStringLiteral("Text1"));
    Text2_ = filterBox(filters, QStringLiteral("Text2"));
    Text3_ = filterBox(filters, QStringLiteral("Text3"));
    Text4_ = filterBox(filters, QStringLiteral("Text4"));
    Text5_ = filterBox(filters, QStringLiteral("Text5"));
    Text12_ = filterBox(filters, QStringLiteral("Text12"));
    Text13_ = filterBox(filters, QStringLiteral("Text13"));
    Text6_ = filterBox(filters, QStringLiteral("Text6"));
    Text6_->setReadOnly(true);
    Text7_ = filterBox(filters, QStringLiteral("Text7"));
    Text8_ = filterBox(filters, QStringLiteral("Text8"));
    Text11_ = filterBox(filters, QStringLiteral("Text11"));
    Text11_->setReadOnly(true);
    for (QLineEdit* box : {Text1_, Text2_})
        box->setMaxLength(20);
    for (QLineEdit* box : {Text1_, Text2_, Text3_, Text4_, Text5_, Text12_, Text13_, Text6_, Text7_,
                           Text8_, Text11_})
        box->installEventFilter(this);
    DataCombo2_->lineEdit()->installEventFilter(this);

    command9_ = button(filters, QStringLiteral("command9"), QStringLiteral("..."));
    command5_ = button(filters, QStringLiteral("command5"), QStringLiteral("..."));
    for (QPushButton* picker : {command9_, command5_})
        picker->setMaximumWidth(30);
    connect(command9_, &QPushButton::clicked, this, [this] { command9_Click(); });
    connect(command5_, &QPushButton::clicked, this, [this] { command5_Click(); });

    auto* grid = new QGridLayout(filters);
    auto label = [filters](const QString& text) { return new QLabel(text, filters); };
    grid->addWidget(label(QStringLiteral("Cliente")), 0, 0);
    grid->addWidget(DataCombo2_, 0, 1, 1, 4);
    grid->addWidget(label(QStringLiteral("Código")), 1, 0);
    grid->addWidget(Text1_, 1, 1);
    grid->addWidget(Text2_, 1, 2);
    grid->addWidget(label(QStringLiteral("Producto")), 2, 0);
    grid->addWidget(Text3_, 2, 1, 1, 4);
    grid->addWidget(label(QStringLiteral("Creación")), 3, 0);
    grid->addWidget(Text4_, 3, 1);
    grid->addWidget(Text5_, 3, 2);
    grid->addWidget(label(QStringLiteral("Modificación")), 4, 0);
    grid->addWidget(Text12_, 4, 1);
    grid->addWidget(Text13_, 4, 2);
    grid->addWidget(label(QStringLiteral("Nutriente")), 5, 0);
    grid->addWidget(Text6_, 5, 1, 1, 2);
    grid->addWidget(command9_, 5, 3);
    grid->addWidget(label(QStringLiteral("Valor")), 6, 0);
    grid->addWidget(Text7_, 6, 1);
    grid->addWidget(Text8_, 6, 2);
    grid->addWidget(label(QStringLiteral("Ingrediente")), 7, 0);
    grid->addWidget(Text11_, 7, 1, 1, 2);
    grid->addWidget(command5_, 7, 3);

    Command1_ = button(this, QStringLiteral("Command1"), QStringLiteral("Buscar"));
    Command2_ = button(this, QStringLiteral("Command2"), QStringLiteral("Limpiar"));
    cmdEditar_ = button(this, QStringLiteral("cmdEditar"), QStringLiteral("Editar"));
    cmdAdd_ = button(this, QStringLiteral("cmdAdd"), QStringLiteral("Nuevo"));
    cmdDelete_ = button(this, QStringLiteral("cmdDelete"), QStringLiteral("Eliminar"));
    cmdPrint_ = button(this, QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    cmdClose_ = button(this, QStringLiteral("cmdClose"), QString());
    cmdClose_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cmdClose_->setToolTip(QStringLiteral("Cerrar"));
    chkComparar_ = new QCheckBox(QStringLiteral("Comparar fórmulas"), this);
    chkComparar_->setObjectName(QStringLiteral("chkComparar"));
    cmdComparar_ = button(this, QStringLiteral("cmdComparar"), QStringLiteral("Comparar"));
    cmdComparar_->hide();

    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdEditar_, &QPushButton::clicked, this, [this] { cmdEditar_Click(); });
    connect(cmdAdd_, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdPrint_, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(chkComparar_, &QCheckBox::clicked, this, [this] { chkComparar_Click(); });
    connect(cmdComparar_, &QPushButton::clicked, this, [this] { cmdComparar_Click(); });

    imgTipoFormulacion_ = new QLabel(this);
    imgTipoFormulacion_->setObjectName(QStringLiteral("imgTipoFormulacion"));

    auto* searchButtons = new QVBoxLayout;
    searchButtons->addWidget(imgTipoFormulacion_);
    searchButtons->addStretch();
    searchButtons->addWidget(Command1_);
    searchButtons->addWidget(Command2_);
    auto* top = new QHBoxLayout;
    top->addWidget(filters, 1);
    top->addLayout(searchButtons);

    flexgrid1_ = new QTableWidget(this);
    flexgrid1_->setObjectName(QStringLiteral("flexgrid1"));
    setupReadOnlyGrid(*flexgrid1_);
    flexgrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexgrid1_->setMinimumSize(620, 260);
    flexgrid1_->installEventFilter(this);
    connect(flexgrid1_, &QTableWidget::cellDoubleClicked, this, [this] { cmdEditar_Click(); });
    connect(flexgrid1_, &QTableWidget::cellClicked, this,
            [this](int row, int column) { flexgrid1_Click(row, column); });

    txtnohubo_ = new QLabel(QStringLiteral("No hubo coincidencias"), this);
    txtnohubo_->setObjectName(QStringLiteral("txtnohubo"));
    txtnohubo_->hide();

    auto* actions = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdEditar_, cmdAdd_, cmdDelete_, cmdPrint_,
                                                      chkComparar_, cmdComparar_})
        actions->addWidget(w);
    actions->addStretch();
    actions->addWidget(cmdClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtnohubo_);
    layout->addWidget(flexgrid1_, 1);
    layout->addLayout(actions);
}

void frmformulas::loadCustomers() {
    try {
        const db::Result customers =
            ctx_.db().query(QStringLiteral("SELECT * FROM clientes ORDER BY nombre"));
        const int name = customers.column(QStringLiteral("nombre"));
        const int id = customers.column(QStringLiteral("idCliente"));
        for (int r = 0; r < customers.rowCount(); ++r)
            DataCombo2_->addItem(customers.value(r, name).toString(), customers.value(r, id));
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible leer los Clientes"), error, this);
    }
    // The customer filter of the last search.
    const int current = DataCombo2_->findData(ctx_.currentCustomer);
    DataCombo2_->setCurrentIndex(ctx_.currentCustomer > 0 ? current : -1);
    if (DataCombo2_->currentIndex() < 0)
        DataCombo2_->setEditText(QString());
}

void frmformulas::DataCombo2_Click() {
    const std::optional<int> customer = comboCustomer(*DataCombo2_);
    if (!customer) {
        ctx_.currentCustomer = 0;
        return;
    }
    ctx_.currentCustomer = *customer;
    search();
}

bool frmformulas::search() {
    QLineEdit* dateBoxes[] = {Text4_, Text5_, Text12_, Text13_};
    for (QLineEdit* box : dateBoxes) {
        if (!formulas::isValidDateBox(box->text())) {
            ctx_.ui().message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
            box->setFocus();
            return false;
        }
    }
    BusyPointer busy(ctx_.ui());

    formulas::SearchFilter filter;
    filter.base = ctx_.currentBase;
    filter.codeFrom = Text1_->text();
    filter.codeTo = Text2_->text();
    filter.product = Text3_->text();
    filter.createdFrom = Text4_->text();
    filter.createdTo = Text5_->text();
    filter.modifiedFrom = Text12_->text();
    filter.modifiedTo = Text13_->text();
    filter.nutrientId = selectedNutrientId_;
    filter.valueFrom = Text7_->text();
    filter.valueTo = Text8_->text();
    filter.ingredientId = selectedIngredientId_;
    filter.customerId = comboCustomer(*DataCombo2_);
    // The customer filter the user set, or none: the formulation window's caption, a new
    // formula's customer and the next opening of this list follow it.
    ctx_.currentCustomer = filter.customerId.value_or(0);

    const formulas::SearchStatement statement = formulas::buildSearchStatement(filter);
    if (statement.sql.isEmpty()) {
        ctx_.ui().message(statement.message, MsgIcon::Critical);
        if (statement.invalid == formulas::FilterBox::ValueFrom)
            Text7_->setFocus();
        else if (statement.invalid == formulas::FilterBox::ValueTo)
            Text8_->setFocus();
        return false;
    }

    lastSearchSql_ = statement.sql;
    try {
        actu_flexgrid1(ctx_.db().query(lastSearchSql_));
        formulas::saveCustomerFilter(ctx_.db(), filter.customerId);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible realizar la búsqueda"), error, this);
    }
    cmdComparar_->hide();
    chkComparar_->setChecked(false);
    return true;
}

void frmformulas::actu_flexgrid1(const db::Result& result) {
    paintGrid(*flexgrid1_, formulas::paintFormulaList(result, displaySeparator(ctx_)));
    for (int c = 0; c < flexgrid1_->columnCount(); ++c) {
        QTableWidgetItem* heading = flexgrid1_->horizontalHeaderItem(c);
        if (heading)
            heading->setForeground(QBrush(Qt::white));
    }
    for (int r = 0; r < flexgrid1_->rowCount(); ++r) {
        if (QTableWidgetItem* code = flexgrid1_->item(r, formulas::kColCodigo))
            code->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (QTableWidgetItem* product = flexgrid1_->item(r, formulas::kColProducto))
            product->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (flexgrid1_->rowCount() > 0) {
        flexgrid1_->setCurrentCell(0, formulas::kColCodigo);
        flexgrid1_->selectRow(0);
        txtnohubo_->hide();
    } else {
        txtnohubo_->show();
    }
}

int frmformulas::selectedRow() const {
    const int row = flexgrid1_->currentRow();
    return row >= 0 && row < flexgrid1_->rowCount() ? row : -1;
}

void frmformulas::Command1_Click() {
    search();
}

void frmformulas::Command2_Click() {
    for (QLineEdit* box : {Text1_, Text2_, Text3_, Text4_, Text5_, Text6_, Text7_, Text8_, Text11_,
                           Text12_, Text13_})
        box->clear();
    selectedNutrientId_ = 0;
    selectedIngredientId_ = 0;
    flexgrid1_->setRowCount(0);
    flexgrid1_->setCurrentCell(-1, -1);
    txtnohubo_->hide();
}

void frmformulas::command9_Click() {
    const std::optional<PickedNutrient> nutrient = pickNutrient(ctx_, this);
    selectedNutrientId_ = nutrient ? nutrient->id : 0;
    Text6_->setText(nutrient ? nutrient->name : QString());
}

void frmformulas::command5_Click() {
    const std::optional<PickedIngredient> ingredient = pickIngredient(ctx_, this);
    selectedIngredientId_ = ingredient ? ingredient->id : 0;
    Text11_->setText(ingredient ? ingredient->name : QString());
}

void frmformulas::openFormulation() {
    openFormulation_(this);
    search();
}

void frmformulas::cmdEditar_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    ctx_.currentFormulaId =
        static_cast<qint16>(flexgrid1_->item(row, formulas::kColId)->text().toInt());
    openFormulation();
}

void frmformulas::cmdAdd_Click() {
    ctx_.currentFormulaId = 0;
    openFormulation();
}

void frmformulas::cmdDelete_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const int id = flexgrid1_->item(row, formulas::kColId)->text().toInt();
    ctx_.currentFormulaId = static_cast<qint16>(id);
    const QString code = flexgrid1_->item(row, formulas::kColCodigo)->text().trimmed();
    if (!ctx_.ui().question(QStringLiteral("Desea eliminar la Fórmula ") + code +
                            QStringLiteral(" ?")))
        return;
    try {
        formulas::deleteFormulaVersion(ctx_.db(), id);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar la Fórmula"), error, this);
    }
    search();
}

void frmformulas::cmdClose_Click() {
    close();
}

void frmformulas::done(int result) {
    ctx_.currentFormulaId = 0;
    QDialog::done(result);
}

void frmformulas::closeEvent(QCloseEvent* event) {
    ctx_.currentFormulaId = 0;
    QDialog::closeEvent(event);
}

void frmformulas::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Text3_->setFocus();
}

bool frmformulas::validateDateBox(QLineEdit* box) {
    if (formulas::isValidDateBox(box->text()))
        return true;
    ctx_.ui().message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
    QTimer::singleShot(0, box, [box] { box->setFocus(); });
    return false;
}

bool frmformulas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == flexgrid1_) {
            if (isEnter(key)) {
                cmdEditar_Click();
                return true;
            }
        } else if (watched == Text7_ || watched == Text8_) {
            if (isEnter(key) || key->key() == Qt::Key_Escape) {
                focusNextChild();
                return true;
            }
            if (key->text() == QStringLiteral(".") || key->text() == QStringLiteral(",")) {
                static_cast<QLineEdit*>(watched)->insert(ctx_.decimalSeparator);
                return true;
            }
        } else if (isEnter(key)) {
            search();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // A date box keeps the focus until its text is a date; the buttons that search, clear
        // or close check for themselves.
        QWidget* next = QApplication::focusWidget();
        const bool checkedElsewhere = next == Command1_ || next == Command2_ || next == cmdClose_;
        if (!checkedElsewhere && !validating_ && isActiveWindow()) {
            for (QLineEdit* box : {Text4_, Text5_, Text12_, Text13_}) {
                if (watched == box) {
                    validating_ = true;
                    validateDateBox(box);
                    validating_ = false;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
