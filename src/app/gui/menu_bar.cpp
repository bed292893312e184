#include "app/gui/menu.h"

#include "app/gui/frmacercade.h"
#include "app/help_documents.h"
#include "widgets/modal_launcher.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

// The main window's menu bar and the items that act in this window. The item that has no action
// is shown disabled.
namespace tarvela {

QMenu* menu::addMenu(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* m = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    return m;
}

QAction* menu::addItem(QMenu* parent, const QString& name, const QString& caption, bool enabled) {
    QAction* item = parent->addAction(caption);
    item->setObjectName(name);
    item->setEnabled(enabled);
    return item;
}

void menu::addSeparator(QMenu* parent, const QString& name) {
    parent->addSeparator()->setObjectName(name);
}

void menu::buildMenuBar() {
    menuBar()->setObjectName(QStringLiteral("menuBar"));

    QMenu* datos = addMenu(nullptr, QStringLiteral("datos"), QStringLiteral("&Datos del Sistema"));
    QMenu* productos = addMenu(datos, QStringLiteral("productos"), QStringLiteral("&Ingredientes"));
    connect(
        addItem(productos, QStringLiteral("mnuNueIng"), QStringLiteral("Nuevo Ingrediente"), true),
        &QAction::triggered, this, &menu::newIngredient);
    connect(addItem(productos, QStringLiteral("mnuConIng"), QStringLiteral("Consultas"), true),
            &QAction::triggered, this, &menu::listIngredients);
    addSeparator(datos, QStringLiteral("sep1_1"));
    QMenu* propiedades =
        addMenu(datos, QStringLiteral("propiedades"), QStringLiteral("&Nutrientes"));
    connect(
        addItem(propiedades, QStringLiteral("mnuNUeNut"), QStringLiteral("Nuevo Nutriente"), true),
        &QAction::triggered, this, &menu::newNutrient);
    connect(addItem(propiedades, QStringLiteral("mnuConNut"), QStringLiteral("Consultas"), true),
            &QAction::triggered, this, &menu::listNutrients);
    connect(addItem(datos, QStringLiteral("mnuGrupos"), QStringLiteral("&Grupos de Ingredientes"),
                    true),
            &QAction::triggered, this, &menu::listGroups);
    addSeparator(datos, QStringLiteral("sep_1_2"));
    connect(addItem(datos, QStringLiteral("mnuActPrecios"),
                    QStringLiteral("Actualizar precios desde archivo…"), true),
            &QAction::triggered, this, &menu::updatePricesFromFile);
    connect(addItem(datos, QStringLiteral("mnuImpComposicion"),
                    QStringLiteral("Importar composición…"), true),
            &QAction::triggered, this, &menu::importComposition);
    connect(addItem(datos, QStringLiteral("mnuExpComposicion"),
                    QStringLiteral("Exportar composición…"), true),
            &QAction::triggered, this, &menu::exportComposition);
    addSeparator(datos, QStringLiteral("sep_1_3"));
    connect(addItem(datos, QStringLiteral("mnuSalir2"), QStringLiteral("Salir"), true),
            &QAction::triggered, this, &menu::quit);

    QMenu* formulas = addMenu(nullptr, QStringLiteral("formulas"), QStringLiteral("&Fórmulas"));
    connect(addItem(formulas, QStringLiteral("admformulas"),
                    QStringLiteral("&Administración de Fórmulas"), true),
            &QAction::triggered, this, &menu::openFormulaList);
    connect(addItem(formulas, QStringLiteral("mnuReformular"),
                    QStringLiteral("Reformular Fórmulas"), true),
            &QAction::triggered, this, &menu::openReformulation);
    connect(
        addItem(formulas, QStringLiteral("mnuPlan"), QStringLiteral("Plan de Producción"), true),
        &QAction::triggered, this, &menu::openProductionPlan);
    addSeparator(formulas, QStringLiteral("sep2_1"));
    QMenu* clientes = addMenu(formulas, QStringLiteral("mnuClientes"), QStringLiteral("Clientes"));
    connect(addItem(clientes, QStringLiteral("mnuNuevoCliente"), QStringLiteral("Nuevo"), true),
            &QAction::triggered, this, &menu::newCustomer);
    connect(
        addItem(clientes, QStringLiteral("mnuClienteConsultas"), QStringLiteral("Consultas"), true),
        &QAction::triggered, this, &menu::listCustomers);

    QMenu* utilidades =
        addMenu(nullptr, QStringLiteral("utilidades"), QStringLiteral("&Utilidades"));
    addItem(utilidades, QStringLiteral("base"), QStringLiteral("&Base de Datos"), false);

    QMenu* ayuda = addMenu(nullptr, QStringLiteral("ayuda"), QStringLiteral("&Ayuda"));
    connect(addItem(ayuda, QStringLiteral("guiarapida"),
                    QStringLiteral("Guía Rápida de Formulación"), true),
            &QAction::triggered, this, &menu::openQuickGuide);
    addSeparator(ayuda, QStringLiteral("sepayuda"));
    connect(addItem(ayuda, QStringLiteral("mnuFabricante"), kMakerName, true), &QAction::triggered,
            this, &menu::openMakerDocument);
    connect(addItem(ayuda, QStringLiteral("version"),
                    QStringLiteral("Información sobre la Versión"), true),
            &QAction::triggered, this, &menu::showAbout);

    QAction* salir = menuBar()->addAction(QStringLiteral("&Salir"));
    salir->setObjectName(QStringLiteral("salir"));
    connect(salir, &QAction::triggered, this, &menu::quit);
}

void menu::openQuickGuide() {
    openHelpDocument(ctx_.ui(), ctx_.installDir, kQuickGuideFile);
}

void menu::openMakerDocument() {
    openHelpDocument(ctx_.ui(), ctx_.installDir, kMakerDocumentFile);
}

void menu::showAbout() {
    frmacercade window(this);
    execModal(ctx_, window);
}

void menu::quit() {
    close();
}

} // namespace tarvela
