#pragma once

#include "support/gui/app_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

// Drives the catalog windows by their controls' names, on the demo database.
namespace tarvela::test {

class CatalogWindows : public AppFixture {
protected:
    template <typename T = QWidget> static T* child(QWidget& window, const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QLineEdit* box(QWidget& window, const char* name) {
        return child<QLineEdit>(window, name);
    }
    static void press(QWidget& window, const char* name) {
        child<QPushButton>(window, name)->click();
    }
    static QTableWidget* grid(QWidget& window) { return child<QTableWidget>(window, "flexgrid1"); }

    static void open(QWidget& window) {
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // The texts of one grid column, top to bottom.
    static QStringList column(QWidget& window, int c) {
        QStringList texts;
        QTableWidget* g = grid(window);
        for (int r = 0; r < g->rowCount(); ++r)
            texts << (g->item(r, c) ? g->item(r, c)->text() : QString());
        return texts;
    }

    // Makes the row whose column c reads text the current one.
    static void selectRow(QWidget& window, int c, const QString& text) {
        const int row = static_cast<int>(column(window, c).indexOf(text));
        ASSERT_GE(row, 0) << text.toStdString() << " not listed";
        grid(window)->setCurrentCell(row, c);
    }

    QVariant scalar(const QString& sql) {
        const db::Result result = ctx.db().query(sql);
        return result.isEmpty() ? QVariant() : result.value(0, 0);
    }
    int count(const QString& sql) { return scalar(sql).toInt(); }

    // Makes a statement fail while a table is written: the failure a full disk would give.
    void failInsertsInto(const QString& table) { database.failOn(QStringLiteral("INSERT"), table); }
};

} // namespace tarvela::test
