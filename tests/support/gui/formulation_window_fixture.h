#pragma once

#include "formulation/gui/frmoptimizacion.h"
#include "support/gui/app_fixture.h"

#include <QPushButton>
#include <QTableWidget>

#include <memory>

namespace tarvela::test {

// The formulation window opened on a demo formula, pressed by object name.
class FormulationWindowTest : public AppFixture {
protected:
    std::unique_ptr<frmoptimizacion> open(qint16 formulaId) {
        auto window = std::make_unique<frmoptimizacion>(ctx, formulaId);
        window->show();
        return window;
    }

    static void press(QWidget& window, const char* name) {
        auto* button = window.findChild<QPushButton*>(QString::fromUtf8(name));
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }

    static QTableWidget& grid(QWidget& window, const char* name) {
        auto* table = window.findChild<QTableWidget*>(QString::fromUtf8(name));
        EXPECT_NE(table, nullptr) << name;
        return *table;
    }

    static QString text(const QTableWidget& table, int row, int column) {
        const QTableWidgetItem* item = table.item(row, column);
        return item ? item->text() : QString();
    }
    static QColor background(const QTableWidget& table, int row, int column) {
        return table.item(row, column)->background().color();
    }
    static bool bold(const QTableWidget& table, int row, int column) {
        return table.item(row, column)->font().bold();
    }
    static QString heading(const QTableWidget& table, int column) {
        const QTableWidgetItem* item = table.horizontalHeaderItem(column);
        return item ? item->text() : QString();
    }
};

} // namespace tarvela::test
