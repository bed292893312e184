#include "reports/gui/frmAnalisis.h"

#include "grid/gui/grid_painter.h"
#include "reports/analysis_grid.h"

#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>

namespace tarvela {

namespace {

const QString kIngredient = QStringLiteral("Ingrediente");
const QString kPerUnit = QStringLiteral("Por cada unidad de aumento en la restricción");

} // namespace

frmAnalisis::frmAnalisis(AppContext& ctx,
                         const std::vector<formulation::AnalysisRecord>& rsAnalisis,
                         QWidget* parent)
    : QDialog(parent), ctx_(ctx), records_(rsAnalisis) {
    setObjectName(QStringLiteral("frmAnalisis"));
    setWindowTitle(QStringLiteral("Análisis de los Resultados"));
    setFixedSize(760, 440);

    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->setGeometry(10, 10, 740, 376);
    FlexGrid0_ = addTab(QStringLiteral("FlexGrid0"), QStringLiteral("Ingredientes Activos"));
    FlexGrid1_ = addTab(QStringLiteral("FlexGrid1"), QStringLiteral("Ingredientes Inactivos"));
    FlexGrid3_ =
        addTab(QStringLiteral("FlexGrid3"), QStringLiteral("Restricciones de Ingredientes"));
    FlexGrid2_ = addTab(QStringLiteral("FlexGrid2"), QStringLiteral("Restricciones de Nutrientes"));

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    close->setGeometry(700, 396, 50, 34);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    actuFlexGrid0();
    actuFlexGrid1();
    actuFlexgrid2();
    actuFlexGrid3();
    SSTab1_->setCurrentIndex(0);
}

QTableWidget* frmAnalisis::addTab(const QString& gridName, const QString& caption) {
    auto* page = new QWidget;
    auto* grid = new QTableWidget(page);
    grid->setObjectName(gridName);
    grid->setGeometry(6, 6, 722, 334);
    setupReadOnlyGrid(*grid);
    SSTab1_->addTab(page, caption);
    return grid;
}

void frmAnalisis::fill(QTableWidget& grid, const AnalysisGridKind& kind) {
    paintGrid(grid, analysisGridPaint(records_, kind, displaySeparator(ctx_)));
}

void frmAnalisis::actuFlexGrid0() {
    fill(*FlexGrid0_, {{formulation::AnalysisKind::IngredientInMix},
                       kIngredient,
                       QStringLiteral("Precio Actual"),
                       QStringLiteral("Máxima Variación"),
                       QStringLiteral("Precio Máximo")});
}

void frmAnalisis::actuFlexGrid1() {
    fill(*FlexGrid1_, {{formulation::AnalysisKind::IngredientLeftOut},
                       kIngredient,
                       QStringLiteral("Precio Actual"),
                       QStringLiteral("Excedente"),
                       QStringLiteral("Precio Oportuno")});
}

void frmAnalisis::actuFlexgrid2() {
    fill(*FlexGrid2_,
         {{formulation::AnalysisKind::NutrientLimit, formulation::AnalysisKind::RatioLimit},
          kPerUnit,
          QStringLiteral("Costo Actual"),
          QStringLiteral("Aumento del Costo"),
          QStringLiteral("Costo Estimado")});
}

void frmAnalisis::actuFlexGrid3() {
    fill(*FlexGrid3_,
         {{formulation::AnalysisKind::IngredientLimit, formulation::AnalysisKind::GroupLimit},
          kPerUnit,
          QStringLiteral("Costo Actual"),
          QStringLiteral("Aumento del Costo"),
          QStringLiteral("Costo Estimado")});
}

} // namespace tarvela
