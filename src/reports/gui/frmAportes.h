#pragma once

#include "context/app_context.h"
#include "formulation/run.h"

#include <QDialog>

class QPaintEvent;
class QShowEvent;
class QTableWidget;

namespace tarvela {

// "Aportes": why a nutrient's minimum cannot be reached. Each ingredient's upper limit, its
// content of the nutrient and its own largest contribution, with the largest value a blend of
// the current ingredients reaches.
class frmAportes : public QDialog {
    Q_OBJECT

public:
    frmAportes(AppContext& ctx, const formulation::AportesReport& report,
               QWidget* parent = nullptr);

protected:
    // Every activation repeats why the run was cancelled, once the window has been drawn, so
    // the list is seen behind the message.
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void actuGrid(const formulation::AportesReport& report);
    void showCancelledMessage();

    AppContext& ctx_;
    QString propertyName_; // the nutrient whose minimum cannot be reached
    QTableWidget* grid_ = nullptr;
    bool messagePending_ = false;
};

} // namespace tarvela
