#include "catalogs/gui/frmGrupos.h"

#include "catalogs/group_catalog.h"
#include "catalogs/gui/frmGrupo.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvela {

frmGrupos::frmGrupos(AppContext& ctx, ListMode mode, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmGrupos"), QStringLiteral("Grupos de Ingredientes"), mode,
                  parent) {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    searchOnEnter(Text1_);
    criteria()->addWidget(new QLabel(QStringLiteral("Nombre"), this), 0, 0);
    criteria()->addWidget(Text1_, 0, 1);
    showPicture(smallSpeciesPicture(ctx_.currentBase));
    finish(Text1_, catalogs::kGrpNombre);
}

std::optional<grid::GridPaint> frmGrupos::findRows() {
    return catalogs::paintGroupList(
        ctx_.db().query(catalogs::groupListStatement(ctx_.currentBase, Text1_->text())));
}

void frmGrupos::clearCriteria() {
    Text1_->clear();
}

void frmGrupos::openItem(int key) {
    frmGrupo window(ctx_, key, ctx_.currentBase, this);
    execModal(ctx_, window);
}

bool frmGrupos::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(catalogs::deleteGroupQuestion(name)))
        return false;
    try {
        const int formulas = catalogs::formulasUsingGroup(ctx_.db(), key);
        if (formulas > 0 && !ctx_.ui().question(catalogs::groupInUseQuestion(name, formulas)))
            return false;
        catalogs::deleteGroup(ctx_.db(), key);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
    }
    return true;
}

void frmGrupos::pickItem(int row) {
    chosen_ = PickedGroup{keyOf(row), cellText(row, catalogs::kGrpNombre).trimmed()};
}

std::optional<PickedGroup> pickGroup(AppContext& ctx, QWidget* owner) {
    frmGrupos list(ctx, ListMode::Pick, owner);
    execModal(ctx, list);
    return list.chosen();
}

} // namespace tarvela
