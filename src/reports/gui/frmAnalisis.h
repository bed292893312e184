#pragma once

#include "context/app_context.h"
#include "formulation/cost_curve.h"
#include "formulation/working_model.h"

#include <QDialog>

#include <vector>

class QTabWidget;
class QTableWidget;

namespace tarvela {

struct AnalysisGridKind;

// "Análisis de los Resultados": the sensitivity records of the last run in four lists. It only
// reads the records.
class frmAnalisis : public QDialog {
    Q_OBJECT

public:
    // With the working model the records were made from, "Curva de costo" (a nutrient or
    // ingredient limit's line) and "Mapa de precio" (an ingredient's line) open on the current
    // line.
    frmAnalisis(AppContext& ctx, const std::vector<formulation::AnalysisRecord>& rsAnalisis,
                QWidget* parent = nullptr, const formulation::WorkingModel* model = nullptr);

    void actuFlexGrid0(); // ingredients in the mix
    void actuFlexGrid1(); // ingredients left out
    void actuFlexgrid2(); // nutrient constraints
    void actuFlexGrid3(); // ingredient constraints
    void showCostCurve();
    void showPriceMap();

    // The record on the current line of the shown list; nullptr without one.
    const formulation::AnalysisRecord* currentRecord() const;

private:
    QTableWidget* addTab(const QString& gridName, const QString& caption);
    void fill(QTableWidget& grid, const AnalysisGridKind& kind);

    void openCurve(const formulation::CurveSubject& subject);
    const AnalysisGridKind& kindOfTab(int tab) const;

    AppContext& ctx_;
    const formulation::WorkingModel* model_ = nullptr;
    const std::vector<formulation::AnalysisRecord>& records_;
    QTabWidget* SSTab1_ = nullptr;
    QTableWidget* FlexGrid0_ = nullptr;
    QTableWidget* FlexGrid1_ = nullptr;
    QTableWidget* FlexGrid2_ = nullptr;
    QTableWidget* FlexGrid3_ = nullptr;
};

} // namespace tarvela
