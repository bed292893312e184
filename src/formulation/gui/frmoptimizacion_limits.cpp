// The third grid of the formulation window, "Relaciones y Grupos": ratio limits between two
// nutrients and limits on groups of ingredients, added with the nutrient list (numerator, then
// denominator) or the group list, edited over their cells as the nutrient limits are, removed.
#include "formulation/gui/frmoptimizacion.h"

#include "catalogs/gui/frmGrupos.h"
#include "catalogs/gui/pickers.h"
#include "formulation/grid_cells.h"
#include "formulation/gui/cell_overlay.h"
#include "formulation/workspace_editing.h"
#include "grid/gui/grid_painter.h"
#include "text/format.h"
#include "widgets/errores.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace tarvela {

namespace {

using formulation::EditOutcome;
using formulation::EditResult;
using formulation::LimitRowRef;

} // namespace

void frmoptimizacion::buildLimitsTab() {
    auto* tab = new QWidget;
    limitGrid_ = new QTableWidget(tab);
    limitGrid_->setObjectName(QStringLiteral("flexRel"));
    limitGrid_->setGeometry(4, 4, 468, 150);
    setupReadOnlyGrid(*limitGrid_);
    connect(
        addButton(tab, QStringLiteral("cmdRelacion"), QStringLiteral("Relación"), {4, 158, 90, 24}),
        &QPushButton::clicked, this, &frmoptimizacion::addRatio);
    connect(addButton(tab, QStringLiteral("cmdGrupo"), QStringLiteral("Grupo"), {100, 158, 90, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::addGroup);
    connect(addButton(tab, QStringLiteral("cmdQuitarLimite"), QStringLiteral("Quitar"),
                      {196, 158, 90, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::removeLimit);
    const int index = nutrientTabs_->addTab(tab, QStringLiteral("Relaciones y Grupos"));
    // The nutrients' "Agregar" and "Quitar" beside the tabs would read as this grid's own: the
    // tab has its buttons, and those stand aside while it shows.
    connect(nutrientTabs_, &QTabWidget::currentChanged, this, [this, index](int shown) {
        for (const char* name : {"Command4", "Command5"})
            if (auto* button = findChild<QPushButton*>(QString::fromLatin1(name)))
                button->setVisible(shown != index);
    });

    limitBox_ = new CellOverlay(ctx_, *limitGrid_, QStringLiteral("txtRel"));
    connect(limitGrid_, &QTableWidget::cellDoubleClicked, this,
            &frmoptimizacion::limitCellActivated);
    limitGrid_->installEventFilter(this);
}

void frmoptimizacion::repaintLimits() {
    paintGrid(*limitGrid_, formulation::paintFlexRel(model_, displaySeparator(ctx_)));
}

void frmoptimizacion::limitCellActivated(int row, int column) {
    const std::vector<grid::GridColumn>& columns = formulation::flexRelColumns();
    if (row < 0 || column < 0 || column >= static_cast<int>(columns.size()))
        return;
    const QString field = columns[static_cast<size_t>(column)].field;
    if (field != QStringLiteral("minimo") && field != QStringLiteral("maximo"))
        return;
    const bool isMin = field == QStringLiteral("minimo");
    const QChar sep = displaySeparator(ctx_);
    const LimitRowRef ref = formulation::limitRowAt(model_, row + 1);
    if (ref.kind == LimitRowRef::Kind::Ratio) {
        const formulation::RatioRow& r = model_.relaciones[static_cast<size_t>(ref.index)];
        const int num = r.id_num;
        const int den = r.id_den;
        limitBox_->edit(row, column, formulation::editBoxText(isMin ? r.minimo : r.maximo, sep),
                        [this, num, den, field](const QString& text) {
                            const EditResult result =
                                formulation::editRatioLimit(model_, num, den, field, text);
                            if (result.outcome == EditOutcome::Stored)
                                repaintLimits();
                            return edited(result);
                        });
    } else if (ref.kind == LimitRowRef::Kind::Group) {
        const formulation::GroupRow& g = model_.grupos[static_cast<size_t>(ref.index)];
        const int key = g.id_grupo;
        // A group's limits are quantities of the batch the window holds now.
        if (const auto batch = text::parseUserNumber(batchQuantityBox_->text()))
            model_.batchQuantity = *batch;
        limitBox_->edit(row, column, formulation::editBoxText(isMin ? g.minimo : g.maximo, sep),
                        [this, key, field](const QString& text) {
                            const EditResult result =
                                formulation::editGroupLimit(model_, key, field, text);
                            if (result.outcome == EditOutcome::Stored)
                                repaintLimits();
                            return edited(result);
                        });
    }
}

void frmoptimizacion::addRatio() {
    const std::optional<PickedNutrient> numerator =
        pickNutrient(ctx_, this, QStringLiteral("Nutriente del numerador"));
    if (!numerator || numerator->id < 1)
        return;
    const std::optional<PickedNutrient> denominator =
        pickNutrient(ctx_, this, QStringLiteral("Nutriente del denominador"));
    if (!denominator || denominator->id < 1)
        return;
    const formulation::AddResult result = formulation::addRatio(
        model_, numerator->id, numerator->name, denominator->id, denominator->name);
    if (!result.message.isEmpty())
        ctx_.ui().message(result.message, MsgIcon::Critical);
    if (!result.added)
        return;
    recomputeResults();
    limitGrid_->setCurrentCell(static_cast<int>(model_.relaciones.size()) - 1, 3);
    limitGrid_->setFocus();
}

void frmoptimizacion::addGroup() {
    const std::optional<PickedGroup> picked = pickGroup(ctx_, this);
    if (!picked)
        return;
    formulation::AddResult result;
    try {
        result = formulation::addGroup(model_, ctx_.db(), picked->id);
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se encuentra el Grupo"), error);
        return;
    }
    if (!result.message.isEmpty())
        ctx_.ui().message(result.message, MsgIcon::Critical);
    if (!result.added)
        return;
    recomputeResults();
    limitGrid_->setCurrentCell(limitGrid_->rowCount() - 1, 4);
    limitGrid_->setFocus();
}

void frmoptimizacion::removeLimit() {
    const LimitRowRef ref = formulation::limitRowAt(model_, limitGrid_->currentRow() + 1);
    if (ref.kind == LimitRowRef::Kind::Ratio) {
        const formulation::RatioRow r = model_.relaciones[static_cast<size_t>(ref.index)];
        formulation::removeRatio(model_, r.id_num, r.id_den);
    } else if (ref.kind == LimitRowRef::Kind::Group) {
        formulation::removeGroup(model_, model_.grupos[static_cast<size_t>(ref.index)].id_grupo);
    } else {
        return;
    }
    repaintLimits();
}

} // namespace tarvela
