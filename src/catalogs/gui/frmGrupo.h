#pragma once

#include "catalogs/group_catalog.h"
#include "catalogs/gui/catalog_editor.h"
#include "catalogs/gui/pickers.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tarvela {

// The group window "Grupo de Ingredientes": creates a group of the base (key 0) or edits one, its
// name and its ingredients, added through the ingredient list and removed. Changing the
// ingredients of a group that formulas use asks first: their limits follow the group.
class frmGrupo : public CatalogEditor {
    Q_OBJECT

public:
    frmGrupo(AppContext& ctx, int groupId, int base, QWidget* parent = nullptr);

    bool isNew() const { return groupId_ < 1; }
    const catalogs::GroupRecord& savedValues() const { return savedValues_; }

    void cmdAgregar_Click(); // ingredients from the list, one or several rows at once
    void cmdQuitar_Click();  // the selected ingredient

protected:
    bool changed() const override;
    bool save() override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    catalogs::GroupRecord boxes() const;
    void showMembers();
    // Adds a picked ingredient (one already a member is refused with a message); false when its
    // code could not be read, which stops the adding.
    bool addMember(const PickedIngredient& ingredient);

    int groupId_;
    int base_;
    catalogs::GroupRecord savedValues_;
    // The group's change stamp as read: a save refuses a group changed since.
    QString stamp_;
    std::vector<catalogs::GroupMember> members_;
    QLineEdit* Text1_ = nullptr;
    QTableWidget* flexMiembros_ = nullptr;
    QPushButton* cmdAgregar_ = nullptr;
    QPushButton* cmdQuitar_ = nullptr;
};

} // namespace tarvela
