#pragma once

#include "context/app_context.h"
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
    frmAnalisis(AppContext& ctx, const std::vector<formulation::AnalysisRecord>& rsAnalisis,
                QWidget* parent = nullptr);

    void actuFlexGrid0(); // ingredients in the mix
    void actuFlexGrid1(); // ingredients left out
    void actuFlexgrid2(); // nutrient constraints
    void actuFlexGrid3(); // ingredient constraints

private:
    QTableWidget* addTab(const QString& gridName, const QString& caption);
    void fill(QTableWidget& grid, const AnalysisGridKind& kind);

    AppContext& ctx_;
    const std::vector<formulation::AnalysisRecord>& records_;
    QTabWidget* SSTab1_ = nullptr;
    QTableWidget* FlexGrid0_ = nullptr;
    QTableWidget* FlexGrid1_ = nullptr;
    QTableWidget* FlexGrid2_ = nullptr;
    QTableWidget* FlexGrid3_ = nullptr;
};

} // namespace tarvela
