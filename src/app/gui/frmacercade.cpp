#include "app/gui/frmacercade.h"

#include "widgets/animal_pictures.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvela {

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

frmacercade::frmacercade(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmacercade"));
    setWindowTitle(QStringLiteral("Información sobre la Versión"));
    setModal(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* logo = label(QStringLiteral("imgLogo"), {}, frame);
    logo->setPixmap(productLogo());
    auto* system =
        label(QStringLiteral("lblSistema"),
              QStringLiteral("Sistema de Administración y Optimización de Fórmulas de Elaboración"),
              frame);
    QFont bold = system->font();
    bold.setBold(true);
    system->setFont(bold);
    lblVersion_ = label(QStringLiteral("lblVersion"), {}, frame);
    auto* maker1 = label(QStringLiteral("lblFabricante1"),
                         QStringLiteral("Desarrollado por Vadomar Sistemas"), frame);
    auto* maker2 = label(QStringLiteral("lblFabricante2"),
                         QStringLiteral("Software para la nutrición animal"), frame);

    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(logo);
    inner->addWidget(system);
    inner->addWidget(lblVersion_);
    inner->addSpacing(8);
    inner->addWidget(maker1);
    inner->addWidget(maker2);

    auto* ok = new QPushButton(QStringLiteral("Aceptar"), this);
    ok->setObjectName(QStringLiteral("cmdAceptar"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmacercade::acknowledge);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    showVersion();
}

void frmacercade::showVersion() {
    lblVersion_->setText(QStringLiteral("Versión ") + QStringLiteral("2.02.0"));
}

void frmacercade::acknowledge() {
    accept();
}

} // namespace tarvela
