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

formulas::HeaderStart headerStart(const AppContext& ctx) {
    return {ctx.currentFormulaId, ctx.currentBase, ctx.currentCustomer, ctx.currentFormulaQuantity};
}

} // namespace

frmnueva_formula::frmnueva_formula(AppContext& ctx, bool vSecaIng, bool vSecaNut, QWidget* parent)
    : QDialog(parent), ctx_(ctx),
      editor_(ctx.db(), ctx.ui(), headerStart(ctx), vSecaIng, vSecaNut) {
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
    txtNomCliente_ = readOnlyBox(new QLineEdit(this));
    txtNomCliente_->setObjectName(QStringLiteral("txtNomCliente"));
    command5_ = new QPushButton(QStringLiteral("..."), this);
    command5_->setObjectName(QStringLiteral("command5"));
    command5_->setMaximumWidth(30);

    for (int i = 0; i < 3; ++i) {
        txtFields_[i] = new QLineEdit(this);
        txtFields_[i]->setObjectName(QStringLiteral("txtFields%1").arg(i));
        txtFields_[i]->installEventFilter(this);
    }
    txtFields_[0]->setMaxLength(20);
    txtFields_[0]->setAlignment(Qt::AlignRight);
    txtFields_[1]->setMaxLength(50);
    readOnlyBox(txtFields_[2]);
    txtFields_[2]->setAlignment(Qt::AlignRight);
    Text1_ = readOnlyBox(new QLineEdit(this));
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setAlignment(Qt::AlignRight);

    Check1_ = new QCheckBox(QStringLiteral("Guardar una nueva Versión de la Fórmula"), this);
    Check1_->setObjectName(QStringLiteral("Check1"));
    Check1_->installEventFilter(this);
    connect(Check1_, &QCheckBox::toggled, this, [this] { Check1_Click(); });

    cmdUpdate_ = new QPushButton(QStringLiteral("Grabar"), this);
    cmdUpdate_->setObjectName(QStringLiteral("cmdUpdate"));
    cmdRefresh_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdRefresh_->setObjectName(QStringLiteral("cmdRefresh"));
    for (QPushButton* button : {command5_, cmdUpdate_, cmdRefresh_})
        button->setAutoDefault(false);
    connect(cmdUpdate_, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    connect(cmdRefresh_, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(command5_, &QPushButton::clicked, this, [this] { command5_Click(); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Cliente"), this), 0, 0);
    auto* customer = new QHBoxLayout;
    customer->addWidget(txtNomCliente_);
    customer->addWidget(command5_);
    grid->addLayout(customer, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Código"), this), 1, 0);
    grid->addWidget(txtFields_[0], 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Último"), this), 1, 2);
    grid->addWidget(Text1_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Producto"), this), 2, 0);
    grid->addWidget(txtFields_[1], 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Versión"), this), 3, 0);
    grid->addWidget(txtFields_[2], 3, 1);
    grid->addWidget(Check1_, 4, 1, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUpdate_);
    buttons->addWidget(cmdRefresh_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    setTabOrder(txtFields_[0], txtFields_[1]);
    setTabOrder(txtFields_[1], Check1_);
    setTabOrder(Check1_, cmdUpdate_);
    setTabOrder(cmdUpdate_, cmdRefresh_);
}

void frmnueva_formula::showLoaded() {
    txtNomCliente_->setText(editor_.customerName());
    Text1_->setText(editor_.isNew() ? editor_.lastCode() : QString());
    txtFields_[0]->setText(editor_.code());
    txtFields_[1]->setText(editor_.product());
    QSignalBlocker block(Check1_);
    Check1_->setChecked(false);
    Check1_->setEnabled(!editor_.isNew());
    txtFields_[2]->setText(editor_.versionText(false));
}

void frmnueva_formula::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    if (loadFailed_) {
        // The formula could not be loaded: the dialog closes as soon as it shows, leaving
        // currentFormulaId as it was.
        QTimer::singleShot(0, this, [this] { reject(); });
        return;
    }
    if (!editor_.isNew() && txtFields_[1]->isEnabled())
        txtFields_[1]->setFocus();
    else
        txtFields_[0]->setFocus();
}

bool frmnueva_formula::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && watched == txtFields_[0]) {
        QTimer::singleShot(0, txtFields_[0], [box = txtFields_[0]] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

void frmnueva_formula::Check1_Click() {
    txtFields_[2]->setText(editor_.versionText(Check1_->isChecked()));
}

void frmnueva_formula::command5_Click() {
    // The customer list in pick mode leaves its choice in currentCustomer.
    pickCustomer(ctx_, this);
    try {
        editor_.chooseCustomer(ctx_.currentCustomer);
        ctx_.currentCustomer = editor_.currentCustomer();
    } catch (const db::DbError& error) {
        showError(ctx_, kSaveFailed, error, this);
        return;
    }
    txtNomCliente_->setText(editor_.customerName());
}

void frmnueva_formula::focusBox(formulas::HeaderField field) {
    if (field == formulas::HeaderField::Code)
        txtFields_[0]->setFocus();
    else if (field == formulas::HeaderField::Product)
        txtFields_[1]->setFocus();
}

void frmnueva_formula::cmdUpdate_Click() {
    formulas::SaveResult result;
    try {
        result = editor_.save(txtFields_[0]->text(), txtFields_[1]->text(), Check1_->isChecked());
    } catch (const db::DbError& error) {
        // Nothing of this save is kept; the caller's transaction is rolled back as well.
        showError(ctx_, kSaveFailed, error, this);
        reject();
        return;
    }
    if (result.outcome == formulas::SaveOutcome::Saved) {
        ctx_.currentFormulaId = static_cast<qint16>(result.formulaId);
        accept();
        return;
    }
    focusBox(result.focus);
}

void frmnueva_formula::cmdRefresh_Click() {
    ctx_.currentFormulaId = 0;
    reject();
}

} // namespace tarvela
