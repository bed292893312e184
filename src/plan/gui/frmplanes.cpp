#include "plan/gui/frmplanes.h"

#include "plan/gui/frmplan.h"
#include "plan/plan_grids.h"
#include "plan/plan_store.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvela {

frmplanes::frmplanes(AppContext& ctx, QWidget* parent)
    : CatalogList(ctx, QStringLiteral("frmplanes"), QStringLiteral("Plan de Producción"),
                  ListMode::Maintenance, parent) {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    searchOnEnter(Text1_);
    criteria()->addWidget(new QLabel(QStringLiteral("Nombre"), this), 0, 0);
    criteria()->addWidget(Text1_, 0, 1);
    showPicture(smallSpeciesPicture(ctx_.currentBase));
    finish(Text1_, 1);
}

std::optional<grid::GridPaint> frmplanes::findRows() {
    std::vector<plan::PlanListRow> rows = plan::listPlans(ctx_.db(), ctx_.currentBase);
    const QString wanted = Text1_->text().trimmed();
    if (!wanted.isEmpty())
        std::erase_if(rows, [&](const plan::PlanListRow& row) {
            return !row.nombre.contains(wanted, Qt::CaseInsensitive);
        });
    return plan::planListGrid(rows);
}

void frmplanes::clearCriteria() {
    Text1_->clear();
}

void frmplanes::openItem(int key) {
    frmplan window(ctx_, key, this);
    execModal(ctx_, window);
}

bool frmplanes::deleteItem(int key, const QString& name) {
    if (!ctx_.ui().question(QStringLiteral("Desea eliminar el plan ") + name +
                            QStringLiteral(" con sus fórmulas y existencias?")))
        return false;
    try {
        plan::deletePlan(ctx_.db(), key);
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No es posible eliminar el Registro"), error, this);
    }
    return true;
}

} // namespace tarvela
