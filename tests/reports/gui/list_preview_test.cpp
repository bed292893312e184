// The list printouts' preview, as the lists' "Imprimir" buttons open it.
#include "reports/gui/list_preview.h"

#include "support/gui/app_fixture.h"

#include <QPrintPreviewWidget>

namespace tarvela::test {
namespace {

class ListPreview : public AppFixture {
protected:
    // The preview's title and page count, when it opened.
    std::pair<QString, int> preview(const std::function<void()>& print) {
        std::pair<QString, int> seen{QString(), 0};
        launcher.handlers.push_back([&seen](QDialog& dialog) {
            auto* pages = dialog.findChild<QPrintPreviewWidget*>();
            seen = {dialog.windowTitle(), pages ? pages->pageCount() : -1};
        });
        print();
        return seen;
    }
};

TEST_F(ListPreview, EachListRunsItsLastSearchIntoAModalPreview) {
    EXPECT_EQ(preview([&] {
                  printIngredientList(
                      ctx, QStringLiteral("SELECT * FROM productos WHERE nombre LIKE '%d''avena%'"),
                      nullptr);
              }),
              std::make_pair(QStringLiteral("Ingredientes"), 1));
    EXPECT_EQ(preview([&] {
                  printIngredientList(ctx, QStringLiteral("SELECT * FROM productos"), nullptr);
              }),
              std::make_pair(QStringLiteral("Ingredientes"), 2));
    EXPECT_EQ(preview([&] {
                  printNutrientList(ctx, QStringLiteral("SELECT * FROM propiedades"), nullptr);
              }),
              std::make_pair(QStringLiteral("Nutrientes"), 1));
    EXPECT_EQ(launcher.opened,
              QStringList({"repIngredientes", "repIngredientes", "repNutrientes"}));
}

TEST_F(ListPreview, AStatementTheDatabaseRefusesShowsTheErrorWindow) {
    printNutrientList(ctx, QStringLiteral("SELECT * FROM no_existe"), nullptr);
    EXPECT_EQ(launcher.opened, QStringList{"errores"});
}

} // namespace
} // namespace tarvela::test
