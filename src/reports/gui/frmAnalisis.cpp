#include "reports/gui/frmAnalisis.h"

#include "grid/gui/grid_painter.h"
#include "reports/analysis_grid.h"
#include "reports/gui/frmCurva.h"
#include "widgets/modal_launcher.h"

#include <QPushButton>

#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>

namespace tarvela {

namespace {

const QString kIngredient = QStringLiteral("Ingrediente");
const QString kPerUnit = QStringLiteral("Por cada unidad de aumento en la restricción");

// The lists in the order of the tabs.
const AnalysisGridKind& listOfTab(int tab) {
    static const AnalysisGridKind lists[4] = {
        {{formulation::AnalysisKind::IngredientInMix},
         kIngredient,
         QStringLiteral("Precio Actual"),
         QStringLiteral("Máxima Variación"),
         QStringLiteral("Precio Máximo")},
        {{formulation::AnalysisKind::IngredientLeftOut},
         kIngredient,
         QStringLiteral("Precio Actual"),
         QStringLiteral("Excedente"),
         QStringLiteral("Precio Oportuno")},
        {{formulation::AnalysisKind::IngredientLimit, formulation::AnalysisKind::GroupLimit},
         kPerUnit,
         QStringLiteral("Costo Actual"),
         QStringLiteral("Aumento del Costo"),
         QStringLiteral("Costo Estimado"),
         true},
        {{formulation::AnalysisKind::NutrientLimit, formulation::AnalysisKind::RatioLimit},
         kPerUnit,
         QStringLiteral("Costo Actual"),
         QStringLiteral("Aumento del Costo"),
         QStringLiteral("Costo Estimado"),
         true}};
    return lists[std::clamp(tab, 0, 3)];
}

} // namespace

frmAnalisis::frmAnalisis(AppContext& ctx,
                         const std::vector<formulation::AnalysisRecord>& rsAnalisis,
                         QWidget* parent, const formulation::WorkingModel* model)
    : QDialog(parent), ctx_(ctx), model_(model), records_(rsAnalisis) {
    setObjectName(QStringLiteral("frmAnalisis"));
    setWindowTitle(QStringLiteral("Análisis de los Resultados"));
    setFixedSize(960, 440);

    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->setGeometry(10, 10, 940, 376);
    FlexGrid0_ = addTab(QStringLiteral("FlexGrid0"), QStringLiteral("Ingredientes Activos"));
    FlexGrid1_ = addTab(QStringLiteral("FlexGrid1"), QStringLiteral("Ingredientes Inactivos"));
    FlexGrid3_ =
        addTab(QStringLiteral("FlexGrid3"), QStringLiteral("Restricciones de Ingredientes"));
    FlexGrid2_ = addTab(QStringLiteral("FlexGrid2"), QStringLiteral("Restricciones de Nutrientes"));

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    close->setGeometry(900, 396, 50, 34);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* curva = new QPushButton(QStringLiteral("Curva de costo"), this);
    curva->setObjectName(QStringLiteral("cmdCurva"));
    curva->setGeometry(10, 396, 140, 34);
    auto* mapa = new QPushButton(QStringLiteral("Mapa de precio"), this);
    mapa->setObjectName(QStringLiteral("cmdMapa"));
    mapa->setGeometry(160, 396, 140, 34);
    curva->setVisible(model_ != nullptr);
    mapa->setVisible(model_ != nullptr);
    connect(curva, &QPushButton::clicked, this, &frmAnalisis::showCostCurve);
    connect(mapa, &QPushButton::clicked, this, &frmAnalisis::showPriceMap);

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
    grid->setGeometry(6, 6, 922, 334);
    setupReadOnlyGrid(*grid);
    SSTab1_->addTab(page, caption);
    return grid;
}

void frmAnalisis::fill(QTableWidget& grid, const AnalysisGridKind& kind) {
    paintGrid(grid, analysisGridPaint(records_, kind, displaySeparator(ctx_)));
}

void frmAnalisis::actuFlexGrid0() {
    fill(*FlexGrid0_, listOfTab(0));
}

void frmAnalisis::actuFlexGrid1() {
    fill(*FlexGrid1_, listOfTab(1));
}

void frmAnalisis::actuFlexgrid2() {
    fill(*FlexGrid2_, listOfTab(3));
}

void frmAnalisis::actuFlexGrid3() {
    fill(*FlexGrid3_, listOfTab(2));
}

const AnalysisGridKind& frmAnalisis::kindOfTab(int tab) const {
    return listOfTab(tab);
}

const formulation::AnalysisRecord* frmAnalisis::currentRecord() const {
    const int tab = SSTab1_->currentIndex();
    const QTableWidget* grids[4] = {FlexGrid0_, FlexGrid1_, FlexGrid3_, FlexGrid2_};
    const QTableWidget* grid = grids[std::clamp(tab, 0, 3)];
    return analysisGridRecord(records_, kindOfTab(tab), grid->currentRow() + 1);
}

// A nutrient or ingredient limit's line: its curve.
void frmAnalisis::showCostCurve() {
    const formulation::AnalysisRecord* record = currentRecord();
    if (!model_ || !record ||
        (record->kind != formulation::AnalysisKind::NutrientLimit &&
         record->kind != formulation::AnalysisKind::IngredientLimit)) {
        ctx_.ui().message(QStringLiteral("Seleccione una restricción de un nutriente o de un "
                                         "ingrediente"),
                          MsgIcon::Information);
        return;
    }
    openCurve({record->kind == formulation::AnalysisKind::NutrientLimit
                   ? formulation::CurveKind::NutrientLimit
                   : formulation::CurveKind::IngredientLimit,
               record->itemId, record->maximo});
}

// An ingredient's line, in or out of the mix: its price map.
void frmAnalisis::showPriceMap() {
    const formulation::AnalysisRecord* record = currentRecord();
    if (!model_ || !record ||
        (record->kind != formulation::AnalysisKind::IngredientInMix &&
         record->kind != formulation::AnalysisKind::IngredientLeftOut)) {
        ctx_.ui().message(QStringLiteral("Seleccione un ingrediente"), MsgIcon::Information);
        return;
    }
    openCurve({formulation::CurveKind::IngredientPrice, record->itemId, false});
}

void frmAnalisis::openCurve(const formulation::CurveSubject& subject) {
    frmCurva window(ctx_, *model_, subject, this);
    execModal(ctx_, window);
}

} // namespace tarvela
