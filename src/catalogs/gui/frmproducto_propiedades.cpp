#include "catalogs/gui/frmproducto_propiedades.h"

#include "catalogs/gui/pickers.h"
#include "catalogs/list_grids.h"
#include "grid/gui/grid_painter.h"
#include "text/format.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvela {

using catalogs::EditKey;
using catalogs::EditStep;

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

frmproducto_propiedades::frmproducto_propiedades(AppContext& ctx, const QString& caption,
                                                 QWidget* parent)
    : QDialog(parent), ctx_(ctx), ingredientId_(ctx.currentProductId) {
    setObjectName(QStringLiteral("frmproducto_propiedades"));
    setWindowTitle(caption);
    setModal(true);
    buildControls();
    actu_flexgrid1();
}

void frmproducto_propiedades::buildControls() {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->installEventFilter(this);
    cmdBuscar_ = windowButton(this, QStringLiteral("cmdBuscar"), QStringLiteral("Buscar"));
    cmdRefrescar_ = windowButton(this, QStringLiteral("cmdRefrescar"), QStringLiteral("Refrescar"));
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Buscar"), this));
    search->addWidget(Text1_, 1);
    search->addWidget(cmdBuscar_);
    search->addWidget(cmdRefrescar_);

    flexgrid1_ = new QTableWidget(this);
    flexgrid1_->setObjectName(QStringLiteral("flexgrid1"));
    setupReadOnlyGrid(*flexgrid1_);
    flexgrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexgrid1_->setMinimumSize(400, 320);
    flexgrid1_->installEventFilter(this);
    connect(flexgrid1_, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { startEdit(row); });

    txt_aux_ = new QLineEdit(flexgrid1_->viewport());
    txt_aux_->setObjectName(QStringLiteral("txt_aux"));
    txt_aux_->setAlignment(Qt::AlignRight);
    txt_aux_->hide();
    txt_aux_->installEventFilter(this);
    typeDecimalSeparator(txt_aux_, ctx_);

    cmdAdd_ = windowButton(this, QStringLiteral("cmdAdd"), QStringLiteral("Nuevo"));
    cmdEditar_ = windowButton(this, QStringLiteral("cmdEditar"), QStringLiteral("Editar"));
    cmdDelete_ = windowButton(this, QStringLiteral("cmdDelete"), QStringLiteral("Eliminar"));
    cmdClose_ = closeButton(this);
    connect(cmdBuscar_, &QPushButton::clicked, this, [this] { cmdBuscar_Click(); });
    connect(cmdRefrescar_, &QPushButton::clicked, this, [this] { cmdRefrescar_Click(); });
    connect(cmdAdd_, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEditar_, &QPushButton::clicked, this, [this] { cmdEditar_Click(); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    auto* actions = new QHBoxLayout;
    for (QPushButton* button : {cmdAdd_, cmdEditar_, cmdDelete_})
        actions->addWidget(button);
    actions->addStretch();
    actions->addWidget(cmdClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(flexgrid1_, 1);
    layout->addLayout(actions);
}

bool frmproducto_propiedades::actu_flexgrid1() {
    lastSelect_ = catalogs::compositionListStatement(ingredientId_, Text1_->text());
    BusyPointer busy(ctx_.ui());
    try {
        paintGrid(*flexgrid1_, catalogs::paintComposition(ctx_.db().query(lastSelect_)));
    } catch (const db::DbError& error) {
        busy.release();
        showError(ctx_, QStringLiteral("No es posible realizar la búsqueda"), error, this);
        return false;
    }
    flexgrid1_->setCurrentCell(0, catalogs::kCompNombre);
    flexgrid1_->selectRow(0);
    return true;
}

int frmproducto_propiedades::nutrientOf(int row) const {
    const QTableWidgetItem* item = flexgrid1_->item(row, catalogs::kCompPropiedad);
    return item ? catalogs::rowKey(item->text()) : 0;
}

QString frmproducto_propiedades::nameOf(int row) const {
    const QTableWidgetItem* item = flexgrid1_->item(row, catalogs::kCompNombre);
    return item ? item->text() : QString();
}

int frmproducto_propiedades::currentNutrientRow() const {
    const int row = flexgrid1_->currentRow();
    return row >= 0 && nutrientOf(row) > 0 ? row : -1;
}

void frmproducto_propiedades::selectNutrient(int nutrientId) {
    for (int r = 0; r < flexgrid1_->rowCount(); ++r) {
        if (nutrientOf(r) == nutrientId) {
            flexgrid1_->setCurrentCell(r, catalogs::kCompValor);
            flexgrid1_->selectRow(r);
            return;
        }
    }
}

bool frmproducto_propiedades::editing() const {
    return txt_aux_->isVisible();
}

void frmproducto_propiedades::startEdit(int row) {
    if (row < 0 || nutrientOf(row) < 1 || editing())
        return;
    flexgrid1_->setCurrentCell(row, catalogs::kCompValor);
    const QTableWidgetItem* value = flexgrid1_->item(row, catalogs::kCompValor);
    edit_ = {nutrientOf(row), nameOf(row), catalogs::cellValue(value ? value->text() : QString())};
    // The editor opens with the content as stored, not the five decimals the grid shows.
    try {
        if (const std::optional<double> stored =
                catalogs::compositionValue(ctx_.db(), ingredientId_, edit_.nutrientId))
            edit_.valueBeforeEdit = *stored;
    } catch (const db::DbError&) {
        // The value shown stands in; storing it reports any failure.
    }
    refused_ = false;
    txt_aux_->setGeometry(
        flexgrid1_->visualRect(flexgrid1_->model()->index(row, catalogs::kCompValor)));
    txt_aux_->setText(text::formatFull(edit_.valueBeforeEdit, displaySeparator(ctx_)));
    txt_aux_->show();
    txt_aux_->selectAll();
    txt_aux_->setFocus();
}

bool frmproducto_propiedades::finishEdit(EditKey key) {
    if (!editing() || finishing_)
        return !editing();
    finishing_ = true;
    const QString text = txt_aux_->text();
    catalogs::EditDecision decision = catalogs::decideValueEdit(text, edit_.valueBeforeEdit, key);
    if (decision.step == EditStep::Ask) {
        const bool store = ctx_.ui().question(
            catalogs::storeValueQuestion(text, edit_.name, displaySeparator(ctx_)));
        decision = catalogs::decideValueEdit(text, edit_.valueBeforeEdit,
                                             store ? EditKey::Enter : EditKey::Escape);
    }
    if (decision.step == EditStep::Refuse) {
        ctx_.ui().message(decision.message, MsgIcon::Critical);
        refused_ = true;
        finishing_ = false;
        QTimer::singleShot(0, txt_aux_, [box = txt_aux_] { box->setFocus(); });
        return false;
    }
    txt_aux_->hide();
    flexgrid1_->setFocus();
    if (decision.step == EditStep::Store) {
        try {
            catalogs::storeCompositionValue(ctx_.db(), ingredientId_, edit_.nutrientId,
                                            decision.value);
        } catch (const db::DbError& error) {
            showError(ctx_,
                      QStringLiteral("ERROR. No se pudo actualizar el Nutriente para el "
                                     "producto."),
                      error, this);
        }
        actu_flexgrid1();
    }
    selectNutrient(edit_.nutrientId);
    if (key == EditKey::None) {
        // The click that took the focus away lands on the list as it is now, whose rows may have
        // moved: the edited nutrient is selected again after it.
        QTimer::singleShot(0, this,
                           [this, nutrient = edit_.nutrientId] { selectNutrient(nutrient); });
    }
    finishing_ = false;
    return true;
}

bool frmproducto_propiedades::leaveEditor() {
    if (!editing())
        return true;
    // A value just refused keeps the editor until the user corrects or discards it.
    return !refused_ && finishEdit(EditKey::None);
}

void frmproducto_propiedades::cmdBuscar_Click() {
    if (leaveEditor())
        actu_flexgrid1();
}

void frmproducto_propiedades::cmdRefrescar_Click() {
    cmdBuscar_Click();
}

void frmproducto_propiedades::cmdEditar_Click() {
    if (leaveEditor())
        startEdit(currentNutrientRow());
}

void frmproducto_propiedades::cmdAdd_Click() {
    if (!leaveEditor())
        return;
    const std::optional<PickedNutrient> nutrient = pickNutrient(ctx_, this);
    if (!nutrient)
        return;
    try {
        if (catalogs::hasCompositionRow(ctx_.db(), ingredientId_, nutrient->id)) {
            ctx_.ui().message(catalogs::kNutrientAlreadyAssigned, MsgIcon::Critical);
            return;
        }
        catalogs::addCompositionRow(ctx_.db(), ingredientId_, nutrient->id);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible grabar el Registro"), error, this);
        return;
    }
    if (!actu_flexgrid1())
        return;
    selectNutrient(nutrient->id);
    startEdit(currentNutrientRow());
}

void frmproducto_propiedades::cmdDelete_Click() {
    if (!leaveEditor())
        return;
    const int row = currentNutrientRow();
    if (row < 0)
        return;
    if (!ctx_.ui().question(catalogs::removeCompositionRowQuestion(nameOf(row))))
        return;
    try {
        catalogs::removeCompositionRow(ctx_.db(), ingredientId_, nutrientOf(row));
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
    }
    actu_flexgrid1();
}

void frmproducto_propiedades::cmdClose_Click() {
    close();
}

void frmproducto_propiedades::done(int result) {
    // A value being typed is stored or discarded before the window closes.
    if (!leaveEditor())
        return;
    QDialog::done(result);
}

bool frmproducto_propiedades::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txt_aux_) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            refused_ = false;
            if (isEnter(key)) {
                finishEdit(EditKey::Enter);
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                finishEdit(EditKey::Escape);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving the cell for another control asks; another application taking the focus,
            // or a message box, does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                finishEdit(EditKey::None);
        }
    } else if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        if (watched == flexgrid1_)
            startEdit(currentNutrientRow());
        else if (watched == Text1_)
            cmdBuscar_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
