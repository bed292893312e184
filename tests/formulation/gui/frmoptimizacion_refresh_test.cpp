// "Actualizar &Precios" and "Actualizar &M.Seca" on a demo formula whose catalog changed.
#include "support/gui/formulation_window_fixture.h"

#include <QAction>

namespace tarvela::test {
namespace {

constexpr int kMatSeca = 2, kPrecio = 4;
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);

int rowOf(const QTableWidget& table, int id) {
    for (int r = 0; r < table.rowCount(); ++r)
        if (table.item(r, 0)->text().toInt() == id)
            return r;
    return -1;
}

TEST_F(FormulationWindowTest, RefreshTakesTheCatalogsPriceAndDryMatter) {
    // Cebada (26) got dearer and drier in the catalog since formula 3 was saved.
    ctx.db().execute("update productos set costo=0.25, materia_seca=90 where id_producto=26");
    auto window = open(3);
    QTableWidget& prod = grid(*window, "flexProd");
    ASSERT_EQ(background(prod, rowOf(prod, 26), kPrecio), kGreen);
    ASSERT_EQ(background(prod, rowOf(prod, 26), kMatSeca), kRed);

    desktop.answers = {false};
    press(*window, "cmdActuPrecios");
    EXPECT_EQ(desktop.messages.back().text,
              QStringLiteral("Confirma la Actualización de los Precios para los Ingredietnes?"));
    EXPECT_EQ(background(prod, rowOf(prod, 26), kPrecio), kGreen);

    const double wet = *window->model().findIngredient(26)->cantidad_humeda;
    desktop.answers = {true, true};
    window->findChild<QAction*>("mnuPrecios")->trigger();
    EXPECT_EQ(text(prod, rowOf(prod, 26), kPrecio), QStringLiteral("$ 0.25"));
    EXPECT_NE(background(prod, rowOf(prod, 26), kPrecio), kGreen);
    press(*window, "cmdActuMSeca");
    EXPECT_EQ(
        desktop.messages.back().text,
        QStringLiteral("Confirma la Actualización de la Materia Seca para los Ingredientes?"));
    EXPECT_NE(background(prod, rowOf(prod, 26), kMatSeca), kRed);
    // Formula 3 is as fed: the as-fed quantity stays, the dry one follows the new dry matter.
    const auto& cebada = *window->model().findIngredient(26);
    EXPECT_DOUBLE_EQ(*cebada.cantidad_humeda, wet);
    EXPECT_DOUBLE_EQ(*cebada.cantidad_seca, wet * 0.9);
    for (const RecordedMessage& m : desktop.messages)
        EXPECT_TRUE(m.isQuestion) << m.text.toStdString();
}

} // namespace
} // namespace tarvela::test
