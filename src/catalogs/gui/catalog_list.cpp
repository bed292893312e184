#include "catalogs/gui/catalog_list.h"

#include "catalogs/list_grids.h"
#include "grid/gui/grid_painter.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvela {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

CatalogList::CatalogList(AppContext& ctx, const QString& name, const QString& caption,
                         QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    buildControls();
}

void CatalogList::buildControls() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraCriterios"));
    criteria_ = new QGridLayout(frame);

    Command1_ = windowButton(this, QStringLiteral("Command1"), QStringLiteral("Buscar"));
    Command2_ = windowButton(this, QStringLiteral("Command2"), QStringLiteral("Limpiar"));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("imgTipoFormulacion"));
    picture_->hide();
    auto* searchButtons = new QVBoxLayout;
    searchButtons->addWidget(picture_);
    searchButtons->addStretch();
    searchButtons->addWidget(Command1_);
    searchButtons->addWidget(Command2_);
    auto* top = new QHBoxLayout;
    top->addWidget(frame, 1);
    top->addLayout(searchButtons);

    txtnohubo_ = new QLabel(QStringLiteral("No hubo coincidencias"), this);
    txtnohubo_->setObjectName(QStringLiteral("txtnohubo"));
    // Its line is kept while it is hidden: the window does not grow when it shows.
    QSizePolicy keepLine = txtnohubo_->sizePolicy();
    keepLine.setRetainSizeWhenHidden(true);
    txtnohubo_->setSizePolicy(keepLine);
    txtnohubo_->hide();

    flexgrid1_ = new QTableWidget(this);
    flexgrid1_->setObjectName(QStringLiteral("flexgrid1"));
    setupReadOnlyGrid(*flexgrid1_);
    flexgrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexgrid1_->setMinimumSize(560, 260);
    flexgrid1_->installEventFilter(this);
    connect(flexgrid1_, &QTableWidget::cellDoubleClicked, this, [this] { actOnRow(); });

    cmdAdd_ = windowButton(this, QStringLiteral("cmdAdd"), QStringLiteral("Nuevo"));
    cmdEditar_ = windowButton(this, QStringLiteral("cmdEditar"), QStringLiteral("Editar"));
    cmdDelete_ = windowButton(this, QStringLiteral("cmdDelete"), QStringLiteral("Eliminar"));
    cmdSeleccionar_ =
        windowButton(this, QStringLiteral("cmdSeleccionar"), QStringLiteral("Seleccionar"));
    cmdSeleccionar_->hide();
    cmdClose_ = closeButton(this);
    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2_, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdAdd_, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEditar_, &QPushButton::clicked, this, [this] { cmdEditar_Click(); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdSeleccionar_, &QPushButton::clicked, this, [this] { cmdSeleccionar_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });

    buttonRow_ = new QWidget(this);
    auto* actions = new QHBoxLayout(buttonRow_);
    actions->setContentsMargins(0, 0, 0, 0);
    for (QWidget* button : {cmdAdd_, cmdEditar_, cmdDelete_, cmdSeleccionar_})
        actions->addWidget(button);
    actions->addStretch();
    actions->addWidget(cmdClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtnohubo_);
    layout->addWidget(flexgrid1_, 1);
    layout->addWidget(buttonRow_);
}

void CatalogList::searchOnEnter(QWidget* box) {
    box->installEventFilter(this);
}

QPushButton* CatalogList::addButton(const QString& name, const QString& caption) {
    QPushButton* button = windowButton(buttonRow_, name, caption);
    auto* actions = static_cast<QHBoxLayout*>(buttonRow_->layout());
    actions->insertWidget(actions->indexOf(cmdSeleccionar_), button);
    return button;
}

void CatalogList::showPicture(const QPixmap& picture) {
    picture_->setPixmap(picture);
    picture_->show();
}

void CatalogList::finish(QWidget* firstBox, int nameColumn) {
    firstBox_ = firstBox;
    nameColumn_ = nameColumn;
    rememberedRow_ = 1;
    search();
}

bool CatalogList::search() {
    BusyPointer busy(ctx_.ui());
    try {
        const std::optional<grid::GridPaint> rows = findRows();
        if (!rows)
            return false;
        showRows(*rows);
    } catch (const db::DbError& error) {
        busy.release();
        showError(ctx_, QStringLiteral("No es posible realizar la búsqueda"), error, this);
        return false;
    }
    return true;
}

void CatalogList::showRows(const grid::GridPaint& paint) {
    paintGrid(*flexgrid1_, paint);
    const int lines = flexgrid1_->rowCount();
    txtnohubo_->setVisible(lines == 0);
    if (lines == 0)
        return;
    const int row = rememberedRow_ >= 1 && rememberedRow_ <= lines ? rememberedRow_ - 1 : 0;
    flexgrid1_->setCurrentCell(row, nameColumn_);
    flexgrid1_->selectRow(row);
    flexgrid1_->scrollToItem(flexgrid1_->item(row, nameColumn_));
}

int CatalogList::selectedRow() const {
    const int row = flexgrid1_->currentRow();
    if (row < 0 || row >= flexgrid1_->rowCount())
        return -1;
    return keyOf(row) > 0 ? row : -1;
}

bool CatalogList::showsItems() const {
    return flexgrid1_->rowCount() > 0 && keyOf(0) > 0;
}

int CatalogList::keyOf(int row) const {
    return catalogs::rowKey(cellText(row, 0));
}

QString CatalogList::cellText(int row, int column) const {
    const QTableWidgetItem* item = flexgrid1_->item(row, column);
    return item ? item->text() : QString();
}

void CatalogList::Command1_Click() {
    search();
}

void CatalogList::Command2_Click() {
    // The whole list again, from its first row.
    rememberedRow_ = 1;
    clearCriteria();
    search();
}

void CatalogList::cmdAdd_Click() {
    openItem(0);
    search();
}

void CatalogList::cmdEditar_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    rememberedRow_ = row + 1;
    openItem(keyOf(row));
    search();
}

void CatalogList::cmdDelete_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    rememberedRow_ = row + 1;
    if (deleteItem(keyOf(row), cellText(row, nameColumn_).trimmed()))
        search();
}

void CatalogList::cmdSeleccionar_Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    pickItem(row);
    chosen_ = true;
    accept();
}

void CatalogList::cmdClose_Click() {
    close();
}

void CatalogList::actOnRow() {
    if (pickMode())
        cmdSeleccionar_Click();
    else
        cmdEditar_Click();
}

void CatalogList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cmdSeleccionar_->setVisible(pickMode());
    if (firstBox_)
        firstBox_->setFocus();
}

void CatalogList::done(int result) {
    if (!chosen_)
        leaveWithoutChoosing();
    chosen_ = false;
    QDialog::done(result);
}

bool CatalogList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
        if (watched == flexgrid1_)
            actOnRow();
        else
            search();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
