#pragma once

#include "context/app_context.h"

#include <QDialog>
#include <QString>

class QTableWidget;

namespace tarvela {

// "Historial de cambios": the recorded changes of one item (a catalog item or a formula), newest
// first: when, who, what was done and the fields before and after.
class frmHistorial : public QDialog {
    Q_OBJECT

public:
    // table and key name the item as the record of changes does (productos and the ingredient's
    // key, ...); caption names it for the user.
    frmHistorial(AppContext& ctx, const QString& caption, const QString& table, int key,
                 QWidget* parent = nullptr);

    const QTableWidget& grid() const { return *flexHistorial_; }

private:
    QTableWidget* flexHistorial_;
};

// Opens the window over parent; an item not stored yet (key below 1) has no changes to show.
void showChangeHistory(AppContext& ctx, const QString& caption, const QString& table, int key,
                       QWidget* parent);

} // namespace tarvela
