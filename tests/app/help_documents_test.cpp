#include "app/help_documents.h"
#include "app/main_layout.h"

#include "support/scripted_desktop.h"

#include <gtest/gtest.h>

namespace tarvela {
namespace {

TEST(HelpDocuments, OpensFromTheInstallationFolderAndWarnsOnFailure) {
    test::ScriptedDesktop desktop;
    desktop.openResult = 42;
    openHelpDocument(desktop, QStringLiteral("/opt/TarvelaN"), kQuickGuideFile);
    EXPECT_EQ(desktop.openedDocuments,
              QStringList{QStringLiteral("/opt/TarvelaN/guiarapidatarvela.pdf")});
    EXPECT_TRUE(desktop.messages.empty());

    desktop.openResult = 31;
    openHelpDocument(desktop, QStringLiteral("/opt/TarvelaN"), kQuickGuideFile);
    desktop.openResult = 2;
    openHelpDocument(desktop, QStringLiteral("/opt/TarvelaN"), kMakerDocumentFile);
    desktop.openResult = 32;
    openHelpDocument(desktop, QStringLiteral("/opt/TarvelaN"), kQuickGuideFile);
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0].text,
              QStringLiteral("Debe instalar Acrobat Reader para poder visualizar el documento"));
    EXPECT_EQ(desktop.messages[1].text, QStringLiteral("No es posible visualizar el documento"));
    EXPECT_EQ(desktop.messages[2].text, QStringLiteral("No es posible visualizar el documento"));
    for (const auto& m : desktop.messages)
        EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_EQ(desktop.openedDocuments.at(2), QStringLiteral("/opt/TarvelaN/") + kMakerDocumentFile);
}

TEST(MainLayout, FirstActivationPositionsInTwips) {
    // 800 x 600 pixels is 12000 x 9000 twips; the centre is (6000, 4000).
    MainLayoutInput in;
    in.window = QSize(800, 600);
    in.makerLogo = QSize(150, 60);
    in.selection = QSize(200, 200);
    in.buttons = {QSize(160, 150), QSize(160, 150), QSize(160, 150)};
    const MainLayout out = computeMainLayout(in);
    EXPECT_EQ(out.makerLogo, QRect(590, 440, 150, 60));   // 900 and 1500 twips from the edges
    EXPECT_EQ(out.selection, QRect(300, 167, 200, 200));  // centred on (6000, 4000)
    EXPECT_EQ(out.buttons[0], QRect(140, 145, 160, 150)); // left, 700 twips up
    EXPECT_EQ(out.buttons[1], QRect(500, 112, 160, 150)); // right, 1200 twips up
    EXPECT_EQ(out.buttons[2], QRect(333, 367, 160, 150)); // below, 500 twips right
    EXPECT_EQ(out.lineWidth, 800);

    // An odd width: the centre is rounded to whole twips.
    in.window = QSize(801, 601);
    const MainLayout odd = computeMainLayout(in);
    EXPECT_EQ(odd.selection.center().x(), 400);
}

} // namespace
} // namespace tarvela
