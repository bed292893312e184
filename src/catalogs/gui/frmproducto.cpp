#include "catalogs/gui/frmproducto.h"

#include "catalogs/gui/frmproducto_propiedades.h"
#include "catalogs/gui/unit_combo.h"
#include "catalogs/price_history.h"
#include "catalogs/units.h"
#include "grid/gui/grid_painter.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace tarvela {

namespace {

void setBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

frmproducto::frmproducto(AppContext& ctx, int productId, QWidget* parent)
    : frmproducto(ctx, productId, QStringLiteral("frmproducto"), parent) {}

frmproducto::frmproducto(AppContext& ctx, int productId, const QString& name, QWidget* parent)
    : CatalogEditor(ctx, name, QStringLiteral("Ingredientes"), parent), productId_(productId) {
    buildControls();
    load();
}

void frmproducto::buildControls() {
    auto box = [this](const QString& name) {
        auto* b = new QLineEdit(this);
        b->setObjectName(name);
        return b;
    };
    codeBox_ = box(QStringLiteral("Text1"));
    codeBox_->setMaxLength(20);
    codeBox_->setAlignment(Qt::AlignRight);
    descriptionBox_ = box(QStringLiteral("Text2"));
    descriptionBox_->setMinimumWidth(300);
    unitCombo_ = new QComboBox(this);
    unitCombo_->setObjectName(QStringLiteral("Combo1"));
    priceBox_ = box(QStringLiteral("Text3"));
    dryMatterBox_ = box(QStringLiteral("Text4"));
    for (QLineEdit* number : {priceBox_, dryMatterBox_}) {
        number->setAlignment(Qt::AlignRight);
        typeDecimalSeparator(number, ctx_);
        number->installEventFilter(this);
    }
    lastCodeBox_ = box(QStringLiteral("txtUltimo"));
    lastCodeBox_->setReadOnly(true);
    lastCodeBox_->setFocusPolicy(Qt::NoFocus);
    lastCodeBox_->setAlignment(Qt::AlignRight);
    setBackground(lastCodeBox_, QColor(224, 224, 224));
    for (QWidget* field : std::initializer_list<QWidget*>{codeBox_, descriptionBox_, unitCombo_,
                                                          priceBox_, dryMatterBox_})
        moveOnWithEnter(field);

    compositionButton_ = addButton(QStringLiteral("CmdPropiedades"), QStringLiteral("Nutrientes"));
    connect(compositionButton_, &QPushButton::clicked, this, [this] { showComposition(); });

    QGridLayout* grid = fields();
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Código")), 0, 0);
    grid->addWidget(codeBox_, 0, 1);
    QLabel* last = label(QStringLiteral("Último"));
    last->setObjectName(QStringLiteral("lblUltimo"));
    grid->addWidget(last, 0, 2, Qt::AlignRight);
    grid->addWidget(lastCodeBox_, 0, 3);
    grid->addWidget(label(QStringLiteral("Descripción")), 1, 0);
    grid->addWidget(descriptionBox_, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Unidad")), 2, 0);
    grid->addWidget(unitCombo_, 2, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Precio Costo")), 3, 0);
    grid->addWidget(priceBox_, 3, 1);
    grid->addWidget(label(QStringLiteral("Materia Seca")), 4, 0);
    grid->addWidget(dryMatterBox_, 4, 1);
    // The price's history, newest first: what each file changed.
    historyGrid_ = new QTableWidget(this);
    historyGrid_->setObjectName(QStringLiteral("flexHistorial"));
    historyGrid_->setFixedSize(620, 130);
    setupReadOnlyGrid(*historyGrid_);
    grid->addWidget(label(QStringLiteral("Historial de precios")), 5, 0, 1, 4);
    grid->addWidget(historyGrid_, 6, 0, 1, 4);
    setTabOrder(codeBox_, descriptionBox_);
    setTabOrder(descriptionBox_, unitCombo_);
    setTabOrder(unitCombo_, priceBox_);
    setTabOrder(priceBox_, dryMatterBox_);
    setTabOrder(dryMatterBox_, saveButton_);
}

void frmproducto::load() {
    isNew_ = productId_ < 1;
    savedValues_ = {};
    lastCodeBox_->clear();
    std::vector<catalogs::PriceHistoryEntry> history;
    try {
        if (isNew_) {
            lastCodeBox_->setText(
                catalogs::lastIngredientCode(ctx_.db(), ctx_.currentBase).trimmed());
        } else if (const auto ingredient =
                       catalogs::loadIngredient(ctx_.db(), productId_, displaySeparator(ctx_))) {
            savedValues_ = *ingredient;
            // The code box shows the code without the blanks that align it.
            savedValues_.codigo = savedValues_.codigo.trimmed();
            history = catalogs::priceHistory(ctx_.db(), productId_);
        } else {
            ctx_.ui().message(QStringLiteral("No se encuentra el Producto"), MsgIcon::Critical);
        }
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No se encuentra el Producto"), error, this);
    }
    paintGrid(*historyGrid_, catalogs::paintPriceHistory(history, displaySeparator(ctx_)));
    offerUnits(*unitCombo_, catalogs::kIngredientUnits, savedValues_.unidad);
    showBoxes(savedValues_);
    showMode();
}

void frmproducto::offerUnitList(const QStringList& units) {
    offerUnits(*unitCombo_, units, savedValues_.unidad);
}

void frmproducto::showMode() {
    // The code is typed once, when the ingredient is created; then it never changes.
    codeBox_->setReadOnly(!isNew_);
    codeBox_->setFocusPolicy(isNew_ ? Qt::StrongFocus : Qt::NoFocus);
    setBackground(codeBox_, isNew_ ? QColor(Qt::white) : palette().color(QPalette::Button));
    compositionButton_->setEnabled(!isNew_);
}

void frmproducto::showBoxes(const catalogs::IngredientBoxes& values) {
    codeBox_->setText(values.codigo);
    descriptionBox_->setText(values.nombre);
    chooseUnit(*unitCombo_, values.unidad);
    priceBox_->setText(values.costo);
    dryMatterBox_->setText(values.materiaSeca);
}

catalogs::IngredientBoxes frmproducto::boxes() const {
    return {codeBox_->text(), descriptionBox_->text(), chosenUnit(*unitCombo_).value_or(QString()),
            priceBox_->text(), dryMatterBox_->text()};
}

bool frmproducto::changed() const {
    return catalogs::ingredientChanged(savedValues_, boxes(), chosenUnit(*unitCombo_));
}

void frmproducto::focusField(catalogs::IngredientField field) {
    switch (field) {
    case catalogs::IngredientField::Code:
        codeBox_->setFocus();
        break;
    case catalogs::IngredientField::Description:
        descriptionBox_->setFocus();
        break;
    case catalogs::IngredientField::Unit:
        unitCombo_->setFocus();
        break;
    case catalogs::IngredientField::Price:
        priceBox_->setFocus();
        break;
    case catalogs::IngredientField::DryMatter:
        dryMatterBox_->setFocus();
        break;
    case catalogs::IngredientField::None:
        break;
    }
}

bool frmproducto::save() {
    const catalogs::IngredientBoxes ingredient = boxes();
    const auto check = catalogs::checkIngredient(ingredient);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        focusField(check.field);
        return false;
    }
    const bool stored = store([&] {
        if (!isNew_)
            return catalogs::updateIngredient(ctx_.db(), productId_, ingredient) ? Store::Done
                                                                                 : Store::Missing;
        BusyPointer busy(ctx_.ui());
        const catalogs::IngredientCreation created =
            catalogs::createIngredient(ctx_.db(), ctx_.currentBase, ingredient);
        busy.release();
        if (created.duplicateCode) {
            ctx_.ui().message(QStringLiteral("El Código del Producto Ya fue Ingresado"),
                              MsgIcon::Critical);
            codeBox_->setFocus();
            return Store::Refused;
        }
        productId_ = created.id;
        return Store::Done;
    });
    if (!stored)
        return false;
    // The window goes on editing the stored ingredient, as stored.
    load();
    return true;
}

void frmproducto::restore() {
    showBoxes(savedValues_);
}

void frmproducto::showComposition() {
    if (isNew_ || productId_ < 1)
        return;
    QString caption;
    try {
        caption = catalogs::ingredientName(ctx_.db(), productId_);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No se encuentra el Producto"), error, this);
        return;
    }
    frmproducto_propiedades window(ctx_, productId_, caption.trimmed(), this);
    execModal(ctx_, window);
}

void frmproducto::checkPriceBox() {
    const QString refusal = catalogs::priceRefusal(priceBox_->text());
    if (refusal.isEmpty()) {
        priceBox_->setText(
            catalogs::priceBoxText(priceBox_->text(), displaySeparator(ctx_)).value_or(QString()));
        return;
    }
    checkingPrice_ = true;
    ctx_.ui().message(refusal, MsgIcon::Critical);
    checkingPrice_ = false;
    QTimer::singleShot(0, priceBox_, [box = priceBox_] { box->setFocus(); });
}

void frmproducto::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    if (isNew_)
        codeBox_->setFocus();
    else
        descriptionBox_->setFocus();
}

bool frmproducto::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a number box: both are reformatted, and a price must be a number not below 0.
    // On the way to a button the price is left to the button, which checks or discards it; the
    // dry matter, which asks nothing, is reformatted then too.
    if (event->type() == QEvent::FocusOut && !checkingPrice_ && isActiveWindow()) {
        if (watched == priceBox_ && !focusGoesToButton())
            checkPriceBox();
        else if (watched == dryMatterBox_)
            dryMatterBox_->setText(
                catalogs::dryMatterBoxText(dryMatterBox_->text(), displaySeparator(ctx_)));
    }
    return CatalogEditor::eventFilter(watched, event);
}

} // namespace tarvela
