#include "app/gui/frmacercade.h"
#include "app/gui/menu.h"
#include "app/main_layout.h"

#include "support/gui/app_fixture.h"
#include "support/gui/cut_captions.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

class MainWindow : public test::AppFixture {
protected:
    QAction* item(const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
    QVariant storedBase() {
        return ctx.db().query(QStringLiteral("select idBase from parametros")).value(0, 0);
    }

    menu window{ctx};
};

TEST_F(MainWindow, CaptionMenusAndItems) {
    EXPECT_EQ(window.objectName(), QStringLiteral("menu"));
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Tarvela - Formulación de raciones al mínimo costo"));

    QStringList bar;
    for (QAction* a : window.menuBar()->actions())
        bar << a->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(bar, (QStringList{QStringLiteral("datos=&Datos del Sistema"),
                                QStringLiteral("formulas=&Fórmulas"),
                                QStringLiteral("utilidades=&Utilidades"),
                                QStringLiteral("ayuda=&Ayuda"), QStringLiteral("salir=&Salir")}));

    // Each menu's entries in order; "-" marks a separator.
    auto entries = [&](const char* name) {
        QStringList out;
        for (QAction* a : window.findChild<QMenu*>(QString::fromLatin1(name))->actions())
            out << a->objectName() + QLatin1Char('=') +
                       (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    EXPECT_EQ(entries("datos"),
              (QStringList{QStringLiteral("productos=&Ingredientes"), QStringLiteral("sep1_1=-"),
                           QStringLiteral("propiedades=&Nutrientes"),
                           QStringLiteral("mnuGrupos=&Grupos de Ingredientes"),
                           QStringLiteral("sep_1_2=-"),
                           QStringLiteral("mnuActPrecios=Actualizar precios desde archivo…"),
                           QStringLiteral("mnuImpComposicion=Importar composición…"),
                           QStringLiteral("mnuExpComposicion=Exportar composición…"),
                           QStringLiteral("sep_1_3=-"), QStringLiteral("mnuSalir2=Salir")}));
    EXPECT_EQ(entries("productos"), (QStringList{QStringLiteral("mnuNueIng=Nuevo Ingrediente"),
                                                 QStringLiteral("mnuConIng=Consultas")}));
    EXPECT_EQ(entries("propiedades"), (QStringList{QStringLiteral("mnuNUeNut=Nuevo Nutriente"),
                                                   QStringLiteral("mnuConNut=Consultas")}));
    EXPECT_EQ(entries("formulas"),
              (QStringList{QStringLiteral("admformulas=&Administración de Fórmulas"),
                           QStringLiteral("mnuReformular=Reformular Fórmulas"),
                           QStringLiteral("mnuPlan=Plan de Producción"), QStringLiteral("sep2_1=-"),
                           QStringLiteral("mnuClientes=Clientes")}));
    EXPECT_EQ(entries("mnuClientes"),
              (QStringList{QStringLiteral("mnuNuevoCliente=Nuevo"),
                           QStringLiteral("mnuClienteConsultas=Consultas")}));
    EXPECT_EQ(entries("utilidades"), QStringList{QStringLiteral("base=&Base de Datos")});
    const QStringList help = entries("ayuda");
    ASSERT_EQ(help.size(), 4);
    EXPECT_EQ(help[0], QStringLiteral("guiarapida=Guía Rápida de Formulación"));
    EXPECT_EQ(help[1], QStringLiteral("sepayuda=-"));
    EXPECT_EQ(help[3], QStringLiteral("version=Información sobre la Versión"));

    // "&Base de Datos" has no action: it is shown disabled.
    EXPECT_FALSE(item("base")->isEnabled());
    for (const char* name :
         {"mnuNueIng", "mnuConIng", "mnuNUeNut", "mnuConNut", "mnuNuevoCliente",
          "mnuClienteConsultas", "admformulas", "guiarapida", "version", "mnuSalir2", "salir"})
        EXPECT_TRUE(item(name)->isEnabled()) << name;
}

TEST_F(MainWindow, LoadShowsVersionAndSelectsStoredBase) {
    auto* version = window.findChild<QLineEdit*>(QStringLiteral("txtVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), QStringLiteral("0.00.0"));
    EXPECT_TRUE(version->isReadOnly());

    ctx.db().execute(QStringLiteral("update parametros set idBase = 3"));
    window.loadSession();
    EXPECT_EQ(version->text(), QStringLiteral("2.02.1"));
    EXPECT_EQ(ctx.currentBase, 3);
    EXPECT_FALSE(window.baseSelected(1));
    EXPECT_FALSE(window.baseSelected(2));
    EXPECT_TRUE(window.baseSelected(3));
    EXPECT_TRUE(desktop.keys.isEmpty()) << "no menu drops down at start-up";
    window.show();
    EXPECT_EQ(test::cutCaptions(window), "");
}

TEST_F(MainWindow, StoredBaseOutOfRangeLeavesButtonsUnselected) {
    ctx.db().execute(QStringLiteral("update parametros set idBase = 9"));
    window.loadSession();
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(window.baseSelected(i)) << i;
    EXPECT_EQ(ctx.currentBase, 9);
    EXPECT_EQ(storedBase().toInt(), 9);
}

TEST_F(MainWindow, BaseButtonsStoreTheBaseAndDropTheFormulasMenuAfterLayout) {
    window.loadSession();
    EXPECT_FALSE(ctx.layoutDone);
    window.show();
    EXPECT_TRUE(ctx.layoutDone);

    auto* aves = window.findChild<QToolButton*>(QStringLiteral("btnTipoFormulacion3"));
    ASSERT_NE(aves, nullptr);
    EXPECT_EQ(aves->text(), QStringLiteral("Aves"));
    aves->click();
    EXPECT_EQ(ctx.currentBase, 3);
    EXPECT_EQ(storedBase().toInt(), 3);
    EXPECT_TRUE(window.baseSelected(3));
    EXPECT_FALSE(window.baseSelected(1));
    EXPECT_EQ(desktop.keys, QStringList{QStringLiteral("%f")});

    // The selected button again: stored again, menu again.
    ctx.db().execute(QStringLiteral("update parametros set idBase = 1"));
    aves->click();
    EXPECT_EQ(storedBase().toInt(), 3);
    EXPECT_EQ(desktop.keys.size(), 2);

    window.findChild<QToolButton*>(QStringLiteral("btnTipoFormulacion1"))->click();
    EXPECT_EQ(ctx.currentBase, 1);
    EXPECT_TRUE(window.baseSelected(1));
    EXPECT_FALSE(window.baseSelected(3));
}

TEST_F(MainWindow, FirstActivationLaysOutAroundTheCentrePicture) {
    window.loadSession();
    window.show();
    auto* centre = window.findChild<QLabel*>(QStringLiteral("imgSeleccion"));
    ASSERT_NE(centre, nullptr);
    EXPECT_EQ(centre->toolTip(), QStringLiteral("Seleccione la especie para la cual formular"));
    const QSize area = window.centralWidget()->size();
    EXPECT_NEAR(centre->geometry().center().x(), area.width() / 2, 1);

    const QRect b1 = window.baseButton(1)->geometry();
    const QRect b2 = window.baseButton(2)->geometry();
    const QRect b3 = window.baseButton(3)->geometry();
    EXPECT_EQ(b1.right() + 1, centre->x()) << "Bovinos to the left of the centre picture";
    EXPECT_EQ(b2.left(), centre->geometry().right() + 1) << "Porcinos to the right";
    EXPECT_EQ(b3.top(), centre->geometry().bottom() + 1) << "Aves below";
    EXPECT_LT(b2.top(), b1.top());
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("Line1"))->width(), area.width());
}

TEST_F(MainWindow, AboutWindow) {
    QStringList texts;
    launcher.handlers.push_back([&](QDialog& dialog) {
        for (const char* name : {"lblSistema", "lblVersion", "lblFabricante1", "lblFabricante2"})
            texts << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
        EXPECT_EQ(test::cutCaptions(dialog), "");
        dialog.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        EXPECT_FALSE(dialog.isVisible());
    });
    item("version")->trigger();
    EXPECT_EQ(launcher.opened, QStringList{QStringLiteral("frmacercade")});
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral(
                            "Sistema de Administración y Optimización de Fórmulas de Elaboración"));
    EXPECT_EQ(texts[1], QStringLiteral("Versión 2.02.0"));
    EXPECT_FALSE(texts[2].isEmpty());
    EXPECT_FALSE(texts[3].isEmpty());
}

TEST_F(MainWindow, QuickGuideOpeningFailures) {
    item("guiarapida")->trigger();
    EXPECT_EQ(desktop.openedDocuments,
              QStringList{ctx.installDir + QStringLiteral("/guiarapidatarvela.pdf")});
    EXPECT_TRUE(desktop.messages.empty());

    desktop.openResult = 31;
    item("guiarapida")->trigger();
    desktop.openResult = 2;
    item("guiarapida")->trigger();
    desktop.openResult = 0;
    item("mnuFabricante")->trigger();
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("Debe instalar Acrobat Reader para poder visualizar el documento"));
    EXPECT_EQ(desktop.messages[1].text, QStringLiteral("No es posible visualizar el documento"));
    EXPECT_EQ(desktop.messages[2].text, QStringLiteral("No es posible visualizar el documento"));
    for (const auto& m : desktop.messages)
        EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_TRUE(desktop.openedDocuments.last().endsWith(QStringLiteral(".pdf")));
}

TEST_F(MainWindow, BothSalirCloseTheWindow) {
    for (const char* name : {"salir", "mnuSalir2"}) {
        window.show();
        ASSERT_TRUE(window.isVisible());
        item(name)->trigger();
        EXPECT_FALSE(window.isVisible()) << name;
    }
}

TEST_F(MainWindow, FailedStartUpClosesOnActivation) {
    ctx.startupOk = false;
    window.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(ctx.layoutDone);
}

} // namespace
} // namespace tarvela
