#include "catalogs/gui/frmHistorial.h"

#include "db/change_log.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvela {

namespace {

QString shownDate(const QString& stored) {
    const QDateTime at = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return at.isValid() ? at.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : stored;
}

} // namespace

frmHistorial::frmHistorial(AppContext& ctx, const QString& caption, const QString& table, int key,
                           QWidget* parent)
    : QDialog(parent), flexHistorial_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmHistorial"));
    setWindowTitle(QStringLiteral("Historial de cambios - ") + caption);
    setModal(true);
    resize(760, 360);

    flexHistorial_->setObjectName(QStringLiteral("flexHistorial"));
    flexHistorial_->setColumnCount(4);
    flexHistorial_->setHorizontalHeaderLabels(
        {QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Acción"),
         QStringLiteral("Detalle")});
    flexHistorial_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    flexHistorial_->setSelectionBehavior(QAbstractItemView::SelectRows);
    flexHistorial_->verticalHeader()->hide();
    flexHistorial_->horizontalHeader()->setStretchLastSection(true);
    flexHistorial_->setWordWrap(true);

    std::vector<db::ChangeRecord> records;
    if (key > 0) {
        try {
            records = db::changeHistory(ctx.db(), table, QString::number(key));
        } catch (const db::DbError& error) {
            showError(ctx, QStringLiteral("No se pudo leer el historial de cambios"), error, this);
        }
    }
    flexHistorial_->setRowCount(static_cast<int>(records.size()));
    for (int r = 0; r < static_cast<int>(records.size()); ++r) {
        const db::ChangeRecord& record = records[static_cast<size_t>(r)];
        const QString cells[] = {shownDate(record.fecha), record.usuario, record.accion,
                                 record.detalle};
        for (int c = 0; c < 4; ++c)
            flexHistorial_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    flexHistorial_->resizeColumnsToContents();
    flexHistorial_->resizeRowsToContents();

    QPushButton* close = closeButton(this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(flexHistorial_);
    layout->addLayout(buttons);
}

void showChangeHistory(AppContext& ctx, const QString& caption, const QString& table, int key,
                       QWidget* parent) {
    frmHistorial window(ctx, caption, table, key, parent);
    execModal(ctx, window);
}

} // namespace tarvela
