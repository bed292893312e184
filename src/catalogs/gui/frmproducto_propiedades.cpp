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

frmproducto_propiedades::frmproducto_propiedades(AppContext& ctx, int ingredientId,
                                                 const QString& caption, QWidget* parent)
    : QDialog(parent), ctx_(ctx), ingredientId_(ingredientId) {
    setObjectName(QStringLiteral("frmproducto_propiedades"));
    setWindowTitle(caption);
    setModal(true);
    buildControls();
    actu_flexgrid1();
}

void frmproducto_propiedades::buildControls() {
    searchBox_ = new QLineEdit(this);
    searchBox_->setObjectName(QStringLiteral("Text1"));
    searchBox_->installEventFilter(this);
    searchButton_ = windowButton(this, QStringLiteral("cmdBuscar"), QStringLiteral("Buscar"));
    refreshButton_ =
        windowButton(this, QStringLiteral("cmdRefrescar"), QStringLiteral("Refrescar"));
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Buscar"), this));
    search->addWidget(searchBox_, 1);
    search->addWidget(searchButton_);
    search->addWidget(refreshButton_);

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("flexgrid1"));
    setupReadOnlyGrid(*grid_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setMinimumSize(400, 320);
    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row) { startEdit(row); });

    valueEditor_ = new QLineEdit(grid_->viewport());
    valueEditor_->setObjectName(QStringLiteral("txt_aux"));
    valueEditor_->setAlignment(Qt::AlignRight);
    valueEditor_->hide();
    valueEditor_->installEventFilter(this);
    typeDecimalSeparator(valueEditor_, ctx_);

    addButton_ = windowButton(this, QStringLiteral("cmdAdd"), QStringLiteral("Nuevo"));
    editButton_ = windowButton(this, QStringLiteral("cmdEditar"), QStringLiteral("Editar"));
    deleteButton_ = windowButton(this, QStringLiteral("cmdDelete"), QStringLiteral("Eliminar"));
    closeButton_ = closeButton(this);
    connect(searchButton_, &QPushButton::clicked, this, [this] { searchList(); });
    connect(refreshButton_, &QPushButton::clicked, this, [this] { refreshList(); });
    connect(addButton_, &QPushButton::clicked, this, [this] { addNutrient(); });
    connect(editButton_, &QPushButton::clicked, this, [this] { editSelected(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
    auto* actions = new QHBoxLayout;
    for (QPushButton* button : {addButton_, editButton_, deleteButton_})
        actions->addWidget(button);
    actions->addStretch();
    actions->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(grid_, 1);
    layout->addLayout(actions);
}

bool frmproducto_propiedades::actu_flexgrid1() {
    lastSelect_ = catalogs::compositionListStatement(ingredientId_, searchBox_->text());
    BusyPointer busy(ctx_.ui());
    try {
        paintGrid(*grid_, catalogs::paintComposition(ctx_.db().query(lastSelect_)));
    } catch (const db::DbError& error) {
        busy.release();
        showError(ctx_, QStringLiteral("No es posible realizar la búsqueda"), error, this);
        return false;
    }
    grid_->setCurrentCell(0, catalogs::kCompNombre);
    grid_->selectRow(0);
    return true;
}

int frmproducto_propiedades::nutrientOf(int row) const {
    const QTableWidgetItem* item = grid_->item(row, catalogs::kCompPropiedad);
    return item ? catalogs::rowKey(item->text()) : 0;
}

QString frmproducto_propiedades::nameOf(int row) const {
    const QTableWidgetItem* item = grid_->item(row, catalogs::kCompNombre);
    return item ? item->text() : QString();
}

int frmproducto_propiedades::currentNutrientRow() const {
    const int row = grid_->currentRow();
    return row >= 0 && nutrientOf(row) > 0 ? row : -1;
}

void frmproducto_propiedades::selectNutrient(int nutrientId) {
    for (int r = 0; r < grid_->rowCount(); ++r) {
        if (nutrientOf(r) == nutrientId) {
            grid_->setCurrentCell(r, catalogs::kCompValor);
            grid_->selectRow(r);
            return;
        }
    }
}

bool frmproducto_propiedades::editing() const {
    return valueEditor_->isVisible();
}

void frmproducto_propiedades::startEdit(int row) {
    if (row < 0 || nutrientOf(row) < 1 || editing())
        return;
    grid_->setCurrentCell(row, catalogs::kCompValor);
    const QTableWidgetItem* value = grid_->item(row, catalogs::kCompValor);
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
    valueEditor_->setGeometry(grid_->visualRect(grid_->model()->index(row, catalogs::kCompValor)));
    valueEditor_->setText(text::formatFull(edit_.valueBeforeEdit, displaySeparator(ctx_)));
    valueEditor_->show();
    valueEditor_->selectAll();
    valueEditor_->setFocus();
}

bool frmproducto_propiedades::finishEdit(EditKey key) {
    if (!editing() || finishing_)
        return !editing();
    finishing_ = true;
    const QString text = valueEditor_->text();
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
        QTimer::singleShot(0, valueEditor_, [box = valueEditor_] { box->setFocus(); });
        return false;
    }
    valueEditor_->hide();
    grid_->setFocus();
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

void frmproducto_propiedades::searchList() {
    if (leaveEditor())
        actu_flexgrid1();
}

void frmproducto_propiedades::refreshList() {
    searchList();
}

void frmproducto_propiedades::editSelected() {
    if (leaveEditor())
        startEdit(currentNutrientRow());
}

void frmproducto_propiedades::addNutrient() {
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

void frmproducto_propiedades::deleteSelected() {
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

void frmproducto_propiedades::done(int result) {
    // A value being typed is stored or discarded before the window closes.
    if (!leaveEditor())
        return;
    QDialog::done(result);
}

bool frmproducto_propiedades::eventFilter(QObject* watched, QEvent* event) {
    if (watched == valueEditor_) {
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
        if (watched == grid_)
            startEdit(currentNutrientRow());
        else if (watched == searchBox_)
            searchList();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
