#include "formulas/gui/frmformulas.h"

#include "catalogs/gui/pickers.h"
#include "formulas/formula_list_grid.h"
#include "formulas/formula_search.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <optional>
#include <utility>

namespace tarvela {

namespace {

QLineEdit* filterBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
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
    : CatalogList(ctx, QStringLiteral("frmformulas"), QStringLiteral("Fórmulas"),
                  ListMode::Maintenance, parent),
      openFormulation_(std::move(openFormulation)) {
    criteriaFrame()->setObjectName(QStringLiteral("fraFiltros"));
    grid_->setMinimumSize(620, 260);
    connect(grid_, &QTableWidget::cellClicked, this, &frmformulas::toggleMark);
    buildCriteria();
    buildOutputButtons();
    loadCustomers();
    showPicture(smallSpeciesPicture(ctx_.currentBase));
    alwaysSelectFirstRow();
    finish(productBox_, formulas::kColCodigo);
}

frmformulas::~frmformulas() = default;

void frmformulas::buildCriteria() {
    QWidget* frame = criteriaFrame();
    customerCombo_ = new QComboBox(frame);
    customerCombo_->setObjectName(QStringLiteral("DataCombo2"));
    customerCombo_->setEditable(true);
    customerCombo_->setInsertPolicy(QComboBox::NoInsert);
    connect(customerCombo_, &QComboBox::activated, this, [this] { chooseCustomer(); });

    codeFromBox_ = filterBox(frame, QStringLiteral("Text1"));
    codeToBox_ = filterBox(frame, QStringLiteral("Text2"));
    productBox_ = filterBox(frame, QStringLiteral("Text3"));
    createdFromBox_ = filterBox(frame, QStringLiteral("Text4"));
    createdToBox_ = filterBox(frame, QStringLiteral("Text5"));
    modifiedFromBox_ = filterBox(frame, QStringLiteral("Text12"));
    modifiedToBox_ = filterBox(frame, QStringLiteral("Text13"));
    nutrientBox_ = filterBox(frame, QStringLiteral("Text6"));
    nutrientBox_->setReadOnly(true);
    valueFromBox_ = filterBox(frame, QStringLiteral("Text7"));
    valueToBox_ = filterBox(frame, QStringLiteral("Text8"));
    ingredientBox_ = filterBox(frame, QStringLiteral("Text11"));
    ingredientBox_->setReadOnly(true);
    for (QLineEdit* box : {codeFromBox_, codeToBox_})
        box->setMaxLength(20);
    // Enter searches, except in the value boxes, where it moves on.
    for (QWidget* box :
         std::initializer_list<QWidget*>{codeFromBox_, codeToBox_, productBox_, createdFromBox_,
                                         createdToBox_, modifiedFromBox_, modifiedToBox_,
                                         nutrientBox_, ingredientBox_, customerCombo_->lineEdit()})
        searchOnEnter(box);
    for (QLineEdit* value : {valueFromBox_, valueToBox_}) {
        typeDecimalSeparator(value, ctx_);
        value->installEventFilter(this);
    }

    nutrientButton_ = windowButton(frame, QStringLiteral("command9"), QStringLiteral("..."));
    ingredientButton_ = windowButton(frame, QStringLiteral("command5"), QStringLiteral("..."));
    for (QPushButton* picker : {nutrientButton_, ingredientButton_})
        picker->setMaximumWidth(30);
    connect(nutrientButton_, &QPushButton::clicked, this, &frmformulas::chooseNutrient);
    connect(ingredientButton_, &QPushButton::clicked, this, &frmformulas::chooseIngredient);

    QGridLayout* grid = criteria();
    auto label = [frame](const QString& text) { return new QLabel(text, frame); };
    grid->addWidget(label(QStringLiteral("Cliente")), 0, 0);
    grid->addWidget(customerCombo_, 0, 1, 1, 4);
    grid->addWidget(label(QStringLiteral("Código")), 1, 0);
    grid->addWidget(codeFromBox_, 1, 1);
    grid->addWidget(codeToBox_, 1, 2);
    grid->addWidget(label(QStringLiteral("Producto")), 2, 0);
    grid->addWidget(productBox_, 2, 1, 1, 4);
    grid->addWidget(label(QStringLiteral("Creación")), 3, 0);
    grid->addWidget(createdFromBox_, 3, 1);
    grid->addWidget(createdToBox_, 3, 2);
    grid->addWidget(label(QStringLiteral("Modificación")), 4, 0);
    grid->addWidget(modifiedFromBox_, 4, 1);
    grid->addWidget(modifiedToBox_, 4, 2);
    grid->addWidget(label(QStringLiteral("Nutriente")), 5, 0);
    grid->addWidget(nutrientBox_, 5, 1, 1, 2);
    grid->addWidget(nutrientButton_, 5, 3);
    grid->addWidget(label(QStringLiteral("Valor")), 6, 0);
    grid->addWidget(valueFromBox_, 6, 1);
    grid->addWidget(valueToBox_, 6, 2);
    grid->addWidget(label(QStringLiteral("Ingrediente")), 7, 0);
    grid->addWidget(ingredientBox_, 7, 1, 1, 2);
    grid->addWidget(ingredientButton_, 7, 3);
}

void frmformulas::buildOutputButtons() {
    printButton_ = addButton(QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    connect(printButton_, &QPushButton::clicked, this, &frmformulas::print);
    compareCheck_ = new QCheckBox(QStringLiteral("Comparar fórmulas"), this);
    compareCheck_->setObjectName(QStringLiteral("chkComparar"));
    addToButtonRow(compareCheck_);
    connect(compareCheck_, &QCheckBox::clicked, this, &frmformulas::showMarks);
    compareButton_ = addButton(QStringLiteral("cmdComparar"), QStringLiteral("Comparar"));
    compareButton_->hide();
    connect(compareButton_, &QPushButton::clicked, this, &frmformulas::compare);
}

void frmformulas::loadCustomers() {
    try {
        const db::Result customers =
            ctx_.db().query(QStringLiteral("SELECT * FROM clientes ORDER BY nombre"));
        const int name = customers.column(QStringLiteral("nombre"));
        const int id = customers.column(QStringLiteral("idCliente"));
        for (int r = 0; r < customers.rowCount(); ++r)
            customerCombo_->addItem(customers.value(r, name).toString(), customers.value(r, id));
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible leer los Clientes"), error, this);
    }
    // The customer filter of the last search.
    const int current = customerCombo_->findData(ctx_.currentCustomer);
    customerCombo_->setCurrentIndex(ctx_.currentCustomer > 0 ? current : -1);
    if (customerCombo_->currentIndex() < 0)
        customerCombo_->setEditText(QString());
}

void frmformulas::chooseCustomer() {
    const std::optional<int> customer = comboCustomer(*customerCombo_);
    if (!customer) {
        ctx_.currentCustomer = 0;
        return;
    }
    ctx_.currentCustomer = *customer;
    search();
}

std::optional<grid::GridPaint> frmformulas::findRows() {
    for (QLineEdit* box : {createdFromBox_, createdToBox_, modifiedFromBox_, modifiedToBox_}) {
        if (!formulas::isValidDateBox(box->text())) {
            ctx_.ui().message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
            box->setFocus();
            return std::nullopt;
        }
    }

    formulas::SearchFilter filter;
    filter.base = ctx_.currentBase;
    filter.codeFrom = codeFromBox_->text();
    filter.codeTo = codeToBox_->text();
    filter.product = productBox_->text();
    filter.createdFrom = createdFromBox_->text();
    filter.createdTo = createdToBox_->text();
    filter.modifiedFrom = modifiedFromBox_->text();
    filter.modifiedTo = modifiedToBox_->text();
    filter.nutrientId = selectedNutrientId_;
    filter.valueFrom = valueFromBox_->text();
    filter.valueTo = valueToBox_->text();
    filter.ingredientId = selectedIngredientId_;
    filter.customerId = comboCustomer(*customerCombo_);
    // The customer filter the user set, or none: the formulation window's caption, a new
    // formula's customer and the next opening of this list follow it.
    ctx_.currentCustomer = filter.customerId.value_or(0);

    const formulas::SearchStatement statement = formulas::buildSearchStatement(filter);
    if (statement.sql.isEmpty()) {
        ctx_.ui().message(statement.message, MsgIcon::Critical);
        if (statement.invalid == formulas::FilterBox::ValueFrom)
            valueFromBox_->setFocus();
        else if (statement.invalid == formulas::FilterBox::ValueTo)
            valueToBox_->setFocus();
        return std::nullopt;
    }

    lastSearchSql_ = statement.sql;
    // A new list shows no marks.
    compareButton_->hide();
    compareCheck_->setChecked(false);
    grid::GridPaint rows =
        formulas::paintFormulaList(ctx_.db().query(lastSearchSql_), displaySeparator(ctx_));
    formulas::saveCustomerFilter(ctx_.db(), filter.customerId);
    return rows;
}

void frmformulas::clearCriteria() {
    for (QLineEdit* box :
         {codeFromBox_, codeToBox_, productBox_, createdFromBox_, createdToBox_, nutrientBox_,
          valueFromBox_, valueToBox_, ingredientBox_, modifiedFromBox_, modifiedToBox_})
        box->clear();
    selectedNutrientId_ = 0;
    selectedIngredientId_ = 0;
}

void frmformulas::listAfterClearing() {
    showNoRows();
}

void frmformulas::chooseNutrient() {
    const std::optional<PickedNutrient> nutrient = pickNutrient(ctx_, this);
    selectedNutrientId_ = nutrient ? nutrient->id : 0;
    nutrientBox_->setText(nutrient ? nutrient->name : QString());
}

void frmformulas::chooseIngredient() {
    const std::optional<PickedIngredient> ingredient = pickIngredient(ctx_, this);
    selectedIngredientId_ = ingredient ? ingredient->id : 0;
    ingredientBox_->setText(ingredient ? ingredient->name : QString());
}

void frmformulas::openItem(int key) {
    openFormulation_(key, this);
}

bool frmformulas::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(QStringLiteral("Desea eliminar la Fórmula ") + name +
                            QStringLiteral(" ?")))
        return false;
    try {
        formulas::deleteFormulaVersion(ctx_.db(), key);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar la Fórmula"), error, this);
    }
    return true;
}

bool frmformulas::validateDateBox(QLineEdit* box) {
    if (formulas::isValidDateBox(box->text()))
        return true;
    ctx_.ui().message(QStringLiteral("La fecha no es Válida"), MsgIcon::Critical);
    QTimer::singleShot(0, box, [box] { box->setFocus(); });
    return false;
}

bool frmformulas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == valueFromBox_ || watched == valueToBox_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key) || key->key() == Qt::Key_Escape) {
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // A date box keeps the focus until its text is a date; the buttons that search, clear
        // or close check for themselves.
        const QWidget* next = QApplication::focusWidget();
        const bool checkedElsewhere = next && next->window() == this &&
                                      (next->objectName() == QStringLiteral("Command1") ||
                                       next->objectName() == QStringLiteral("Command2") ||
                                       next->objectName() == QStringLiteral("cmdClose"));
        if (!checkedElsewhere && !validating_ && isActiveWindow()) {
            for (QLineEdit* box :
                 {createdFromBox_, createdToBox_, modifiedFromBox_, modifiedToBox_}) {
                if (watched == box) {
                    validating_ = true;
                    validateDateBox(box);
                    validating_ = false;
                }
            }
        }
    }
    return CatalogList::eventFilter(watched, event);
}

} // namespace tarvela
