#include "imports/gui/file_import_window.h"

#include "db/keys.h"
#include "files/table_file.h"
#include "imports/base_ingredients.h"
#include "imports/preview_grid.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvela {

FileImportWindow::FileImportWindow(AppContext& ctx, const QString& path, const QString& name,
                                   const QString& caption, QWidget* parent)
    : EditingWindow(ctx, parent), ctx_(ctx), path_(path) {
    setObjectName(name);
    setWindowTitle(caption);
    resize(1180, 560);

    fileLabel_ = new QLabel(QStringLiteral("Archivo: ") + QDir::toNativeSeparators(path), this);
    fileLabel_->setObjectName(QStringLiteral("lblArchivo"));
    sheetCombo_ = new QComboBox(this);
    sheetCombo_->setObjectName(QStringLiteral("cboHoja"));
    sheetCombo_->setMinimumWidth(160);
    sheetLabel_ = new QLabel(QStringLiteral("Hoja"), this);
    countsLabel_ = new QLabel(this);
    countsLabel_->setObjectName(QStringLiteral("lblResumen"));
    countsLabel_->setWordWrap(true);

    applyButton_ = windowButton(this, QStringLiteral("cmdAplicar"), QStringLiteral("Aplicar"));
    cancelButton_ = windowButton(this, QStringLiteral("cmdCancelar"), QStringLiteral("Cancelar"));
    connect(applyButton_, &QPushButton::clicked, this, [this] { applyAndClose(); });
    // "Cancelar" drops the preview: it asks nothing.
    connect(cancelButton_, &QPushButton::clicked, this, [this] { closeDiscarding(); });

    auto* top = new QHBoxLayout;
    top->addWidget(fileLabel_, 1);
    top->addWidget(sheetLabel_);
    top->addWidget(sheetCombo_);
    body_ = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(applyButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(countsLabel_);
    layout->addLayout(body_, 1);
    layout->addLayout(buttons);
    // The sheet choice shows only for a workbook of several sheets.
    sheetLabel_->setVisible(false);
    sheetCombo_->setVisible(false);
    connect(sheetCombo_, &QComboBox::currentIndexChanged, this, [this] { showChosenSheet(); });
}

bool FileImportWindow::load() {
    BusyPointer busy(ctx_.ui());
    const files::TableRead read = files::readTableFile(path_, sheetCombo_->currentText());
    if (sheetCombo_->count() == 0 && read.sheets.size() > 1) {
        const QSignalBlocker block(sheetCombo_);
        sheetCombo_->addItems(read.sheets);
        sheetCombo_->setVisible(true);
        sheetLabel_->setVisible(true);
    }
    QString failure = read.error;
    if (failure.isEmpty()) {
        table_ = read.table;
        failure = preview(table_);
    }
    busy.release();
    loaded_ = failure.isEmpty();
    applyButton_->setEnabled(loaded_);
    if (!loaded_)
        ctx_.ui().message(failure, MsgIcon::Critical);
    return loaded_;
}

void FileImportWindow::showChosenSheet() {
    load();
}

void FileImportWindow::showCounts(const QString& counts) {
    countsLabel_->setText(counts);
}

bool FileImportWindow::refusalsAccepted(int refused, const QString& one, const QString& many,
                                        const QString& rest) {
    if (refused == 0)
        return true;
    return ctx_.ui().question(
        QStringLiteral("Hay %1, que no se %2.\n\n¿Desea aplicar %3? (No: no se aplica ningún "
                       "cambio)")
            .arg(imports::counted(refused, one, many),
                 refused == 1 ? QStringLiteral("aplicará") : QStringLiteral("aplicarán"), rest));
}

bool FileImportWindow::write(const std::function<bool()>& apply) {
    bool stale = false;
    try {
        BusyPointer busy(ctx_.ui());
        stale = apply();
    } catch (const db::KeyError& error) {
        ctx_.ui().message(error.message(), MsgIcon::Critical);
        return false;
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible grabar el Registro"), error, this);
        return false;
    }
    if (stale) {
        ctx_.ui().message(imports::kStalePreview, MsgIcon::Warning);
        load();
        return false;
    }
    return true;
}

QString FileImportWindow::origin() const {
    return QFileInfo(path_).fileName();
}

bool FileImportWindow::saveChanges() {
    applied_ = loaded_ && apply();
    return applied_;
}

void FileImportWindow::applyAndClose() {
    if (saveChanges())
        accept();
}

QStringList tableFileFilters() {
    return {QStringLiteral("Planillas (*.xlsx *.csv)"), QStringLiteral("Libro de Excel (*.xlsx)"),
            QStringLiteral("CSV (delimitado por comas) (*.csv)"),
            QStringLiteral("Todos los archivos (*.*)")};
}

} // namespace tarvela
