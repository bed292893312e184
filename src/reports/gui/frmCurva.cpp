#include "reports/gui/frmCurva.h"

#include "grid/gui/grid_painter.h"
#include "reports/chart_labels.h"
#include "reports/gui/generated_document.h"
#include "reports/output_file.h"
#include "reports/page_painter.h"
#include "reports/workbook.h"
#include "text/format.h"
#include "widgets/errores_window.h"
#include "widgets/modal_launcher.h"

#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScatterSeries>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

namespace tarvela {

namespace {

QString numberText(double v, QChar sep) {
    return text::formatNumber(v, QStringLiteral("0.00####"), sep);
}

QValueAxis* axisOf(const reports::ChartAxis& a) {
    auto* axis = new QValueAxis;
    axis->setTitleText(a.title);
    axis->setRange(a.min, a.max);
    axis->setLabelFormat(a.labelFormat);
    axis->setTickCount(a.ticks);
    return axis;
}

// The points that labels name, without legend entry; their labels are placed apart.
QScatterSeries* addMarks(QChart& chart, QAbstractAxis* x, QAbstractAxis* y,
                         const std::vector<reports::ChartMark>& marks, const QColor& colour) {
    auto* s = new QScatterSeries;
    for (const reports::ChartMark& mark : marks)
        s->append(mark.x, mark.y);
    s->setMarkerSize(9);
    s->setColor(colour);
    chart.addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    for (QLegendMarker* m : chart.legend()->markers(s))
        m->setVisible(false);
    return s;
}

void addVertical(QChart& chart, QAbstractAxis* x, QAbstractAxis* y, double at,
                 const reports::ChartAxis& range, const QString& name, const QColor& colour) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->append(at, range.min);
    line->append(at, range.max);
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidth(1);
    line->setPen(pen);
    chart.addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
}

} // namespace

