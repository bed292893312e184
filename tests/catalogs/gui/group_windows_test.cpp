#include "catalogs/gui/frmGrupo.h"
#include "catalogs/gui/frmGrupos.h"
#include "catalogs/gui/frmpropiedades.h"

#include "support/gui/cut_captions.h"
#include "window_driver.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using GroupWindows = CatalogWindows;

constexpr int kName = 1;
constexpr int kMembers = 2;
constexpr int kIngredientName = 2;

QTableWidget* members(QWidget& window) {
    return window.findChild<QTableWidget*>(QStringLiteral("flexMiembros"));
}

// The demo's cattle groups: a new group with ingredients picked from the list, the cereals
// edited (the formula that uses them is named first) and deleted with their limits.
TEST_F(GroupWindows, CreateEditAndDeleteWithTheirFormulas) {
    frmGrupos list(ctx, ListMode::Maintenance);
    open(list);
    EXPECT_EQ(list.windowTitle(), "Grupos de Ingredientes");
    EXPECT_EQ(column(list, kName), QStringList({"Cereales"}));
    EXPECT_EQ(column(list, kMembers), QStringList({"3"}));
    EXPECT_TRUE(child<QPushButton>(list, "cmdSeleccionar")->isHidden());
    EXPECT_EQ(cutCaptions(list), "");

    // A new group: a name and two ingredients from the list; the same one twice is refused.
    const auto pick = [&](const QString& name) {
        launcher.handlers.push_back([this, name](QDialog& ingredients) {
            selectRow(ingredients, kIngredientName, name);
            press(ingredients, "cmdSeleccionar");
        });
    };
    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Grupo de Ingredientes");
        EXPECT_EQ(cutCaptions(window), "");
        box(window, "Text1")->setText("Oleaginosas d'invierno");
        pick("Harina de soja 44%");
        press(window, "cmdAgregar");
        pick("Expeller de soja");
        press(window, "cmdAgregar");
        pick("Expeller de soja");
        press(window, "cmdAgregar");
        EXPECT_EQ(desktop.texts(), QStringList({"El Ingrediente Ya se encuentra en el Grupo"}));
        EXPECT_EQ(members(window)->rowCount(), 2);
        press(window, "cmdUpdate");
    });
    desktop.clear();
    press(list, "cmdAdd");
    EXPECT_EQ(column(list, kName), QStringList({"Cereales", "Oleaginosas d'invierno"}));
    EXPECT_EQ(count("select count(*) from grupo_producto gp, grupos g where gp.id_grupo="
                    "g.id_grupo and g.nombre='Oleaginosas d''invierno' and g.idBase=1"),
              2);

    // The cereals' ingredients change: the feedlot formula's limit follows them, so it asks.
    selectRow(list, kName, "Cereales");
    launcher.handlers.push_back([&](QDialog& window) {
        EXPECT_EQ(members(window)->rowCount(), 3);
        members(window)->setCurrentCell(2, 1);
        press(window, "cmdQuitar");
        desktop.answers = {true};
        press(window, "cmdUpdate");
    });
    desktop.clear();
    press(list, "cmdEditar");
    EXPECT_EQ(desktop.texts(),
              QStringList({"El Grupo << Cereales >> se usa en 1 fórmula\n\nSus límites valdrán "
                           "para los ingredientes del grupo tal como quede. ¿Confirma los "
                           "cambios?"}));
    EXPECT_EQ(column(list, kMembers), QStringList({"2", "2"}));

    // Deleted after both questions, with the formula's limit on it.
    desktop.clear();
    desktop.answers = {true, true};
    press(list, "cmdDelete");
    EXPECT_EQ(desktop.texts().size(), 2);
    EXPECT_EQ(column(list, kName), QStringList({"Oleaginosas d'invierno"}));
    EXPECT_EQ(count("select count(*) from formula_grupo"), 0);
    EXPECT_EQ(count("select count(*) from grupo_producto where id_grupo=1"), 0);
}

// A nutrient of a ratio limit is deleted only after a question naming the formulas that hold
// it, and their ratio limits go with it.
TEST_F(GroupWindows, DeletingANutrientOfARatioNamesItsFormulas) {
    frmpropiedades list(ctx, ListMode::Maintenance);
    open(list);
    selectRow(list, kName, "Fósforo Disponible");
    // The deletion, the formulas holding it as a limit, its composition rows, then its ratios.
    desktop.answers = {true, true, true, false};
    press(list, "cmdDelete");
    ASSERT_EQ(desktop.texts().size(), 4);
    EXPECT_EQ(desktop.texts()[3],
              "El Nutriente << Fósforo Disponible >> forma parte de relaciones en 1 fórmula\n\n"
              "Esas relaciones se quitarán de las fórmulas. ¿Confirma la Eliminación del "
              "Nutriente?");
    EXPECT_EQ(count("select count(*) from formula_relacion"), 2);
    desktop.clear();
    desktop.answers = {true, true, true, true};
    press(list, "cmdDelete");
    EXPECT_EQ(count("select count(*) from formula_relacion where id_propiedad_den=11"), 0);
    EXPECT_EQ(count("select count(*) from formula_relacion"), 1);
    EXPECT_EQ(count("select count(*) from propiedades where id_propiedad=11"), 0);
}

// A group closed with a member removed asks, by any means of closing: Cancelar stays, Sí saves
// (after the question of the formula that uses it).
TEST_F(GroupWindows, ClosingWithUnsavedChangesAsks) {
    frmGrupo window(ctx, 1, 1);
    open(window);
    members(window)->setCurrentCell(0, 1);
    press(window, "cmdQuitar");
    desktop.choices = {Answer::Cancel};
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(desktop.texts(), QStringList({"¿Desea Grabar las Modificaciones?"}));
    EXPECT_EQ(count("select count(*) from grupo_producto where id_grupo=1"), 3);

    // Several rows picked at once enter together; one already a member is refused alone.
    launcher.handlers.push_back([this](QDialog& ingredients) {
        selectRow(ingredients, kIngredientName, "Expeller de soja");
        const int other =
            static_cast<int>(column(ingredients, kIngredientName).indexOf("Harina de soja 44%"));
        grid(ingredients)
            ->selectionModel()
            ->select(grid(ingredients)->model()->index(other, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        press(ingredients, "cmdSeleccionar");
    });
    press(window, "cmdAgregar");
    EXPECT_EQ(members(window)->rowCount(), 4);

    desktop.clear();
    desktop.choices = {Answer::Yes};
    desktop.answers = {true};
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(desktop.texts().front(), "¿Desea Grabar las Modificaciones?");
    EXPECT_EQ(count("select count(*) from grupo_producto where id_grupo=1"), 4);
}

// In pick mode the list hands back the group chosen, and nothing when closed.
TEST_F(GroupWindows, PickModeReturnsTheChoice) {
    launcher.handlers.push_back([&](QDialog& groups) {
        EXPECT_FALSE(child<QPushButton>(groups, "cmdSeleccionar")->isHidden());
        selectRow(groups, kName, "Cereales");
        press(groups, "cmdSeleccionar");
    });
    const std::optional<PickedGroup> picked = pickGroup(ctx, nullptr);
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->id, 1);
    EXPECT_EQ(picked->name, "Cereales");
    launcher.handlers.push_back([](QDialog& groups) { groups.close(); });
    EXPECT_FALSE(pickGroup(ctx, nullptr));
}

} // namespace
} // namespace tarvela::test
