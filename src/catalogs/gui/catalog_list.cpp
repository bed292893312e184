#include "catalogs/gui/catalog_list.h"

#include "catalogs/list_grids.h"
#include "grid/gui/grid_painter.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvela {

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

CatalogList::CatalogList(AppContext& ctx, const QString& name, const QString& caption,
                         ListMode mode, QWidget* parent)
    : QDialog(parent), ctx_(ctx), mode_(mode) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    buildControls();
    if (mode == ListMode::PickSeveral)
        grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void CatalogList::buildControls() {
    criteriaFrame_ = new QGroupBox(this);
    criteriaFrame_->setObjectName(QStringLiteral("fraCriterios"));
    criteria_ = new QGridLayout(criteriaFrame_);

    searchButton_ = windowButton(this, QStringLiteral("Command1"), QStringLiteral("Buscar"));
    clearButton_ = windowButton(this, QStringLiteral("Command2"), QStringLiteral("Limpiar"));
    basePicture_ = new QLabel(this);
    basePicture_->setObjectName(QStringLiteral("imgTipoFormulacion"));
    basePicture_->hide();
    auto* searchButtons = new QVBoxLayout;
    searchButtons->addWidget(basePicture_);
    searchButtons->addStretch();
    searchButtons->addWidget(searchButton_);
    searchButtons->addWidget(clearButton_);
    auto* top = new QHBoxLayout;
    top->addWidget(criteriaFrame_, 1);
    top->addLayout(searchButtons);

    noMatchesLabel_ = new QLabel(QStringLiteral("No hubo coincidencias"), this);
    noMatchesLabel_->setObjectName(QStringLiteral("txtnohubo"));
    // Its line is kept while it is hidden: the window does not grow when it shows.
    QSizePolicy keepLine = noMatchesLabel_->sizePolicy();
    keepLine.setRetainSizeWhenHidden(true);
    noMatchesLabel_->setSizePolicy(keepLine);
    noMatchesLabel_->hide();

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("flexgrid1"));
    setupReadOnlyGrid(*grid_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setMinimumSize(560, 260);
    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { actOnRow(); });

    addButton_ = windowButton(this, QStringLiteral("cmdAdd"), QStringLiteral("Nuevo"));
    editButton_ = windowButton(this, QStringLiteral("cmdEditar"), QStringLiteral("Editar"));
    deleteButton_ = windowButton(this, QStringLiteral("cmdDelete"), QStringLiteral("Eliminar"));
    pickButton_ =
        windowButton(this, QStringLiteral("cmdSeleccionar"), QStringLiteral("Seleccionar"));
    pickButton_->hide();
    closeButton_ = closeButton(this);
    connect(searchButton_, &QPushButton::clicked, this, [this] { search(); });
    connect(clearButton_, &QPushButton::clicked, this, &CatalogList::clearSearch);
    connect(addButton_, &QPushButton::clicked, this, &CatalogList::addNew);
    connect(editButton_, &QPushButton::clicked, this, &CatalogList::editSelected);
    connect(deleteButton_, &QPushButton::clicked, this, &CatalogList::deleteSelected);
    connect(pickButton_, &QPushButton::clicked, this, &CatalogList::pickSelected);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);

    buttonRow_ = new QWidget(this);
    auto* actions = new QHBoxLayout(buttonRow_);
    actions->setContentsMargins(0, 0, 0, 0);
    for (QWidget* button : {addButton_, editButton_, deleteButton_, pickButton_})
        actions->addWidget(button);
    actions->addStretch();
    actions->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(noMatchesLabel_);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttonRow_);
}

void CatalogList::searchOnEnter(QWidget* box) {
    box->installEventFilter(this);
}

void CatalogList::addToButtonRow(QWidget* control) {
    control->setParent(buttonRow_);
    auto* actions = static_cast<QHBoxLayout*>(buttonRow_->layout());
    actions->insertWidget(actions->indexOf(pickButton_), control);
}

QPushButton* CatalogList::addButton(const QString& name, const QString& caption) {
    QPushButton* button = windowButton(buttonRow_, name, caption);
    addToButtonRow(button);
    return button;
}

void CatalogList::showPicture(const QPixmap& picture) {
    basePicture_->setPixmap(picture);
    basePicture_->show();
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
    paintGrid(*grid_, paint);
    const int lines = grid_->rowCount();
    noMatchesLabel_->setVisible(lines == 0);
    if (lines == 0)
        return;
    const int remembered = remembersRow_ ? rememberedRow_ : 1;
    const int row = remembered >= 1 && remembered <= lines ? remembered - 1 : 0;
    grid_->setCurrentCell(row, nameColumn_);
    grid_->selectRow(row);
    grid_->scrollToItem(grid_->item(row, nameColumn_));
}

void CatalogList::showNoRows() {
    grid_->setRowCount(0);
    grid_->setCurrentCell(-1, -1);
    noMatchesLabel_->hide();
}

int CatalogList::selectedRow() const {
    const int row = grid_->currentRow();
    if (row < 0 || row >= grid_->rowCount())
        return -1;
    return keyOf(row) > 0 ? row : -1;
}

bool CatalogList::showsItems() const {
    return grid_->rowCount() > 0 && keyOf(0) > 0;
}

int CatalogList::keyOf(int row) const {
    return catalogs::rowKey(cellText(row, 0));
}

QString CatalogList::cellText(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void CatalogList::clearSearch() {
    clearCriteria();
    listAfterClearing();
}

void CatalogList::listAfterClearing() {
    // The whole list again, from its first row.
    rememberedRow_ = 1;
    search();
}

void CatalogList::addNew() {
    openItem(0);
    search();
}

void CatalogList::editSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    rememberedRow_ = row + 1;
    openItem(keyOf(row));
    search();
}

void CatalogList::deleteSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    rememberedRow_ = row + 1;
    if (deleteItem(keyOf(row), cellText(row, nameColumn_).trimmed()))
        search();
}

std::vector<int> CatalogList::pickedRows() const {
    std::vector<int> rows;
    if (mode_ == ListMode::PickSeveral)
        for (const QModelIndex& index : grid_->selectionModel()->selectedRows())
            if (keyOf(index.row()) > 0)
                rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.empty() && selectedRow() >= 0)
        rows.push_back(selectedRow());
    return rows;
}

void CatalogList::pickSelected() {
    const std::vector<int> rows = pickedRows();
    if (rows.empty())
        return;
    for (int row : rows)
        pickItem(row);
    chosen_ = true;
    accept();
}

void CatalogList::actOnRow() {
    if (pickMode())
        pickSelected();
    else
        editSelected();
}

void CatalogList::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    pickButton_->setVisible(pickMode());
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
        if (watched == grid_)
            actOnRow();
        else
            search();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tarvela