frmCurva::frmCurva(AppContext& ctx, const formulation::WorkingModel& model,
                   const formulation::CurveSubject& subject, QWidget* parent)
    : QDialog(parent), ctx_(ctx), model_(model), subject_(subject),
      start_(formulation::curveStart(model, subject)) {
    setObjectName(QStringLiteral("frmCurva"));
    const bool price = subject.kind == formulation::CurveKind::IngredientPrice;
    setWindowTitle(price ? QStringLiteral("Mapa de precio") : QStringLiteral("Curva de costo"));
    resize(960, 700);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* caption = new QLabel(start_.start ? start_.start->caption : start_.refusal, this);
    caption->setObjectName(QStringLiteral("lblTitulo"));
    top->addWidget(caption, 1);
    const auto box = [&](const QString& name, const QString& label) {
        top->addWidget(new QLabel(label, this));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setFixedWidth(90);
        top->addWidget(edit);
        return edit;
    };
    txtDesde_ = box(QStringLiteral("txtDesde"), QStringLiteral("Desde"));
    txtHasta_ = box(QStringLiteral("txtHasta"), QStringLiteral("Hasta"));
    txtPasos_ = box(QStringLiteral("txtPasos"), QStringLiteral("Pasos"));
    cmdCalcular_ = new QPushButton(QStringLiteral("Calcular"), this);
    cmdCalcular_->setObjectName(QStringLiteral("cmdCalcular"));
    top->addWidget(cmdCalcular_);
    layout->addLayout(top);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("prgPasos"));
    progress_->setVisible(false);
    layout->addWidget(progress_);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);

    chartView_ = new QChartView(this);
    chartView_->setObjectName(QStringLiteral("chartCurva"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(400);
    layout->addWidget(chartView_, 3);
    lblNotas_ = new QLabel(this);
    lblNotas_->setObjectName(QStringLiteral("lblNotas"));
    layout->addWidget(lblNotas_);
    flexPuntos_ = new QTableWidget(this);
    flexPuntos_->setObjectName(QStringLiteral("flexPuntos"));
    setupReadOnlyGrid(*flexPuntos_);
    layout->addWidget(flexPuntos_, 2);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    cmdExportar_ = new QPushButton(QStringLiteral("Exportar"), this);
    cmdExportar_->setObjectName(QStringLiteral("cmdExportar"));
    cmdImprimir_ = new QPushButton(QStringLiteral("Imprimir"), this);
    cmdImprimir_->setObjectName(QStringLiteral("cmdImprimir"));
    auto* close = new QPushButton(QStringLiteral("Cerrar"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    bottom->addWidget(cmdExportar_);
    bottom->addWidget(cmdImprimir_);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    cmdExportar_->setEnabled(false);
    cmdImprimir_->setEnabled(false);

    connect(cmdCalcular_, &QPushButton::clicked, this, &frmCurva::calculate);
    connect(cmdExportar_, &QPushButton::clicked, this, &frmCurva::exportCurve);
    connect(cmdImprimir_, &QPushButton::clicked, this, &frmCurva::printCurve);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        progress_->setVisible(true);
        progress_->setValue(done_.load());
    });

    const QChar sep = displaySeparator(ctx_);
    if (start_.start && start_.start->defaultRange) {
        txtDesde_->setText(numberText(start_.start->defaultRange->desde, sep));
        txtHasta_->setText(numberText(start_.start->defaultRange->hasta, sep));
    }
    txtPasos_->setText(QStringLiteral("50"));
    cmdCalcular_->setEnabled(start_.start.has_value());
}

frmCurva::~frmCurva() {
    if (worker_) {
        cancel_ = true;
        worker_->wait();
    }
}

void frmCurva::calculate() {
    if (busy() || !start_.start)
        return;
    const std::optional<double> desde = text::parseUserNumber(txtDesde_->text());
    const std::optional<double> hasta = text::parseUserNumber(txtHasta_->text());
    bool stepsOk = false;
    const int pasos = txtPasos_->text().trimmed().toInt(&stepsOk);
    if (!desde || !hasta || !stepsOk) {
        ctx_.ui().message(QStringLiteral("Los valores Desde, Hasta y Pasos deben ser numéricos"),
                          MsgIcon::Critical);
        return;
    }
    const formulation::CurveRange range{*desde, *hasta, pasos};
    if (const QString refused = formulation::rangeRefusal(range); !refused.isEmpty()) {
        ctx_.ui().message(refused, MsgIcon::Critical);
        return;
    }
    // The composition is read here, on the window's thread; the steps read nothing else.
    composition_ = formulation::FormulaComposition(ctx_.db(), model_);
    cancel_ = false;
    done_ = 0;
    progress_->setRange(0, range.pasos + 1);
    cmdCalcular_->setEnabled(false);
    const QChar sep = displaySeparator(ctx_);
    worker_ = QThread::create([this, range, sep] {
        outcome_ = formulation::costCurve(model_, subject_, range, composition_, sep,
                                          [this](int done, int) {
                                              done_ = done;
                                              return !cancel_.load();
                                          });
    });
    connect(worker_, &QThread::finished, this, &frmCurva::finished);
    progressTimer_->start();
    worker_->start();
}

void frmCurva::finished() {
    progressTimer_->stop();
    progress_->setVisible(false);
    worker_->deleteLater();
    worker_ = nullptr;
    cmdCalcular_->setEnabled(true);
    if (!outcome_ || outcome_->cancelled)
        return;
    if (!outcome_->curve) {
        for (const formulation::RunMessage& m : outcome_->messages)
            ctx_.ui().message(m.text, m.icon, m.title);
        return;
    }
    curve_ = outcome_->curve;
    const QChar sep = displaySeparator(ctx_);
    chart_ = reports::curveChart(*curve_, sep);
    paintGrid(*flexPuntos_, reports::curvePointsPaint(*curve_, sep));
    draw();
    cmdExportar_->setEnabled(true);
    cmdImprimir_->setEnabled(true);
    emit curveShown();
}

void frmCurva::draw() {
    const reports::CurveChart& shown = *chart_;
    auto* chart = new QChart;
    chart->setTitle(shown.title);
    chart->setLocalizeNumbers(true);
    chart->setLocale(displaySeparator(ctx_) == QLatin1Char(',') ? QLocale(QLocale::Spanish)
                                                                : QLocale::c());
    QValueAxis* x = axisOf(shown.x);
    chart->addAxis(x, Qt::AlignBottom);
    QValueAxis* cost = axisOf(shown.y);
    QValueAxis* quantity = shown.quantity ? axisOf(*shown.quantity) : nullptr;
    if (quantity) {
        chart->addAxis(quantity, Qt::AlignLeft);
        chart->addAxis(cost, Qt::AlignRight);
    } else {
        chart->addAxis(cost, Qt::AlignLeft);
    }
    const QColor costColour(0, 90, 170);
    const QColor quantityColour(0, 140, 60);
    bool named = false;
    for (const std::vector<QPointF>& stretch : shown.cost) {
        auto* s = new QLineSeries;
        for (const QPointF& p : stretch)
            s->append(p);
        s->setPen(QPen(costColour, 2));
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(cost);
        if (named) {
            for (QLegendMarker* m : chart->legend()->markers(s))
                m->setVisible(false);
        } else {
            s->setName(formulation::unitCostCaption(*curve_));
            named = true;
        }
    }
    named = false;
    for (const std::vector<QPointF>& stretch : shown.quantityLines) {
        auto* s = new QLineSeries;
        for (const QPointF& p : stretch)
            s->append(p);
        s->setPen(QPen(quantityColour, 2));
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(quantity);
        if (named) {
            for (QLegendMarker* m : chart->legend()->markers(s))
                m->setVisible(false);
        } else {
            s->setName(QString(shown.quantity->title).replace(QStringLiteral("<br>"), " "));
            named = true;
        }
    }
    labels_.clear();
    if (shown.current) {
        addVertical(*chart, x, cost, shown.current->x, shown.y, QStringLiteral("Actual"),
                    Qt::darkGray);
        addMarks(*chart, x, cost, {*shown.current}, Qt::darkGray);
        labels_.push_back({*shown.current, Qt::darkGray});
    }
    const QColor changeColour(200, 60, 0);
    labelSeries_ = addMarks(*chart, x, cost, shown.changes, changeColour);
    for (const reports::ChartMark& mark : shown.changes)
        labels_.push_back({mark, changeColour});
    for (const reports::ChartMark& mark : shown.records)
        addVertical(*chart, x, cost, mark.x, shown.y, mark.label, mark.colour);
    // The chart shown before goes with its labels.
    QChart* previous = chartView_->chart();
    labelItems_.clear();
    chartView_->setChart(chart);
    delete previous;
    connect(chart, &QChart::plotAreaChanged, this, &frmCurva::placeLabels);
    placeLabels();
    QStringList notes;
    for (const QString& n : shown.gapNotes)
        notes << n;
    lblNotas_->setText(notes.join(QStringLiteral("   ")));
}

void frmCurva::placeLabels() {
    QChart* chart = chartView_->chart();
    if (!chart || !labelSeries_)
        return;
    for (QGraphicsItem* item : labelItems_)
        delete item;
    labelItems_.clear();
    const QFontMetricsF metrics(chart->font());
    std::vector<reports::LabelRequest> requests;
    for (const ChartLabel& label : labels_)
        requests.push_back({chart->mapToPosition({label.mark.x, label.mark.y}, labelSeries_),
                            metrics.size(0, label.mark.label)});
    const std::vector<reports::PlacedLabel> placed =
        reports::placeLabels(requests, chart->plotArea());
    for (std::size_t k = 0; k < placed.size(); ++k) {
        auto* text = new QGraphicsSimpleTextItem(labels_[k].mark.label, chart);
        text->setFont(chart->font());
        text->setBrush(labels_[k].colour);
        text->setPos(placed[k].box.topLeft());
        text->setZValue(10);
        labelItems_.push_back(text);
        if (placed[k].leader) {
            const QRectF& box = placed[k].box;
            const QPointF end(std::clamp(requests[k].anchor.x(), box.left(), box.right()),
                              requests[k].anchor.y() < box.top() ? box.top() : box.bottom());
            auto* leader = new QGraphicsLineItem(QLineF(requests[k].anchor, end), chart);
            leader->setPen(QPen(labels_[k].colour, 1, Qt::DotLine));
            leader->setZValue(10);
            labelItems_.push_back(leader);
        }
    }
}

void frmCurva::exportCurve() {
    if (!curve_)
        return;
    const QString path = ctx_.ui().saveFileName(
        QStringLiteral("Exportar"),
        {QStringLiteral("Imagen PNG (*.png)"), QStringLiteral("Libro de Excel (*.xlsx)")});
    if (path.isEmpty())
        return;
    const bool workbook =
        QFileInfo(path).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) == 0;
    QString failure;
    if (workbook) {
        failure = reports::saveWorkbook(reports::curveSheet(*curve_), path).description;
    } else {
        // Written whole or not at all.
        QSaveFile file(path);
        const QPixmap picture = chartView_->grab();
        if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
            failure = file.errorString();
    }
    if (!failure.isEmpty()) {
        errores window(ctx_, QStringLiteral("No se pudo exportar"), 0,
                       reports::writeErrorText(path, 0, failure), this);
        execModal(ctx_, window);
    }
}

