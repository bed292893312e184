#include "imports/gui/frmImportarComposicion.h"

#include "imports/composition_preview_grids.h"
#include "imports/gui/preview_view.h"

#include <QDateTime>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tarvela {

namespace {

// The lists, in the order of their tabs.
enum Tab { kNewIngredients, kNewNutrients, kChanged, kUnchanged, kRefused };

const char* const kViewNames[] = {"flexNuevosIngredientes", "flexNuevosNutrientes", "flexCambiados",
                                  "flexSinCambios", "flexRechazados"};
const char* const kTabCaptions[] = {"Ingredientes nuevos", "Nutrientes nuevos", "Valores cambiados",
                                    "Sin cambios", "Rechazados"};

} // namespace

frmImportarComposicion::frmImportarComposicion(AppContext& ctx, const QString& path,
                                               QWidget* parent)
    : FileImportWindow(ctx, path, QStringLiteral("frmImportarComposicion"),
                       QStringLiteral("Importar composición"), parent) {
    listTabs_ = new QTabWidget(this);
    listTabs_->setObjectName(QStringLiteral("tabVista"));
    for (size_t t = 0; t < views_.size(); ++t) {
        views_[t] = new PreviewTable(listTabs_, QString::fromLatin1(kViewNames[t]));
        listTabs_->addTab(views_[t], QString::fromUtf8(kTabCaptions[t]));
    }
    body()->addWidget(listTabs_);
    load();
}

QString frmImportarComposicion::preview(const files::Table& table) {
    // The lists shown read preview_ (and "Aplicar" file_): both change only together, for a
    // preview that replaces them.
    imports::CompositionFile file = imports::readCompositionFile(table);
    if (!file.error.isEmpty())
        return file.error;
    try {
        preview_ = imports::previewComposition(ctx_.db(), ctx_.currentBase, file);
    } catch (const db::DbError& error) {
        return error.description();
    }
    file_ = std::move(file);
    const QChar sep = displaySeparator(ctx_);
    const std::array<imports::PreviewGrid, 5> grids = {
        imports::newIngredientsGrid(preview_, sep), imports::newNutrientsGrid(preview_),
        imports::valuesGrid(preview_, true, sep), imports::valuesGrid(preview_, false, sep),
        imports::refusedGrid(preview_)};
    for (size_t t = 0; t < grids.size(); ++t) {
        listTabs_->setTabText(static_cast<int>(t), QStringLiteral("%1 (%2)")
                                                       .arg(QString::fromUtf8(kTabCaptions[t]))
                                                       .arg(grids[t].rowCount));
        views_[t]->showGrid(grids[t]);
    }
    // The first list that says something is shown first.
    for (size_t t = 0; t < grids.size(); ++t)
        if (grids[t].rowCount > 0 && t != kUnchanged) {
            listTabs_->setCurrentIndex(static_cast<int>(t));
            break;
        }
    showCounts(imports::compositionPreviewCounts(preview_));
    return {};
}

bool frmImportarComposicion::apply() {
    // A table whose every cell is refused or unchanged has nothing to ask about.
    if (!preview_.hasChanges()) {
        ctx_.ui().message(QStringLiteral("No hay cambios que aplicar."), MsgIcon::Information);
        return false;
    }
    if (!refusalsAccepted(static_cast<int>(preview_.refused.size()),
                          QStringLiteral("celda rechazada"), QStringLiteral("celdas rechazadas"),
                          QStringLiteral("el resto")))
        return false;
    imports::CompositionApplication done;
    if (!write([&] {
            done = imports::applyComposition(ctx_.db(), ctx_.currentBase, file_, preview_, origin(),
                                             QDateTime::currentDateTime());
            return done.stale;
        }))
        return false;
    ctx_.ui().message(
        QStringLiteral("Se aplicó la composición: %1, %2, %3.")
            .arg(imports::counted(done.newIngredients, QStringLiteral("ingrediente nuevo"),
                                  QStringLiteral("ingredientes nuevos")),
                 imports::counted(done.newNutrients, QStringLiteral("nutriente nuevo"),
                                  QStringLiteral("nutrientes nuevos")),
                 imports::counted(done.changedValues, QStringLiteral("valor cambiado"),
                                  QStringLiteral("valores cambiados"))),
        MsgIcon::Information);
    return true;
}

} // namespace tarvela
