#include "reports/gui/list_preview.h"

#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QDate>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>

namespace tarvela {

namespace {

void printStatement(AppContext& ctx, const reports::ListLayout& layout, const QString& sql,
                    QWidget* parent) {
    db::Result rows;
    try {
        BusyPointer busy(ctx.ui());
        rows = ctx.db().query(sql);
    } catch (const db::DbError& error) {
        showError(ctx, QStringLiteral("No es posible obtener los datos del listado"), error,
                  parent);
        return;
    }
    previewList(ctx, layout, rows, parent);
}

} // namespace

void previewList(AppContext& ctx, const reports::ListLayout& layout, const db::Result& rows,
                 QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
    printer.setDocName(layout.title);

    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(layout.name);
    preview.setWindowTitle(layout.title);
    // Big enough to read a page, within the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() * 0.9;
        preview.resize(std::min(room.width(), 900), std::min(room.height(), 1000));
    }
    const QDate today = QDate::currentDate();
    const QChar separator = displaySeparator(ctx);
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview,
        [&](QPrinter* device) { reports::printList(*device, layout, rows, today, separator); });
    execModal(ctx, preview);
}

void printIngredientList(AppContext& ctx, const QString& lastSelect, QWidget* parent) {
    printStatement(ctx, reports::ingredientListLayout(), reports::catalogListStatement(lastSelect),
                   parent);
}

void printNutrientList(AppContext& ctx, const QString& lastSelect, QWidget* parent) {
    printStatement(ctx, reports::nutrientListLayout(), reports::catalogListStatement(lastSelect),
                   parent);
}

void printFormulaList(AppContext& ctx, const QString& lastSearchSql, QWidget* parent) {
    printStatement(ctx, reports::formulaListLayout(), lastSearchSql, parent);
}

} // namespace tarvela
