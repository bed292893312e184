#include "reports/gui/frmImprimir.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvela {

frmImprimir::frmImprimir(AppContext&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmImprimir"));
    setWindowTitle(QStringLiteral("Seleccione destino"));
    setModal(true);

    const auto button = [this](QWidget* parentWidget, const char* name, const char* caption,
                               FormulaDestination destination) {
        auto* b = new QPushButton(QString::fromUtf8(caption), parentWidget);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
        connect(b, &QPushButton::clicked, this, [this, destination] { choose(destination); });
        return b;
    };

    QPushButton* print = button(this, "Command1", "Imprimir", FormulaDestination::Printer);
    auto* frame = new QGroupBox(QStringLiteral(" Exportar a "), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* exports = new QHBoxLayout(frame);
    exports->addWidget(button(frame, "Command2", "&Word", FormulaDestination::Word));
    exports->addWidget(button(frame, "cmdExportarCSV", "CSV", FormulaDestination::Csv));
    exports->addWidget(button(frame, "cmdExportarExcel", "Excel", FormulaDestination::Excel));

    chkCostos_ = new QCheckBox(QStringLiteral("Incluir Costos"), this);
    chkCostos_->setObjectName(QStringLiteral("chkCostos"));

    auto* top = new QHBoxLayout;
    top->addWidget(print);
    top->addStretch();
    top->addWidget(chkCostos_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame);
    setFixedSize(sizeHint());
}

bool frmImprimir::includeCosts() const {
    return chkCostos_->isChecked();
}

void frmImprimir::choose(FormulaDestination destination) {
    destination_ = destination;
    accept();
}

} // namespace tarvela
