#include "catalogs/gui/frmpropiedades.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/group_catalog.h"
#include "catalogs/gui/frmpropiedad.h"
#include "catalogs/list_grids.h"
#include "catalogs/nutrient_catalog.h"
#include "reports/gui/list_preview.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvela {

frmpropiedades::frmpropiedades(AppContext& ctx, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmpropiedades"), QStringLiteral("Nutrientes"), parent),
      pickMode_(ctx.listMode == QStringLiteral("BUSCAR")) {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    searchOnEnter(Text1_);
    criteria()->addWidget(new QLabel(QStringLiteral("Descripción"), this), 0, 0);
    criteria()->addWidget(Text1_, 0, 1);
    cmdPrint_ = addButton(QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    connect(cmdPrint_, &QPushButton::clicked, this, &frmpropiedades::cmdPrint_Click);
    finish(Text1_, catalogs::kNutNombre);
}

std::optional<grid::GridPaint> frmpropiedades::findRows() {
    lastSelect_ = catalogs::nutrientListStatement(Text1_->text());
    return catalogs::paintNutrientList(ctx_.db().query(lastSelect_ + catalogs::kOrderByNombre));
}

void frmpropiedades::clearCriteria() {
    Text1_->clear();
}

void frmpropiedades::openItem(int key) {
    ctx_.currentPropertyId = static_cast<qint16>(key);
    frmpropiedad window(ctx_, this);
    execModal(ctx_, window);
}

bool frmpropiedades::deleteItem(int key, const QString& name) {
    ctx_.currentPropertyId = static_cast<qint16>(key);
    if (!ctx_.ui().question(catalogs::deleteNutrientQuestion(name)))
        return false;
    try {
        if (catalogs::nutrientHasIngredients(ctx_.db(), key) &&
            !ctx_.ui().question(catalogs::nutrientInUseQuestion(name)))
            return false;
        const int ratios = catalogs::formulasWithRatioOf(ctx_.db(), key);
        if (ratios > 0 && !ctx_.ui().question(catalogs::nutrientInRatiosQuestion(name, ratios)))
            return false;
        catalogs::deleteNutrient(ctx_.db(), key);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
    }
    return true;
}

void frmpropiedades::pickItem(int row) {
    ctx_.currentPropertyId = static_cast<qint16>(keyOf(row));
    ctx_.currentPropertyName = cellText(row, catalogs::kNutNombre);
}

void frmpropiedades::leaveWithoutChoosing() {
    ctx_.currentPropertyId = 0;
}

void frmpropiedades::cmdPrint_Click() {
    if (cmdPrint_->isEnabled() && showsItems())
        printNutrientList(ctx_, lastSelect_, this);
}

} // namespace tarvela
