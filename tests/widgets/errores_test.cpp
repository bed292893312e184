#include "widgets/errores.h"

#include "support/gui/app_fixture.h"
#include "support/gui/cut_captions.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using ErrorWindow = test::AppFixture;

TEST_F(ErrorWindow, DetalleShowsNumberAndDescriptionThenCloses) {
    bool closed = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tarvela"));
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtMensaje"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("No es posible grabar el Registro"));
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_EQ(test::cutCaptions(dialog), "");
        dialog.findChild<QPushButton*>(QStringLiteral("cmdDetalle"))->click();
        closed = !dialog.isVisible();
    });
    showError(ctx, QStringLiteral("No es posible grabar el Registro"),
              db::DbError(19, QStringLiteral("UNIQUE constraint failed")));
    EXPECT_EQ(launcher.opened, QStringList{QStringLiteral("errores")});
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("Código del error: 19\n\nDescripción : UNIQUE constraint failed"));
    EXPECT_EQ(desktop.messages[0].title, QStringLiteral("Información del error"));
    EXPECT_TRUE(closed);
}

// A database kept busy by another user is explained at once, not only behind "Detalle".
TEST_F(ErrorWindow, ADatabaseInUseIsToldInTheMessage) {
    const QString inUse = QStringLiteral("La base de datos está en uso por otro usuario; no se "
                                         "realizó ningún cambio. Intente nuevamente en unos "
                                         "momentos.");
    QString shown;
    launcher.handlers.push_back([&](QDialog& dialog) {
        shown = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtMensaje"))->toPlainText();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
    });
    showError(ctx, QStringLiteral("No es posible grabar el Registro"), db::DbError(5, inUse));
    EXPECT_EQ(shown, QStringLiteral("No es posible grabar el Registro\n\n") + inUse);
}

TEST_F(ErrorWindow, AceptarClosesWithoutDetail) {
    bool closed = false;
    launcher.handlers.push_back([&](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("cmdAceptar"))->click();
        closed = !dialog.isVisible();
    });
    showError(ctx, QStringLiteral("No es posible eliminar el Registro"),
              db::DbError(1, QStringLiteral("x")));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(desktop.messages.empty());
}

} // namespace
} // namespace tarvela
