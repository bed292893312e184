// The formula list's printout and the comparison of marked formulas.
#include "formulas/gui/frmformulas.h"

#include "support/document_reading.h"
#include "support/gui/app_fixture.h"

#include <QCheckBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

const QString kUnmarked = QStringLiteral("\u2610");
const QString kMarked = QStringLiteral("\u2611");

class FormulaListOutput : public AppFixture {
protected:
    static QTableWidget& grid(QWidget& window) {
        return *window.findChild<QTableWidget*>("flexgrid1");
    }
    static QCheckBox& marking(QWidget& window) {
        return *window.findChild<QCheckBox*>("chkComparar");
    }
    static QPushButton& button(QWidget& window, const char* name) {
        return *window.findChild<QPushButton*>(name);
    }
    static int rowOf(QTableWidget& g, const QString& code) {
        for (int r = 0; r < g.rowCount(); ++r)
            if (g.item(r, 1)->text() == code)
                return r;
        ADD_FAILURE() << code.toStdString();
        return -1;
    }
};

TEST_F(FormulaListOutput, MarksAddAColumnAndToggleWithAClick) {
    frmformulas window(ctx, opener());
    window.show();
    QTableWidget& g = grid(window);
    marking(window).click();
    EXPECT_EQ(g.columnCount(), 9);
    EXPECT_EQ(g.columnWidth(8), 500 / 15);
    EXPECT_EQ(g.columnWidth(7), 1000 / 15);
    EXPECT_EQ(g.horizontalHeaderItem(8)->text(), QString());
    for (int r = 0; r < g.rowCount(); ++r) {
        EXPECT_EQ(g.item(r, 8)->text(), kUnmarked);
        EXPECT_EQ(g.item(r, 8)->font().pointSize(), 13);
    }
    EXPECT_FALSE(button(window, "cmdComparar").isHidden());

    window.toggleMark(0, 8);
    EXPECT_EQ(g.item(0, 8)->text(), kMarked);
    EXPECT_EQ(g.item(0, 2)->background().color(), g.palette().highlight().color());
    window.toggleMark(0, 2); // another column does not mark
    EXPECT_EQ(g.item(0, 8)->text(), kMarked);
    window.toggleMark(0, 8);
    EXPECT_EQ(g.item(0, 8)->text(), kUnmarked);
    EXPECT_EQ(g.item(0, 2)->background().color(), g.palette().base().color());

    // Clearing the check box searches again: no marks, no "Comparar".
    marking(window).click();
    EXPECT_EQ(g.columnCount(), 8);
    EXPECT_TRUE(button(window, "cmdComparar").isHidden());
    EXPECT_FALSE(marking(window).isChecked());
}

// "Comparar" writes a new workbook of the marked versions each time, and the marks stay.
TEST_F(FormulaListOutput, CompareWritesTheMarkedFormulasSideBySide) {
    frmformulas window(ctx, opener());
    window.show();
    QTableWidget& g = grid(window);
    marking(window).click();
    window.toggleMark(rowOf(g, QStringLiteral("1002")), 8);
    window.toggleMark(rowOf(g, QStringLiteral("1001")), 8);
    button(window, "cmdComparar").click();
    button(window, "cmdComparar").click();
    ASSERT_EQ(desktop.openedDocuments.size(), 2);
    EXPECT_EQ(QFileInfo(desktop.openedDocuments[0]).fileName(),
              QStringLiteral("Comparación de fórmulas.xlsx"));
    EXPECT_EQ(QFileInfo(desktop.openedDocuments[1]).fileName(),
              QStringLiteral("Comparación de fórmulas (2).xlsx"));
    const QString strings = QString::fromUtf8(
        zipEntry(desktop.openedDocuments[1], QStringLiteral("xl/sharedStrings.xml")));
    // In list order (most recently modified first), each with its version and product.
    const qsizetype first = strings.indexOf(g.item(0, 1)->text());
    const qsizetype second = strings.indexOf(g.item(1, 1)->text());
    EXPECT_TRUE(first >= 0 && second > first) << strings.toStdString();
    EXPECT_TRUE(strings.contains(QStringLiteral("Versión 1")));
    EXPECT_TRUE(strings.contains(QStringLiteral("RTM vaca lechera 30 L/día")));
    EXPECT_EQ(g.item(0, 8)->text(), kMarked);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(FormulaListOutput, PrintPreviewsTheLastSearchAndNothingWhenTheListIsEmpty) {
    frmformulas window(ctx, opener());
    window.show();
    int pages = 0;
    launcher.handlers.push_back([&pages](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Fórmulas"));
        pages = dialog.findChild<QPrintPreviewWidget*>()->pageCount();
    });
    button(window, "cmdPrint").click();
    EXPECT_EQ(launcher.opened, QStringList{"repFormulas"});
    EXPECT_EQ(pages, 1);

    button(window, "Command2").click(); // "Limpiar" empties the list
    button(window, "cmdPrint").click();
    EXPECT_EQ(launcher.opened, QStringList{"repFormulas"});
}

} // namespace
} // namespace tarvela::test