bool frmCurva::paintDocument(QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    const int chartHeight = page.height() / 2;
    chartView_->render(&painter, QRectF(0, 0, page.width(), chartHeight));
    painter.setFont(QFont(QStringLiteral("Arial"), 9));
    const grid::GridPaint table = reports::curvePointsPaint(*curve_, displaySeparator(ctx_));
    const int line = painter.fontMetrics().height();
    int y = chartHeight + 2 * line;
    for (const auto& row : table.rows) {
        if (y + line > page.height()) {
            device.newPage();
            y = line;
        }
        QStringList cells;
        for (const grid::CellPaint& cell : row)
            cells << cell.text;
        painter.drawText(0, y, cells.join(QStringLiteral("   ")));
        y += line;
    }
    return painter.end();
}

void frmCurva::printCurve() {
    if (!curve_)
        return;
    if (ctx_.ui().hasDefaultPrinter()) {
        QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        printer.setDocName(chart_->title);
        if (!paintDocument(printer)) {
            errores window(ctx_, QStringLiteral("No se pudo imprimir"), 0,
                           QStringLiteral("La impresora no aceptó el documento"), this);
            execModal(ctx_, window);
        }
        return;
    }
    const reports::WrittenFile file = reports::writeNewFile(
        ctx_.ui().documentsFolder(), reports::fileNamePart(chart_->title), QStringLiteral("pdf"),
        [&](const QString& path) {
            return reports::writePdf(path, chart_->title, [&](QPagedPaintDevice& device) {
                return paintDocument(device);
            });
        });
    deliverDocument(ctx_, file, this);
}

} // namespace tarvela
