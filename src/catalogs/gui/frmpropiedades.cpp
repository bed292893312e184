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

frmpropiedades::frmpropiedades(AppContext& ctx, ListMode mode, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmpropiedades"), QStringLiteral("Nutrientes"), mode,
                  parent) {
    descriptionBox_ = new QLineEdit(this);
    descriptionBox_->setObjectName(QStringLiteral("Text1"));
    searchOnEnter(descriptionBox_);
    criteria()->addWidget(new QLabel(QStringLiteral("Descripción"), this), 0, 0);
    criteria()->addWidget(descriptionBox_, 0, 1);
    printButton_ = addButton(QStringLiteral("cmdPrint"), QStringLiteral("Imprimir"));
    connect(printButton_, &QPushButton::clicked, this, &frmpropiedades::print);
    finish(descriptionBox_, catalogs::kNutNombre);
}

std::optional<grid::GridPaint> frmpropiedades::findRows() {
    lastSelect_ = catalogs::nutrientListStatement(descriptionBox_->text());
    return catalogs::paintNutrientList(ctx_.db().query(lastSelect_ + catalogs::kOrderByNombre));
}

void frmpropiedades::clearCriteria() {
    descriptionBox_->clear();
}

void frmpropiedades::openItem(int key) {
    frmpropiedad window(ctx_, key, this);
    execModal(ctx_, window);
}

bool frmpropiedades::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(catalogs::deleteNutrientQuestion(name)))
        return false;
    try {
        // Formulas keep their rows of a deleted nutrient: the user is told which first.
        const QStringList formulas = catalogs::formulasUsingNutrient(ctx_.db(), key);
        if (!formulas.isEmpty() &&
            !ctx_.ui().question(catalogs::nutrientInFormulasQuestion(name, formulas)))
            return false;
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
    picked_ = PickedNutrient{keyOf(row), cellText(row, catalogs::kNutNombre)};
}

void frmpropiedades::leaveWithoutChoosing() {
    picked_.reset();
}

void frmpropiedades::print() {
    if (printButton_->isEnabled() && showsItems())
        printNutrientList(ctx_, lastSelect_, this);
}

} // namespace tarvela
