#include "catalogs/gui/frmproductos.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproducto_propiedades.h"
#include "catalogs/gui/pickers.h"
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

frmproductos::frmproductos(AppContext& ctx, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmproductos"), QStringLiteral("Ingredientes"), parent),
      pickMode_(ctx.listMode == QStringLiteral("BUSCAR")) {
    buildCriteria();
    cmdNutrientes_ = addButton(QStringLiteral("cmdNutrientes"), QStringLiteral("Nutrientes"));
    connect(cmdNutrientes_, &QPushButton::clicked, this, [this] { cmdNutrientes_Click(); });
    cmdPrint_ = addButton(QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    connect(cmdPrint_, &QPushButton::clicked, this, &frmproductos::cmdPrint_Click);
    showPicture(smallSpeciesPicture(ctx_.currentBase));
    finish(Text3_, catalogs::kIngNombre);
}

void frmproductos::buildCriteria() {
    Text1_ = criterionBox(this, QStringLiteral("Text1"));
    Text2_ = criterionBox(this, QStringLiteral("Text2"));
    Text3_ = criterionBox(this, QStringLiteral("Text3"));
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    QStringList stored;
    try {
        stored = catalogs::storedIngredientUnits(ctx_.db(), ctx_.currentBase);
    } catch (const db::DbError&) {
        // The list's own units stand; the search reports a database that cannot be read.
    }
    Combo1_->addItems(catalogs::unitFilterChoices(stored));
    Combo1_->setCurrentIndex(-1);
    Text4_ = criterionBox(this, QStringLiteral("Text4"));
    Text5_ = criterionBox(this, QStringLiteral("Text5"));
    Text6_ = criterionBox(this, QStringLiteral("Text6"));
    Text6_->setReadOnly(true);
    Text6_->setFocusPolicy(Qt::NoFocus);
    Text7_ = criterionBox(this, QStringLiteral("Text7"));
    Text8_ = criterionBox(this, QStringLiteral("Text8"));
    cmdNutriente_ = windowButton(this, QStringLiteral("cmdNutriente"), QStringLiteral("..."));
    cmdNutriente_->setMaximumWidth(30);
    connect(cmdNutriente_, &QPushButton::clicked, this, [this] { cmdNutriente_Click(); });

    for (QLineEdit* code : {Text1_, Text2_})
        code->setMaxLength(20);
    for (QWidget* box :
         std::initializer_list<QWidget*>{Text1_, Text2_, Text3_, Combo1_, Text4_, Text5_})
        searchOnEnter(box);
    for (QLineEdit* number : {Text4_, Text5_, Text7_, Text8_})
        typeDecimalSeparator(number, ctx_);
    for (QLineEdit* value : {Text7_, Text8_})
        moveOnWithEnter(value);

    QGridLayout* grid = criteria();
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Código")), 0, 0);
    grid->addWidget(Text1_, 0, 1);
    grid->addWidget(Text2_, 0, 2);
    grid->addWidget(label(QStringLiteral("Descripción")), 1, 0);
    grid->addWidget(Text3_, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Unidad")), 2, 0);
    grid->addWidget(Combo1_, 2, 1);
    grid->addWidget(label(QStringLiteral("Costo")), 3, 0);
    grid->addWidget(Text4_, 3, 1);
    grid->addWidget(Text5_, 3, 2);
    grid->addWidget(label(QStringLiteral("Nutriente")), 4, 0);
    grid->addWidget(Text6_, 4, 1, 1, 2);
    grid->addWidget(cmdNutriente_, 4, 3);
    grid->addWidget(label(QStringLiteral("Valor")), 5, 0);
    grid->addWidget(Text7_, 5, 1);
    grid->addWidget(Text8_, 5, 2);
}

std::optional<grid::GridPaint> frmproductos::findRows() {
    catalogs::IngredientFilter filter;
    filter.base = ctx_.currentBase;
    filter.codeFrom = Text1_->text();
    filter.codeTo = Text2_->text();
    filter.description = Text3_->text();
    filter.unit = Combo1_->currentText();
    filter.costFrom = Text4_->text();
    filter.costTo = Text5_->text();
    filter.nutrientId = filterPropertyId_;
    filter.valueFrom = Text7_->text();
    filter.valueTo = Text8_->text();
    const catalogs::IngredientSearch search = catalogs::buildIngredientSearch(filter);
    if (search.sql.isEmpty()) {
        ctx_.ui().message(search.refusal.message, MsgIcon::Critical);
        switch (search.refusal.field) {
        case catalogs::IngredientFilterBox::CostFrom:
            Text4_->setFocus();
            break;
        case catalogs::IngredientFilterBox::CostTo:
            Text5_->setFocus();
            break;
        case catalogs::IngredientFilterBox::ValueFrom:
            Text7_->setFocus();
            break;
        case catalogs::IngredientFilterBox::ValueTo:
            Text8_->setFocus();
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
    for (QLineEdit* box : {Text1_, Text2_, Text3_, Text4_, Text5_, Text6_, Text7_, Text8_})
        box->clear();
    Combo1_->setCurrentIndex(-1);
    filterPropertyId_ = 0;
}

void frmproductos::openItem(int key) {
    ctx_.currentProductId = static_cast<qint16>(key);
    frmproducto window(ctx_, this);
    execModal(ctx_, window);
}

bool frmproductos::deleteItem(int key, const QString& name) {
    ctx_.currentProductId = static_cast<qint16>(key);
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
    ctx_.currentProductId = static_cast<qint16>(keyOf(row));
    ctx_.currentProductName = cellText(row, catalogs::kIngNombre);
    ctx_.currentProductPrice =
        text::parseUserNumber(cellText(row, catalogs::kIngCosto)).value_or(0);
}

void frmproductos::leaveWithoutChoosing() {
    ctx_.currentProductId = 0;
}

void frmproductos::cmdNutriente_Click() {
    const std::optional<PickedNutrient> nutrient = pickNutrient(ctx_, this);
    filterPropertyId_ = nutrient ? nutrient->id : 0;
    Text6_->setText(nutrient ? nutrient->name : QString());
}

void frmproductos::cmdNutrientes_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    ctx_.currentProductId = static_cast<qint16>(keyOf(row));
    frmproducto_propiedades window(ctx_, cellText(row, catalogs::kIngNombre).trimmed(), this);
    execModal(ctx_, window);
}

void frmproductos::cmdPrint_Click() {
    if (cmdPrint_->isEnabled() && showsItems())
        printIngredientList(ctx_, lastSelect_, this);
}

} // namespace tarvela
