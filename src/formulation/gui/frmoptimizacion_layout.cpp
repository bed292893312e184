// The formulation window's controls, their places and the "Opciones" menu.
#include "formulation/gui/frmoptimizacion.h"

#include "grid/gui/grid_painter.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace tarvela {

namespace {
// Width of the window's content when every caption fits the usual places.
constexpr int kContentWidth = 900;
} // namespace

QPushButton* frmoptimizacion::addButton(QWidget* parent, const QString& name,
                                        const QString& caption, const QRect& geometry,
                                        bool enabled) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setEnabled(enabled);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* frmoptimizacion::addBox(QWidget* parent, const QString& name, const QString& caption,
                                   const QRect& geometry, QLabel** label) {
    auto* text = new QLabel(caption, parent);
    text->setObjectName(QStringLiteral("lbl_") + name);
    text->setGeometry(geometry.x(), geometry.y() - 16, geometry.width() + 40, 16);
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    if (label)
        *label = text;
    return box;
}

QAction* frmoptimizacion::addEntry(QMenu* menu, const QString& name, const QString& caption,
                                   bool enabled) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setEnabled(enabled);
    return action;
}

void frmoptimizacion::buildWindow() {
    setObjectName(QStringLiteral("frmoptimizacion"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* content = new QWidget(this);
    layout->addWidget(content);
    buildMenu();
    layout->setMenuBar(findChild<QMenuBar*>(QStringLiteral("menuBar")));
    buildHeader(content);
    buildIngredientPanel(content);
    buildNutrientPanel(content);
    // Buttons whose captions need more room widen the window, and the ingredient panel with it.
    const int extra = std::max(0, buildButtons(content) + 12 - kContentWidth);
    content->setFixedSize(kContentWidth + extra, 640);
    ingredientPanel_->resize(ingredientPanel_->width() + extra, ingredientPanel_->height());
    flexProd_->resize(flexProd_->width() + extra, flexProd_->height());
    setFixedSize(sizeHint());
}

void frmoptimizacion::buildHeader(QWidget* content) {
    txtCodFormula_ = addBox(content, QStringLiteral("txt_CodFormula"), QStringLiteral("Código"),
                            {8, 24, 110, 22});
    addButton(content, QStringLiteral("cmdBuscaFormula"), QStringLiteral("&Fórmulas"),
              {122, 23, 72, 24});
    txtVerFormula_ = addBox(content, QStringLiteral("txt_VerFormula"), QStringLiteral("Versión"),
                            {202, 24, 50, 22});
    txtFormula_ = addBox(content, QStringLiteral("txt_Formula"), QStringLiteral("Producto"),
                         {260, 24, 330, 22});
    txtFecCFormula_ = addBox(content, QStringLiteral("txt_FecCFormula"), QStringLiteral("Creada"),
                             {598, 24, 90, 22});
    txtFecMFormula_ = addBox(content, QStringLiteral("txt_FecMFormula"),
                             QStringLiteral("Modificada"), {696, 24, 90, 22});
    for (QLineEdit* box :
         {txtCodFormula_, txtVerFormula_, txtFormula_, txtFecCFormula_, txtFecMFormula_})
        box->setReadOnly(true);

    auto* label = new QLabel(QStringLiteral("Cantidad a elaborar"), content);
    label->setGeometry(8, 54, 120, 18);
    txtCantidad_ = new QLineEdit(content);
    txtCantidad_->setObjectName(QStringLiteral("txt_Cantidad"));
    txtCantidad_->setGeometry(130, 52, 90, 22);
    txtCantidad_->setAlignment(Qt::AlignRight);
    txtCantidad_->installEventFilter(this);
    connect(txtCantidad_, &QLineEdit::editingFinished, this,
            &frmoptimizacion::txt_Cantidad_Validate);

    auto* frame = new QGroupBox(content);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(236, 46, 230, 30);
    option1Group_ = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("Mat. Seca"), QStringLiteral("Mat. Húmeda")};
    for (int i = 0; i < 2; ++i) {
        option1_[i] = new QRadioButton(captions[i], frame);
        option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option1_[i]->setGeometry(8 + i * 105, 6, std::max(100, option1_[i]->sizeHint().width()),
                                 20);
        option1Group_->addButton(option1_[i], i);
        connect(option1_[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
}

void frmoptimizacion::buildIngredientPanel(QWidget* content) {
    ingredientPanel_ = new QGroupBox(QStringLiteral("Ingredientes"), content);
    ingredientPanel_->setObjectName(QStringLiteral("Frame2"));
    ingredientPanel_->setGeometry(8, 82, 884, 304);

    flexProd_ = new QTableWidget(ingredientPanel_);
    flexProd_->setObjectName(QStringLiteral("flexProd"));
    flexProd_->setGeometry(8, 20, 868, 200);
    setupReadOnlyGrid(*flexProd_);

    struct TotalsBox {
        const char* name;
        const char* caption;
        int column;
    };
    // Under the columns Máximo, B.Seca, %, B.Húmeda, % and Costo of flexProd.
    const TotalsBox boxes[6] = {{"txtMatSeca", "% Mat.Seca", 7},
                                {"txtCanS", "Mat.Seca", 9},
                                {"txtPorS", "%", 10},
                                {"txtCanH", "Mat.Húmeda", 12},
                                {"txtPorH", "%", 13},
                                {"txtCosTot", "Costo Total", 14}};
    for (int i = 0; i < 6; ++i) {
        TotalBox& total = totalBoxes_[i];
        total.column = boxes[i].column;
        total.box =
            addBox(ingredientPanel_, QString::fromUtf8(boxes[i].name),
                   QString::fromUtf8(boxes[i].caption), {300 + i * 90, 244, 80, 22}, &total.label);
        total.box->setReadOnly(true);
        total.box->setAlignment(Qt::AlignRight);
    }
    txtCosH_ = addBox(ingredientPanel_, QStringLiteral("txtCosH"), QStringLiteral("Costo U.Húmeda"),
                      {8, 244, 100, 22});
    txtCosS_ = addBox(ingredientPanel_, QStringLiteral("txtCosS"), QStringLiteral("Costo U. Seca"),
                      {114, 244, 100, 22});
    for (QLineEdit* box : {txtCosH_, txtCosS_}) {
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
    }

    connect(addButton(ingredientPanel_, QStringLiteral("Command3"), QStringLiteral("Agregar"),
                      {8, 274, 80, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::Command3_Click);
    connect(addButton(ingredientPanel_, QStringLiteral("Command2"), QStringLiteral("Quitar"),
                      {92, 274, 80, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::Command2_Click);
    connect(addButton(ingredientPanel_, QStringLiteral("cmdNutrientes"),
                      QStringLiteral("Ver &Nutrientes"), {176, 274, 110, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::cmdNutrientes_Click);
}

void frmoptimizacion::buildNutrientPanel(QWidget* content) {
    auto* panel = new QGroupBox(QStringLiteral("Nutrientes"), content);
    panel->setObjectName(QStringLiteral("Frame3"));
    panel->setGeometry(8, 390, 560, 244);

    SSTab1_ = new QTabWidget(panel);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    SSTab1_->setGeometry(8, 20, 480, 216);

    auto* tab0 = new QWidget;
    flexProp_ = new QTableWidget(tab0);
    flexProp_->setObjectName(QStringLiteral("flexProp"));
    flexProp_->setGeometry(4, 4, 468, 180);
    setupReadOnlyGrid(*flexProp_);
    SSTab1_->addTab(tab0, QStringLiteral("Nutrientes"));

    auto* tab1 = new QWidget;
    auto* text = new QLabel(
        QStringLiteral(
            "Indique el Tipo de Base utilizada para expresar los nutrientes de la fórmula"),
        tab1);
    text->setWordWrap(true);
    text->setGeometry(16, 16, 440, 40);
    option2Group_ = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("Base Seca"), QStringLiteral("Base Húmeda")};
    for (int i = 0; i < 2; ++i) {
        option2_[i] = new QRadioButton(captions[i], tab1);
        option2_[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        option2_[i]->setGeometry(40, 70 + i * 28, 160, 22);
        option2Group_->addButton(option2_[i], i);
        connect(option2_[i], &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    }
    SSTab1_->addTab(tab1, QStringLiteral("Base Seca"));
    buildLimitsTab();

    connect(
        addButton(panel, QStringLiteral("Command4"), QStringLiteral("Agregar"), {494, 44, 60, 24}),
        &QPushButton::clicked, this, &frmoptimizacion::Command4_Click);
    connect(
        addButton(panel, QStringLiteral("Command5"), QStringLiteral("Quitar"), {494, 72, 60, 24}),
        &QPushButton::clicked, this, &frmoptimizacion::Command5_Click);
}

int frmoptimizacion::buildButtons(QWidget* content) {
    struct Placed {
        QPushButton* button;
        int column;
        int row;
    };
    std::vector<Placed> placed;
    auto button = [&](const char* name, const char* caption, int column, int row, bool enabled) {
        QPushButton* b =
            addButton(content, QString::fromUtf8(name), QString::fromUtf8(caption), {}, enabled);
        placed.push_back({b, column, row});
        return b;
    };
    connect(button("cmdFormular", "&Formular Mínimo Costo", 0, 0, true), &QPushButton::clicked,
            this, &frmoptimizacion::cmdFormular_Click);
    connect(button("cmdUpdate", "Grabar", 0, 1, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdUpdate_Click);
    connect(button("cmdCancel", "Cancelar", 0, 2, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdCancel_Click);
    connect(button("cmdComposicion", "&Composición", 0, 3, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdComposicion_Click);
    connect(button("Command1", "&Análisis de Resultados", 0, 4, true), &QPushButton::clicked, this,
            &frmoptimizacion::Command1_Click);
    connect(button("cmdImprimir", "Imprimir", 1, 0, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdImprimir_Click);
    connect(button("cmdRecalcular", "&Recalcular Valores", 1, 1, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdRecalcular_Click);
    connect(button("Command6", "Guardar como &Ingrediente", 1, 2, true), &QPushButton::clicked,
            this, &frmoptimizacion::Command6_Click);
    connect(button("cmdActuMSeca", "Actualizar &M.Seca", 1, 3, true), &QPushButton::clicked, this,
            &frmoptimizacion::cmdActuMSeca_Click);
    connect(button("cmdActuPrecios", "Actualizar &Precios", 1, 4, true), &QPushButton::clicked,
            this, &frmoptimizacion::cmdActuPrecios_Click);

    // Two columns of buttons 150 wide, or as wide as the longest caption of the column needs.
    int widths[2] = {150, 150};
    for (const Placed& p : placed)
        widths[p.column] = std::max(widths[p.column], p.button->sizeHint().width());
    const int lefts[2] = {580, 580 + widths[0] + 8};
    for (const Placed& p : placed)
        p.button->setGeometry(lefts[p.column], 400 + p.row * 32, widths[p.column], 28);
    const int right = lefts[1] + widths[1];

    QPushButton* close =
        addButton(content, QStringLiteral("cmdClose"), QString(), {right - 40, 596, 40, 34});
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setToolTip(QStringLiteral("Cerrar"));
    connect(close, &QPushButton::clicked, this, &frmoptimizacion::cmdClose_Click);
    return right;
}

void frmoptimizacion::buildMenu() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    QMenu* opciones = bar->addMenu(QStringLiteral("Opciones"));
    opciones->setObjectName(QStringLiteral("mnuopciones"));

    QMenu* formula = opciones->addMenu(QStringLiteral("Fórmula"));
    formula->setObjectName(QStringLiteral("mnuFormula"));
    connect(addEntry(formula, QStringLiteral("mnuFormular"),
                     QStringLiteral("Formular mínimo costo"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdFormular_Click);
    connect(addEntry(formula, QStringLiteral("mnuGrab"), QStringLiteral("Grabar"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdUpdate_Click);
    connect(addEntry(formula, QStringLiteral("mnuCanc"), QStringLiteral("Cancelar"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdCancel_Click);
    connect(addEntry(formula, QStringLiteral("mnuImprimir"), QStringLiteral("Imprimir"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdImprimir_Click);
    connect(addEntry(formula, QStringLiteral("mnuGuardarIng"),
                     QStringLiteral("Guardar como Ingrediente"), true),
            &QAction::triggered, this, &frmoptimizacion::Command6_Click);
    connect(addEntry(formula, QStringLiteral("mnuRecalcular"), QStringLiteral("Recalcular Valores"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::cmdRecalcular_Click);
    connect(addEntry(formula, QStringLiteral("mnuCompForm"),
                     QStringLiteral("Composición de la fórmula"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdComposicion_Click);
    connect(addEntry(formula, QStringLiteral("mnuAnalisis"),
                     QStringLiteral("Análisis de resultados"), true),
            &QAction::triggered, this, &frmoptimizacion::Command1_Click);

    QMenu* nutrientes = opciones->addMenu(QStringLiteral("Nutrientes"));
    nutrientes->setObjectName(QStringLiteral("mnuNutrientes"));
    connect(addEntry(nutrientes, QStringLiteral("mnuAgregar"), QStringLiteral("Agregar"), true),
            &QAction::triggered, this, &frmoptimizacion::Command4_Click);
    connect(addEntry(nutrientes, QStringLiteral("mnnuQuitar"), QStringLiteral("Quitar"), true),
            &QAction::triggered, this, &frmoptimizacion::Command5_Click);
    connect(
        addEntry(nutrientes, QStringLiteral("mnuCurvaNut"), QStringLiteral("Curva de costo"), true),
        &QAction::triggered, this, &frmoptimizacion::mnuCurvaNutriente_Click);

    QMenu* ingredientes = opciones->addMenu(QStringLiteral("Ingredientes"));
    ingredientes->setObjectName(QStringLiteral("mnuIngredientes"));
    connect(addEntry(ingredientes, QStringLiteral("mnuAgreg"), QStringLiteral("Agregar"), true),
            &QAction::triggered, this, &frmoptimizacion::Command3_Click);
    connect(addEntry(ingredientes, QStringLiteral("mnuQuitar"), QStringLiteral("Quitar"), true),
            &QAction::triggered, this, &frmoptimizacion::Command2_Click);
    connect(addEntry(ingredientes, QStringLiteral("mnuVerNut"),
                     QStringLiteral("Ver Nutrientes del ingrediente"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdNutrientes_Click);
    connect(addEntry(ingredientes, QStringLiteral("mnuCurvaIng"), QStringLiteral("Curva de costo"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::mnuCurvaIngrediente_Click);
    connect(addEntry(ingredientes, QStringLiteral("mnuMapaPrecio"),
                     QStringLiteral("Mapa de precio"), true),
            &QAction::triggered, this, &frmoptimizacion::mnuMapaPrecio_Click);

    connect(addEntry(opciones, QStringLiteral("mnuMSeca"),
                     QStringLiteral("Actualizar Materia Seca"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdActuMSeca_Click);
    connect(addEntry(opciones, QStringLiteral("mnuPrecios"), QStringLiteral("Actualizar Precios"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::cmdActuPrecios_Click);
    connect(addEntry(opciones, QStringLiteral("mnuSalir"), QStringLiteral("Salir"), true),
            &QAction::triggered, this, &frmoptimizacion::cmdClose_Click);
}

} // namespace tarvela
