#include "catalogs/gui/frmGrupo.h"

#include "catalogs/gui/pickers.h"
#include "db/statements.h"
#include "grid/gui/grid_painter.h"
#include "widgets/errores.h"
#include "widgets/window_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace tarvela {

frmGrupo::frmGrupo(AppContext& ctx, int groupId, int base, QWidget* parent)
    : CatalogEditor(ctx, QStringLiteral("frmGrupo"), QStringLiteral("Grupo de Ingredientes"),
                    parent),
      groupId_(groupId), base_(base) {
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setMinimumWidth(320);
    moveOnWithEnter(Text1_);
    flexMiembros_ = new QTableWidget(this);
    flexMiembros_->setObjectName(QStringLiteral("flexMiembros"));
    flexMiembros_->setMinimumSize(420, 220);
    setupReadOnlyGrid(*flexMiembros_);
    // Each added button goes right after "Cancelar": "Agregar" ends up before "Quitar".
    cmdQuitar_ = addButton(QStringLiteral("cmdQuitar"), QStringLiteral("Quitar"));
    cmdAgregar_ = addButton(QStringLiteral("cmdAgregar"), QStringLiteral("Agregar"));
    connect(cmdAgregar_, &QPushButton::clicked, this, &frmGrupo::cmdAgregar_Click);
    connect(cmdQuitar_, &QPushButton::clicked, this, &frmGrupo::cmdQuitar_Click);
    fields()->addWidget(new QLabel(QStringLiteral("Nombre"), this), 0, 0);
    fields()->addWidget(Text1_, 0, 1);
    fields()->addWidget(new QLabel(QStringLiteral("Ingredientes"), this), 1, 0, Qt::AlignTop);
    fields()->addWidget(flexMiembros_, 1, 1);
    addHistoryButton(
        QStringLiteral("grupos"), [this] { return isNew() ? 0 : groupId_; },
        [this] { return Text1_->text().trimmed(); });

    if (!isNew()) {
        try {
            stamp_ = catalogs::groupStamp(ctx_.db(), groupId_);
            if (const auto group = catalogs::loadGroup(ctx_.db(), groupId_))
                savedValues_ = *group;
            else
                ctx_.ui().message(QStringLiteral("No se encuentra el Grupo"), MsgIcon::Critical);
        } catch (const db::DbError& error) {
            showError(ctx_, QStringLiteral("No se encuentra el Grupo"), error, this);
        }
    }
    restore();
}

catalogs::GroupRecord frmGrupo::boxes() const {
    return {Text1_->text(), members_};
}

void frmGrupo::showMembers() {
    paintGrid(*flexMiembros_, catalogs::paintGroupMembers(members_));
    cmdQuitar_->setEnabled(!members_.empty());
}

void frmGrupo::cmdAgregar_Click() {
    for (const PickedIngredient& picked : pickIngredients(ctx_, this))
        if (picked.id > 0 && !addMember(picked))
            break;
}

bool frmGrupo::addMember(const PickedIngredient& ingredient) {
    const PickedIngredient* picked = &ingredient;
    if (std::any_of(members_.begin(), members_.end(),
                    [&](const catalogs::GroupMember& m) { return m.id_producto == picked->id; })) {
        ctx_.ui().message(QStringLiteral("El Ingrediente Ya se encuentra en el Grupo"),
                          MsgIcon::Critical);
        return true;
    }
    QString codigo;
    try {
        const db::Result row =
            ctx_.db().query(QStringLiteral("select codigo from productos where id_producto=") +
                            db::sqlInt(picked->id));
        if (!row.isEmpty())
            codigo = row.value(0, 0).toString().trimmed();
    } catch (const db::DbError& error) {
        showError(ctx_, QStringLiteral("No se encuentra el Ingrediente"), error, this);
        return false;
    }
    members_.push_back({picked->id, codigo, picked->name});
    showMembers();
    flexMiembros_->selectRow(static_cast<int>(members_.size()) - 1);
    return true;
}

void frmGrupo::cmdQuitar_Click() {
    const int row = flexMiembros_->currentRow();
    if (row < 0 || row >= static_cast<int>(members_.size()))
        return;
    members_.erase(members_.begin() + row);
    showMembers();
}

bool frmGrupo::changed() const {
    return boxes() != savedValues_;
}

bool frmGrupo::save() {
    const catalogs::GroupRecord group = boxes();
    const auto check = catalogs::checkGroup(group);
    if (!check.passed()) {
        ctx_.ui().message(check.message, MsgIcon::Critical);
        Text1_->setFocus();
        return false;
    }
    if (!isNew() && group.miembros != savedValues_.miembros) {
        try {
            const int formulas = catalogs::formulasUsingGroup(ctx_.db(), groupId_);
            if (formulas > 0 && !ctx_.ui().question(catalogs::groupMembersChangeQuestion(
                                    group.nombre.trimmed(), formulas)))
                return false;
        } catch (const db::DbError& error) {
            showError(ctx_, QStringLiteral("No es posible grabar el Registro"), error, this);
            return false;
        }
    }
    const bool stored = store([&] {
        if (!isNew())
            catalogs::updateGroup(ctx_.db(), groupId_, group, stamp_);
        else
            groupId_ = catalogs::createGroup(ctx_.db(), base_, group);
        stamp_ = catalogs::groupStamp(ctx_.db(), groupId_);
        return Store::Done;
    });
    if (!stored)
        return false;
    savedValues_ = group;
    return true;
}

void frmGrupo::restore() {
    Text1_->setText(savedValues_.nombre);
    members_ = savedValues_.miembros;
    showMembers();
}

void frmGrupo::showEvent(QShowEvent* event) {
    CatalogEditor::showEvent(event);
    Text1_->setFocus();
}

} // namespace tarvela
