#include "app/gui/menu.h"

#include "app/help_documents.h"
#include "app/main_layout.h"
#include "app/startup.h"
#include "widgets/animal_pictures.h"
#include "widgets/errores.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace tarvela {

namespace {

constexpr QSize kButtonSize(160, 150);

QLabel* picture(QWidget* parent, const QString& name, const QPixmap& pixmap, bool visible = true) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    label->resize(pixmap.size());
    label->setVisible(visible);
    return label;
}

} // namespace

menu::menu(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("menu"));
    setWindowTitle(QStringLiteral("Tarvela - Formulación de raciones al mínimo costo"));
    buildMenuBar();
    buildControls();
    resize(800, 640);
}

void menu::buildControls() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("centralArea"));
    area->setAutoFillBackground(true);
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 245));
    area->setPalette(palette);
    setCentralWidget(area);

    imgLogo_ = picture(area, QStringLiteral("imgLogo"), productLogo());
    imgLogo_->move(16, 16);

    versionBox_ = new QLineEdit(kNoVersionText, area);
    versionBox_->setObjectName(QStringLiteral("txtVersion"));
    versionBox_->setReadOnly(true);
    versionBox_->setFocusPolicy(Qt::NoFocus);
    versionBox_->setAlignment(Qt::AlignCenter);
    versionBox_->setToolTip(QStringLiteral("Versión"));
    versionBox_->setGeometry(250, 36, 80, 24);

    Line1_ = new QFrame(area);
    Line1_->setObjectName(QStringLiteral("Line1"));
    Line1_->setFrameShape(QFrame::HLine);
    Line1_->setFrameShadow(QFrame::Sunken);
    Line1_->setGeometry(0, 94, 800, 3);

    imgSeleccion_ = picture(area, QStringLiteral("imgSeleccion"), selectionPicture());
    imgSeleccion_->setToolTip(kSelectionText);
    imgSeleccion_->setAccessibleName(kSelectionText);

    imgFabricante_ = picture(area, QStringLiteral("imgFabricante"), makerLogo(kMakerName));

    for (int i = 1; i <= 3; ++i) {
        // The pictures the buttons take their looks from, kept as the window's own images.
        picture(area, QStringLiteral("imgBaseHab%1").arg(i), basePicture(i, true), false);
        picture(area, QStringLiteral("imgBaseDes%1").arg(i), basePicture(i, false), false);
        picture(area, QStringLiteral("imgTipoFormulacion%1").arg(i), smallSpeciesPicture(i), false);

        auto* button = new QToolButton(area);
        button->setObjectName(QStringLiteral("btnTipoFormulacion%1").arg(i));
        button->setProperty("index", i);
        button->setText(speciesName(i));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIconSize(basePicture(i, false).size());
        button->setAutoRaise(true);
        button->resize(kButtonSize);
        connect(button, &QToolButton::clicked, this, [this, i] { baseButtonClicked(i); });
        baseButtons_[static_cast<size_t>(i - 1)] = button;
        paintBaseButton(i, false);
    }
}

void menu::loadSession() {
    if (!ctx_.startupOk)
        return;
    try {
        versionBox_->setText(readVersion(ctx_.db()));
        restoreParameters(ctx_);
    } catch (const db::DbError& e) {
        // A file whose tables cannot be read is no usable database: the program ends as when the
        // connection fails.
        ctx_.ui().message(QStringLiteral("Error nro.: ") + QString::number(e.number()) +
                          QLatin1Char('\n') + e.description());
        ctx_.startupOk = false;
        return;
    }
    selectBase(ctx_.currentBase);
}

void menu::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!activated_) {
        activated_ = true;
        firstActivation();
    }
}

void menu::firstActivation() {
    if (!ctx_.startupOk) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (ctx_.layoutDone)
        return;
    layOut();
    ctx_.layoutDone = true;
}

void menu::layOut() {
    MainLayoutInput in;
    in.window = centralWidget()->size();
    in.makerLogo = imgFabricante_->size();
    in.selection = imgSeleccion_->size();
    for (size_t i = 0; i < 3; ++i)
        in.buttons[i] = baseButtons_[i]->size();
    const MainLayout out = computeMainLayout(in);
    imgFabricante_->setGeometry(out.makerLogo);
    imgSeleccion_->setGeometry(out.selection);
    for (size_t i = 0; i < 3; ++i)
        baseButtons_[i]->setGeometry(out.buttons[i]);
    Line1_->setGeometry(0, Line1_->y(), out.lineWidth, Line1_->height());
}

void menu::selectBase(int index) {
    try {
        tarvela::selectBase(
            ctx_, index, [this](int button, bool selected) { paintBaseButton(button, selected); });
    } catch (const db::DbError& e) {
        showError(ctx_, QStringLiteral("No es posible grabar el Registro"), e, this);
    }
}

void menu::baseButtonClicked(int index) {
    selectBase(index);
}

void menu::paintBaseButton(int index, bool selected) {
    const auto slot = static_cast<size_t>(index - 1);
    baseButtons_[slot]->setIcon(QIcon(basePicture(index, selected)));
    baseButtons_[slot]->setProperty("selected", selected);
    selected_[slot] = selected;
}

QToolButton* menu::baseButton(int index) const {
    return baseButtons_.at(static_cast<size_t>(index - 1));
}

bool menu::baseSelected(int index) const {
    return selected_.at(static_cast<size_t>(index - 1));
}

} // namespace tarvela
