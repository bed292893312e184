#include "catalogs/gui/frmproducto.h"

#include "catalogs/gui/frmproducto_propiedades.h"
#include "catalogs/gui/unit_combo.h"
#include "catalogs/units.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace tarvela {

namespace {

void setBackground(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

frmproducto::frmproducto(AppContext& ctx, QWidget* parent)
    : frmproducto(ctx, ctx.currentProductId, QStringLiteral("frmproducto"), parent) {}

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
    Text1_ = box(QStringLiteral("Text1"));
    Text1_->setMaxLength(20);
    Text1_->setAlignment(Qt::AlignRight);
    Text2_ = box(QStringLiteral("Text2"));
    Text2_->setMinimumWidth(300);
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Text3_ = box(QStringLiteral("Text3"));
    Text4_ = box(QStringLiteral("Text4"));
    for (QLineEdit* number : {Text3_, Text4_}) {
        number->setAlignment(Qt::AlignRight);
        typeDecimalSeparator(number, ctx_);
        number->installEventFilter(this);
    }
    txtUltimo_ = box(QStringLiteral("txtUltimo"));
    txtUltimo_->setReadOnly(true);
    txtUltimo_->setFocusPolicy(Qt::NoFocus);
    txtUltimo_->setAlignment(Qt::AlignRight);
    setBackground(txtUltimo_, QColor(224, 224, 224));
    for (QWidget* field : std::initializer_list<QWidget*>{Text1_, Text2_, Combo1_, Text3_, Text4_})
        moveOnWithEnter(field);

    CmdPropiedades_ = addButton(QStringLiteral("CmdPropiedades"), QStringLiteral("Nutrientes"));
    connect(CmdPropiedades_, &QPushButton::clicked, this, [this] { CmdPropiedades_Click(); });

    QGridLayout* grid = fields();
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(label(QStringLiteral("Código")), 0, 0);
    grid->addWidget(Text1_, 0, 1);
    QLabel* last = label(QStringLiteral("Último"));
    last->setObjectName(QStringLiteral("lblUltimo"));
    grid->addWidget(last, 0, 2, Qt::AlignRight);
    grid->addWidget(txtUltimo_, 0, 3);
    grid->addWidget(label(QStringLiteral("Descripción")), 1, 0);
    grid->addWidget(Text2_, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Unidad")), 2, 0);
    grid->addWidget(Combo1_, 2, 1, Qt::AlignLeft);
    grid->addWidget(label(QStringLiteral("Precio Costo")), 3, 0);
    grid->addWidget(Text3_, 3, 1);
    grid->addWidget(label(QStringLiteral("Materia Seca")), 4, 0);
    grid->addWidget(Text4_, 4, 1);
    setTabOrder(Text1_, Text2_);
    setTabOrder(Text2_, Combo1_);
    setTabOrder(Combo1_, Text3_);
    setTabOrder(Text3_, Text4_);
    setTabOrder(Text4_, cmdUpdate_);
}

void frmproducto::load() {
    isNew_ = productId_ < 1;
    savedValues_ = {};
    txtUltimo_->clear();
    try {
        if (isNew_) {
            txtUltimo_->setText(
                catalogs::lastIngredientCode(ctx_.db(), ctx_.currentBase).trimmed());
        } else if (const auto ingredient =
                       catalogs::loadIngredient(ctx_.db(), productId_, displaySeparator(ctx_))) {
            savedValues_ = *ingredient;
            // The code box shows the code without the blanks that align it.
            savedValues_.codigo = savedValues_.codigo.trimmed();
        } else {
            ctx_.ui().message(QStringLiteral("No se encuentra el Producto"), MsgIcon::Critical);
        }
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No se encuentra el Producto"), error, this);
    }
    offerUnits(*Combo1_, catalogs::kIngredientUnits, savedValues_.unidad);
    showBoxes(savedValues_);
    showMode();
}

void frmproducto::offerUnitList(const QStringList& units) {
    offerUnits(*Combo1_, units, savedValues_.unidad);
}

void frmproducto::showMode() {
    // The code is typed once, when the ingredient is created; then it never changes.
    Text1_->setReadOnly(!isNew_);
    Text1_->setFocusPolicy(isNew_ ? Qt::StrongFocus : Qt::NoFocus);
    setBackground(Text1_, isNew_ ? QColor(Qt::white) : palette().color(QPalette::Button));
    CmdPropiedades_->setEnabled(!isNew_);
}

void frmproducto::showBoxes(const catalogs::IngredientBoxes& values) {
    Text1_->setText(values.codigo);
    Text2_->setText(values.nombre);
    chooseUnit(*Combo1_, values.unidad);
    Text3_->setText(values.costo);
    Text4_->setText(values.materiaSeca);
}

catalogs::IngredientBoxes frmproducto::boxes() const {
    return {Text1_->text(), Text2_->text(), chosenUnit(*Combo1_).value_or(QString()),
            Text3_->text(), Text4_->text()};
}

bool frmproducto::changed() const {
    return catalogs::ingredientChanged(savedValues_, boxes(), chosenUnit(*Combo1_));
}

void frmproducto::focusField(catalogs::IngredientField field) {
    switch (field) {
    case catalogs::IngredientField::Code:
        Text1_->setFocus();
        break;
    case catalogs::IngredientField::Description:
        Text2_->setFocus();
        break;
    case catalogs::IngredientField::Unit:
        Combo1_->setFocus();
        break;
    case catalogs::IngredientField::Price:
        Text3_->setFocus();
        break;
    case catalogs::IngredientField::DryMatter:
        Text4_->setFocus();
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
            Text1_->setFocus();
            return Store::Refused;
        }
        productId_ = created.id;
        ctx_.currentProductId = static_cast<qint16>(created.id);
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

void frmproducto::CmdPropiedades_Click() {
    if (isNew_ || productId_ < 1)
        return;
    QString caption;
    try {
        caption = catalogs::ingredientName(ctx_.db(), productId_);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No se encuentra el Producto"), error, this);
        return;
    }
    ctx_.currentProductId = static_cast<qint16>(productId_);
    frmproducto_propiedades window(ctx_, caption.trimmed(), this);
    execModal(ctx_, window);
}

void frmproducto::Text3_LostFocus() {
    const QString refusal = catalogs::priceRefusal(Text3_->text());
    if (refusal.isEmpty()) {
        Text3_->setText(
            catalogs::priceBoxText(Text3_->text(), displaySeparator(ctx_)).value_or(QString()));
        return;
    }
    checkingPrice_ = true;
    ctx_.ui().message(refusal, MsgIcon::Critical);
    checkingPrice_ = false;
    QTimer::singleShot(0, Text3_, [box = Text3_] { box->setFocus(); });
}

void frmproducto::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    if (isNew_)
        Text1_->setFocus();
    else
        Text2_->setFocus();
}

bool frmproducto::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a number box: both are reformatted, and a price must be a number not below 0.
    // On the way to a button the price is left to the button, which checks or discards it; the
    // dry matter, which asks nothing, is reformatted then too.
    if (event->type() == QEvent::FocusOut && !checkingPrice_ && isActiveWindow()) {
        if (watched == Text3_ && !focusGoesToButton())
            Text3_LostFocus();
        else if (watched == Text4_)
            Text4_->setText(catalogs::dryMatterBoxText(Text4_->text(), displaySeparator(ctx_)));
    }
    return CatalogEditor::eventFilter(watched, event);
}

} // namespace tarvela
