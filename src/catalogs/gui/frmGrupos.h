#pragma once

#include "catalogs/gui/catalog_list.h"

#include <optional>

class QLineEdit;

namespace tarvela {

// A group of ingredients chosen from the list.
struct PickedGroup {
    int id = 0;
    QString name;
};

// The list "Grupos de Ingredientes": the groups of the current base by name; opens, creates and
// deletes them (a group that formulas use is deleted only after a question naming how many), or
// in pick mode hands one back through chosen().
class frmGrupos : public CatalogList {
    Q_OBJECT

public:
    frmGrupos(AppContext& ctx, ListMode mode, QWidget* parent = nullptr);

    // The group chosen with "Seleccionar" in pick mode; nothing otherwise.
    const std::optional<PickedGroup>& chosen() const { return chosen_; }

protected:
    std::optional<grid::GridPaint> findRows() override;
    void clearCriteria() override;
    void openItem(int key) override;
    bool deleteItem(int key, const QString& name) override;
    void pickItem(int row) override;
    void leaveWithoutChoosing() override { chosen_.reset(); }

private:
    std::optional<PickedGroup> chosen_;
    QLineEdit* Text1_ = nullptr;
};

// The list in pick mode, beside the window that asks.
std::optional<PickedGroup> pickGroup(AppContext& ctx, QWidget* owner);

} // namespace tarvela
