#include "catalogs/gui/frmproductos.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproducto_propiedades.h"
#include "catalogs/ingredient_catalog.h"
#include "catalogs/ingredient_search.h"
#include "catalogs/list_grids.h"
#include "catalogs/units.h"
#include "reports/gui/list_preview.h"
#include "text/format.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvela {

namespace {

QLineEdit* criterionBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

} // namespace

frmproductos::frmproductos(AppContext& ctx, ListMode mode, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmproductos"), QStringLiteral("Ingredientes"), mode,
                  parent) {
    buildCriteria();
    compositionButton_ = addButton(QStringLiteral("cmdNutrientes"), QStringLiteral("Nutrientes"));
    connect(compositionButton_, &QPushButton::clicked, this, [this] { showComposition(); });
    printButton_ = addButton(QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    connect(printButton_, &QPushButton::clicked, this, &frmproductos::print);
    showPicture(smallSpeciesPicture(ctx_.currentBase));
    finish(descriptionBox_, catalogs::kIngNombre);
}

void frmproductos::buildCriteria() {
    codeFromBox_ = criterionBox(this, QStringLiteral("Text1"));
    codeToBox_ = criterionBox(this, QStringLiteral("Text2"));
    descriptionBox_ = criterionBox(this, QStringLiteral("Text3"));
    unitCombo_ = new QComboBox(this);
    unitCombo_->setObjectName(QStringLiteral("Combo1"));
    QStringList stored;
    try {
        stored = catalogs::storedIngredientUnits(ctx_.db(), ctx_.currentBase);
    } catch (const db::DbError&) {
        // The list's own units stand; the search reports a database that cannot be read.
    }
    unitCombo_->addItems(catalogs::unitFilterChoices(stored));
    unitCombo_->setCurrentIndex(-1);
    priceFromBox_ = criterionBox(this, QStringLiteral("Text4"));
    priceToBox_ = criterionBox(this, QStringLiteral("Text5"));
    nutrientBox_ = criterionBox(this, QStringLiteral("Text6"));
    nutrientBox_->setReadOnly(true);
    nutrientBox_->setFocusPolicy(Qt::NoFocus);
    valueFromBox_ = criterionBox(this, QStringLiteral("Text7"));
    valueToBox_ = criterionBox(this, QStringLiteral("Text8"));
    nutrientFilterButton_ =
        windowButton(this, QStringLiteral("cmdNutriente"), QStringLiteral("..."));
    nutrientFilterButton_->setMaximumWidth(30);
    connect(nutrientFilterButton_, &QPushButton::clicked, this, [this] { chooseNutrientFilter(); });

    for (QLineEdit* code : {codeFromBox_, codeToBox_})
        code->setMaxLength(20);
    for (QWidget* box : std::initializer_list<QWidget*>{codeFromBox_, codeToBox_, descriptionBox_,
                                                        unitCombo_, priceFromBox_, priceToBox_})
        searchOnEnter(box);
    for (QLineEdit* number : {priceFromBox_, priceToBox_, valueFromBox_, valueToBox_})
        typeDecimalSeparator(number, ctx_);
    for (QLineEdit* value : {valueFromBox_, valueToBox_})
        moveOnWithEnter(value);

    QGridLayout* grid = criteria();
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Código")), 0, 0);
    grid->addWidget(codeFromBox_, 0, 1);
    grid->addWidget(codeToBox_, 0, 2);
    grid->addWidget(label(QStringLiteral("Descripción")), 1, 0);
    grid->addWidget(descriptionBox_, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Unidad")), 2, 0);
    grid->addWidget(unitCombo_, 2, 1);
    grid->addWidget(label(QStringLiteral("Costo")), 3, 0);
    grid->addWidget(priceFromBox_, 3, 1);
    grid->addWidget(priceToBox_, 3, 2);
    grid->addWidget(label(QStringLiteral("Nutriente")), 4, 0);
    grid->addWidget(nutrientBox_, 4, 1, 1, 2);
    grid->addWidget(nutrientFilterButton_, 4, 3);
    grid->addWidget(label(QStringLiteral("Valor")), 5, 0);
    grid->addWidget(valueFromBox_, 5, 1);
    grid->addWidget(valueToBox_, 5, 2);
}

std::optional<grid::GridPaint> frmproductos::findRows() {
    catalogs::IngredientFilter filter;
    filter.base = ctx_.currentBase;
    filter.codeFrom = codeFromBox_->text();
    filter.codeTo = codeToBox_->text();
    filter.description = descriptionBox_->text();
    filter.unit = unitCombo_->currentText();
    filter.costFrom = priceFromBox_->text();
    filter.costTo = priceToBox_->text();
    filter.nutrientId = filterPropertyId_;
    filter.valueFrom = valueFromBox_->text();
    filter.valueTo = valueToBox_->text();
    const catalogs::IngredientSearch search = catalogs::buildIngredientSearch(filter);
    if (search.sql.isEmpty()) {
        ctx_.ui().message(search.refusal.message, MsgIcon::Critical);
        switch (search.refusal.field) {
        case catalogs::IngredientFilterBox::CostFrom:
            priceFromBox_->setFocus();
            break;
        case catalogs::IngredientFilterBox::CostTo:
            priceToBox_->setFocus();
            break;
        case catalogs::IngredientFilterBox::ValueFrom:
            valueFromBox_->setFocus();
            break;
        case catalogs::IngredientFilterBox::ValueTo:
            valueToBox_->setFocus();
            break;
        case catalogs::IngredientFilterBox::None:
            break;
        }
        return std::nullopt;
    }
    lastSelect_ = search.sql;
    return catalogs::paintIngredientList(ctx_.db().query(lastSelect_ + catalogs::kOrderByNombre),
                                         displaySeparator(ctx_));
}

void frmproductos::clearCriteria() {
    for (QLineEdit* box : {codeFromBox_, codeToBox_, descriptionBox_, priceFromBox_, priceToBox_,
                           nutrientBox_, valueFromBox_, valueToBox_})
        box->clear();
    unitCombo_->setCurrentIndex(-1);
    filterPropertyId_ = 0;
}

void frmproductos::openItem(int key) {
    frmproducto window(ctx_, key, this);
    execModal(ctx_, window);
}

bool frmproductos::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(catalogs::deleteIngredientQuestion(name)))
        return false;
    try {
        // Formulas keep their rows of a deleted ingredient: the user is told which first.
        const QStringList formulas = catalogs::formulasUsingIngredient(ctx_.db(), key);
        if (!formulas.isEmpty() &&
            !ctx_.ui().question(catalogs::ingredientInFormulasQuestion(name, formulas)))
            return false;
        if (catalogs::ingredientHasNutrients(ctx_.db(), key) &&
            !ctx_.ui().question(catalogs::ingredientInUseQuestion(name)))
            return false;
        catalogs::deleteIngredient(ctx_.db(), key);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
    }
    return true;
}

void frmproductos::pickItem(int row) {
    const PickedIngredient ingredient{
        keyOf(row), cellText(row, catalogs::kIngNombre),
        text::parseUserNumber(cellText(row, catalogs::kIngCosto)).value_or(0)};
    if (!picked_)
        picked_ = ingredient;
    pickedAll_.push_back(ingredient);
}

void frmproductos::leaveWithoutChoosing() {
    picked_.reset();
    pickedAll_.clear();
}

void frmproductos::chooseNutrientFilter() {
    const std::optional<PickedNutrient> nutrient = pickNutrient(ctx_, this);
    filterPropertyId_ = nutrient ? nutrient->id : 0;
    nutrientBox_->setText(nutrient ? nutrient->name : QString());
}

void frmproductos::showComposition() {
    const int row = selectedRow();
    if (row < 0)
        return;
    frmproducto_propiedades window(ctx_, keyOf(row), cellText(row, catalogs::kIngNombre).trimmed(),
                                   this);
    execModal(ctx_, window);
}

void frmproductos::print() {
    if (printButton_->isEnabled() && showsItems())
        printIngredientList(ctx_, lastSelect_, this);
}

} // namespace tarvela
