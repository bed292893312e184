#include "imports/gui/catalog_file_actions.h"

#include "imports/composition_export.h"
#include "imports/gui/frmImportarComposicion.h"
#include "imports/gui/frmImportarPrecios.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QDir>
#include <QFileInfo>

namespace tarvela {

namespace {

QString chosenFile(AppContext& ctx, const QString& title) {
    QString name = ctx.ui().openFileName(title, tableFileFilters());
    name.remove(QChar(0));
    return name.trimmed();
}

template <typename Window> void openImport(AppContext& ctx, QWidget* parent, const QString& title) {
    const QString path = chosenFile(ctx, title);
    if (path.isEmpty())
        return;
    Window window(ctx, path, parent);
    if (window.loaded())
        execModal(ctx, window);
}

} // namespace

void importPricesFromFile(AppContext& ctx, QWidget* parent) {
    openImport<frmImportarPrecios>(ctx, parent, QStringLiteral("Actualizar precios desde archivo"));
}

void importCompositionFromFile(AppContext& ctx, QWidget* parent) {
    openImport<frmImportarComposicion>(ctx, parent, QStringLiteral("Importar composición"));
}

void exportCompositionToFile(AppContext& ctx, QWidget* parent) {
    QString name = ctx.ui().saveFileName(QStringLiteral("Exportar composición"),
                                         {QStringLiteral("Libro de Excel (*.xlsx)"),
                                          QStringLiteral("CSV (delimitado por comas) (*.csv)")});
    name.remove(QChar(0));
    name = name.trimmed();
    if (name.isEmpty())
        return;
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        name += QStringLiteral(".xlsx");
    if (QFileInfo::exists(name) &&
        !ctx.ui().question(QStringLiteral("El archivo ") + QDir::toNativeSeparators(name) +
                           QStringLiteral(" ya existe.\n¿Desea reemplazarlo?")))
        return;
    QString failure;
    try {
        BusyPointer busy(ctx.ui());
        failure =
            imports::exportComposition(ctx.db(), ctx.currentBase, name, displaySeparator(ctx));
    } catch (const db::DbError& error) {
        showError(ctx, QStringLiteral("No es posible exportar la composición"), error, parent);
        return;
    }
    if (!failure.isEmpty())
        ctx.ui().message(failure, MsgIcon::Critical);
    else
        ctx.ui().message(QStringLiteral("Archivo generado."), MsgIcon::Information);
}

} // namespace tarvela
