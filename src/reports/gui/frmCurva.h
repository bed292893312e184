#pragma once

#include "context/app_context.h"
#include "formulation/cost_curve.h"
#include "formulation/working_model.h"
#include "reports/curve_chart.h"

#include <QColor>
#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>

class QChartView;
class QGraphicsItem;
class QScatterSeries;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;

namespace tarvela {

// "Curva de costo" and "Mapa de precio": the unit cost of the mix (and, for a price, the
// ingredient's quantity) against one limit or price over a range, computed off the window's
// thread on a copy of the formula, drawn with the points' table under it; "Exportar" to a picture
// or a workbook, "Imprimir".
class frmCurva : public QDialog {
    Q_OBJECT

public:
    frmCurva(AppContext& ctx, const formulation::WorkingModel& model,
             const formulation::CurveSubject& subject, QWidget* parent = nullptr);
    ~frmCurva() override;

    // "Calcular": the range in the boxes, checked, then the steps on another thread.
    void calculate();
    // "Exportar": a PNG picture of the chart or a workbook of the points, by the name chosen.
    void exportCurve();
    // "Imprimir": the chart and its points on the default printer, or as a PDF document.
    void printCurve();

    bool busy() const { return worker_ != nullptr; }
    // What the chart shows, once a curve is computed.
    const std::optional<reports::CurveChart>& chartData() const { return chart_; }
    const std::optional<formulation::CostCurve>& curve() const { return curve_; }

signals:
    void curveShown();

private:
    void finished();
    void draw();
    // The labels of the current value and of the changes, placed apart over the plot area
    // (again whenever the plot area changes size).
    void placeLabels();
    bool paintDocument(class QPagedPaintDevice& device);

    AppContext& ctx_;
    const formulation::WorkingModel model_;
    const formulation::CurveSubject subject_;
    formulation::SubjectCheck start_;
    formulation::FormulaComposition composition_;
    std::optional<formulation::CostCurve> curve_;
    std::optional<reports::CurveChart> chart_;
    struct ChartLabel {
        reports::ChartMark mark;
        QColor colour;
    };
    std::vector<ChartLabel> labels_;
    QScatterSeries* labelSeries_ = nullptr; // maps the marks' values to the chart
    std::vector<QGraphicsItem*> labelItems_;
    std::optional<formulation::CurveOutcome> outcome_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> done_{0};
    QThread* worker_ = nullptr;

    QLineEdit* txtDesde_ = nullptr;
    QLineEdit* txtHasta_ = nullptr;
    QLineEdit* txtPasos_ = nullptr;
    QPushButton* cmdCalcular_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    QChartView* chartView_ = nullptr;
    QLabel* lblNotas_ = nullptr;
    QTableWidget* flexPuntos_ = nullptr;
    QPushButton* cmdExportar_ = nullptr;
    QPushButton* cmdImprimir_ = nullptr;
};

} // namespace tarvela
