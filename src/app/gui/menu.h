#pragma once

#include "context/app_context.h"

#include <QMainWindow>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace tarvela {

// The main window "Tarvela - Formulación de raciones al mínimo costo": the version of
// application and database, the three base buttons (btnTipoFormulacion1 Bovinos,
// btnTipoFormulacion2 Porcinos, btnTipoFormulacion3 Aves) and the menu bar from which every
// other window opens. Closing it ends the program.
class menu : public QMainWindow {
    Q_OBJECT

public:
    explicit menu(AppContext& ctx, QWidget* parent = nullptr);

    // The version box, the saved parameters and the current base.
    void loadSession();
    // The first activation lays the pictures out; when start-up failed the window closes.
    void firstActivation();

    // Makes the base current: repaints the buttons, stores it, and after the first layout drops
    // the "&Fórmulas" menu down.
    void selectBase(int index);
    void baseButtonClicked(int index);

    void openFormulaList();
    void openReformulation();
    void openProductionPlan();
    void newIngredient();
    void listIngredients();
    void newNutrient();
    void listNutrients();
    void listGroups(); // "Grupos de Ingredientes"
    void updatePricesFromFile();
    void importComposition();
    void exportComposition();
    void newCustomer();
    void listCustomers();
    void openQuickGuide();
    void openMakerDocument();
    void showAbout();
    void quit();

    QToolButton* baseButton(int index) const;
    // Whether base button index shows its selected picture.
    bool baseSelected(int index) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildMenuBar();
    QMenu* addMenu(QMenu* parent, const QString& name, const QString& caption);
    QAction* addItem(QMenu* parent, const QString& name, const QString& caption, bool enabled);
    void addSeparator(QMenu* parent, const QString& name);
    void paintBaseButton(int index, bool selected);
    void layOut();

    AppContext& ctx_;
    QLineEdit* versionBox_ = nullptr;
    std::array<QToolButton*, 3> baseButtons_{};
    std::array<bool, 3> selected_{};
    QLabel* imgSeleccion_ = nullptr;
    QLabel* imgLogo_ = nullptr;
    QLabel* imgFabricante_ = nullptr;
    QFrame* Line1_ = nullptr;
    bool activated_ = false;
};

} // namespace tarvela
