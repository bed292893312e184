#include "formulas/gui/frmnueva_formula.h"

#include "catalogs/gui/pickers.h"
#include "widgets/errores.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvela {

namespace {

const QString kSaveFailed = QStringLiteral("No es posible grabar el Registro");

QLineEdit* readOnlyBox(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(224, 224, 224));
    box->setPalette(palette);
    return box;
}

} // namespace

frmnueva_formula::frmnueva_formula(AppContext& ctx, int formulaId, double quantity, bool vSecaIng,
                                   bool vSecaNut, QWidget* parent)
    : QDialog(parent), ctx_(ctx),
      editor_(ctx.db(), ctx.ui(), {formulaId, ctx.currentBase, ctx.currentCustomer, quantity},
              vSecaIng, vSecaNut) {
    setObjectName(QStringLiteral("frmnueva_formula"));
    setWindowTitle(QStringLiteral("Grabar Fórmula"));
    setModal(true);
    buildControls();
    try {
        loadFailed_ = !editor_.load();
        ctx_.currentCustomer = editor_.currentCustomer();
    } catch (const db::DbError& error) {
        showError(ctx_, kSaveFailed, error, this);
        loadFailed_ = true;
    }
    if (!loadFailed_)
        showLoaded();
}

void frmnueva_formula::buildControls() {
    customerBox_ = readOnlyBox(new QLineEdit(this));
    customerBox_->setObjectName(QStringLiteral("txtNomCliente"));
    chooseCustomerButton_ = new QPushButton(QStringLiteral("..."), this);
    chooseCustomerButton_->setObjectName(QStringLiteral("command5"));
    chooseCustomerButton_->setMaximumWidth(30);

    QLineEdit** fields[3] = {&codeBox_, &productBox_, &versionBox_};
    for (int i = 0; i < 3; ++i) {
        *fields[i] = new QLineEdit(this);
        (*fields[i])->setObjectName(QStringLiteral("txtFields%1").arg(i));
        (*fields[i])->installEventFilter(this);
    }
    codeBox_->setMaxLength(20);
    codeBox_->setAlignment(Qt::AlignRight);
    productBox_->setMaxLength(50);
    readOnlyBox(versionBox_);
    versionBox_->setAlignment(Qt::AlignRight);
    lastCodeBox_ = readOnlyBox(new QLineEdit(this));
    lastCodeBox_->setObjectName(QStringLiteral("Text1"));
    lastCodeBox_->setAlignment(Qt::AlignRight);

    newVersionCheck_ =
        new QCheckBox(QStringLiteral("Guardar una nueva Versión de la Fórmula"), this);
    newVersionCheck_->setObjectName(QStringLiteral("Check1"));
    newVersionCheck_->installEventFilter(this);
    connect(newVersionCheck_, &QCheckBox::toggled, this, [this] { showVersion(); });

    saveButton_ = new QPushButton(QStringLiteral("Grabar"), this);
    saveButton_->setObjectName(QStringLiteral("cmdUpdate"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdRefresh"));
    for (QPushButton* button : {chooseCustomerButton_, saveButton_, cancelButton_})
        button->setAutoDefault(false);
    connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
    connect(chooseCustomerButton_, &QPushButton::clicked, this, [this] { chooseCustomer(); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Cliente"), this), 0, 0);
    auto* customer = new QHBoxLayout;
    customer->addWidget(customerBox_);
    customer->addWidget(chooseCustomerButton_);
    grid->addLayout(customer, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Código"), this), 1, 0);
    grid->addWidget(codeBox_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Último"), this), 1, 2);
    grid->addWidget(lastCodeBox_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Producto"), this), 2, 0);
    grid->addWidget(productBox_, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Versión"), this), 3, 0);
    grid->addWidget(versionBox_, 3, 1);
    grid->addWidget(newVersionCheck_, 4, 1, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    setTabOrder(codeBox_, productBox_);
    setTabOrder(productBox_, newVersionCheck_);
    setTabOrder(newVersionCheck_, saveButton_);
    setTabOrder(saveButton_, cancelButton_);
}

void frmnueva_formula::showLoaded() {
    customerBox_->setText(editor_.customerName());
    lastCodeBox_->setText(editor_.isNew() ? editor_.lastCode() : QString());
    codeBox_->setText(editor_.code());
    productBox_->setText(editor_.product());
    QSignalBlocker block(newVersionCheck_);
    newVersionCheck_->setChecked(false);
    newVersionCheck_->setEnabled(!editor_.isNew());
    versionBox_->setText(editor_.versionText(false));
}

void frmnueva_formula::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    if (loadFailed_) {
        // The formula could not be loaded: the dialog closes as soon as it shows.
        QTimer::singleShot(0, this, [this] { reject(); });
        return;
    }
    if (!editor_.isNew() && productBox_->isEnabled())
        productBox_->setFocus();
    else
        codeBox_->setFocus();
}

bool frmnueva_formula::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == codeBox_) {
        QTimer::singleShot(0, codeBox_, [box = codeBox_] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmnueva_formula::showVersion() {
    versionBox_->setText(editor_.versionText(newVersionCheck_->isChecked()));
}

void frmnueva_formula::chooseCustomer() {
    // The customer list in pick mode leaves its choice in the current customer.
    pickCustomer(ctx_, this);
    try {
        editor_.chooseCustomer(ctx_.currentCustomer);
        ctx_.currentCustomer = editor_.currentCustomer();
    } catch (const db::DbError& error) {
        showError(ctx_, kSaveFailed, error, this);
        return;
    }
    customerBox_->setText(editor_.customerName());
}

void frmnueva_formula::focusBox(formulas::HeaderField field) {
    if (field == formulas::HeaderField::Code)
        codeBox_->setFocus();
    else if (field == formulas::HeaderField::Product)
        productBox_->setFocus();
}

void frmnueva_formula::save() {
    formulas::SaveResult result;
    try {
        result =
            editor_.confirm(codeBox_->text(), productBox_->text(), newVersionCheck_->isChecked());
    } catch (const db::DbError& error) {
        showError(ctx_, kSaveFailed, error, this);
        reject();
        return;
    }
    if (result.outcome == formulas::SaveOutcome::Confirmed) {
        header_ = editor_.toWrite();
        accept();
        return;
    }
    focusBox(result.focus);
}

void frmnueva_formula::cancel() {
    header_.reset();
    reject();
}

} // namespace tarvela
