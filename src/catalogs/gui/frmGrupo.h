#pragma once

#include "catalogs/group_catalog.h"
#include "catalogs/gui/catalog_editor.h"

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

    void cmdAgregar_Click(); // an ingredient from the list
    void cmdQuitar_Click();  // the selected ingredient

protected:
    bool changed() const override;
    bool save() override;
    void restore() override;
    void showEvent(QShowEvent* event) override;

private:
    catalogs::GroupRecord boxes() const;
    void showMembers();

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
