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
    ingredientGrid_->resize(ingredientGrid_->width() + extra, ingredientGrid_->height());
    setFixedSize(sizeHint());
}

void frmoptimizacion::buildHeader(QWidget* content) {
    codeBox_ = addBox(content, QStringLiteral("txt_CodFormula"), QStringLiteral("Código"),
                      {8, 24, 110, 22});
    addButton(content, QStringLiteral("cmdBuscaFormula"), QStringLiteral("&Fórmulas"),
              {122, 23, 72, 24});
    versionBox_ = addBox(content, QStringLiteral("txt_VerFormula"), QStringLiteral("Versión"),
                         {202, 24, 50, 22});
    productBox_ = addBox(content, QStringLiteral("txt_Formula"), QStringLiteral("Producto"),
                         {260, 24, 330, 22});
    createdBox_ = addBox(content, QStringLiteral("txt_FecCFormula"), QStringLiteral("Creada"),
                         {598, 24, 90, 22});
    modifiedBox_ = addBox(content, QStringLiteral("txt_FecMFormula"), QStringLiteral("Modificada"),
                          {696, 24, 90, 22});
    for (QLineEdit* box : {codeBox_, versionBox_, productBox_, createdBox_, modifiedBox_})
        box->setReadOnly(true);

    auto* label = new QLabel(QStringLiteral("Cantidad a elaborar"), content);
    label->setGeometry(8, 54, 120, 18);
    batchQuantityBox_ = new QLineEdit(content);
    batchQuantityBox_->setObjectName(QStringLiteral("txt_Cantidad"));
    batchQuantityBox_->setGeometry(130, 52, 90, 22);
    batchQuantityBox_->setAlignment(Qt::AlignRight);
    batchQuantityBox_->installEventFilter(this);
    connect(batchQuantityBox_, &QLineEdit::editingFinished, this,
            &frmoptimizacion::takeBatchQuantity);

    auto* frame = new QGroupBox(content);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(236, 46, 230, 30);
    ingredientBasisGroup_ = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("Mat. Seca"), QStringLiteral("Mat. Húmeda")};
    for (int i = 0; i < 2; ++i) {
        ingredientBasisOptions_[i] = new QRadioButton(captions[i], frame);
        ingredientBasisOptions_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        ingredientBasisOptions_[i]->setGeometry(
            8 + i * 105, 6, std::max(100, ingredientBasisOptions_[i]->sizeHint().width()), 20);
        ingredientBasisGroup_->addButton(ingredientBasisOptions_[i], i);
        connect(ingredientBasisOptions_[i], &QRadioButton::clicked, this,
                [this, i] { chooseIngredientBasis(i); });
    }
}

void frmoptimizacion::buildIngredientPanel(QWidget* content) {
    ingredientPanel_ = new QGroupBox(QStringLiteral("Ingredientes"), content);
    ingredientPanel_->setObjectName(QStringLiteral("Frame2"));
    ingredientPanel_->setGeometry(8, 82, 884, 304);

    ingredientGrid_ = new QTableWidget(ingredientPanel_);
    ingredientGrid_->setObjectName(QStringLiteral("flexProd"));
    ingredientGrid_->setGeometry(8, 20, 868, 200);
    setupReadOnlyGrid(*ingredientGrid_);

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
    unitCostAsFedBox_ = addBox(ingredientPanel_, QStringLiteral("txtCosH"),
                               QStringLiteral("Costo U.Húmeda"), {8, 244, 100, 22});
    unitCostDryBox_ = addBox(ingredientPanel_, QStringLiteral("txtCosS"),
                             QStringLiteral("Costo U. Seca"), {114, 244, 100, 22});
    for (QLineEdit* box : {unitCostAsFedBox_, unitCostDryBox_}) {
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
    }

    connect(addButton(ingredientPanel_, QStringLiteral("Command3"), QStringLiteral("Agregar"),
                      {8, 274, 80, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::addIngredient);
    connect(addButton(ingredientPanel_, QStringLiteral("Command2"), QStringLiteral("Quitar"),
                      {92, 274, 80, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::removeIngredient);
    connect(addButton(ingredientPanel_, QStringLiteral("cmdNutrientes"),
                      QStringLiteral("Ver &Nutrientes"), {176, 274, 110, 24}),
            &QPushButton::clicked, this, &frmoptimizacion::showIngredientComposition);
}

void frmoptimizacion::buildNutrientPanel(QWidget* content) {
    auto* panel = new QGroupBox(QStringLiteral("Nutrientes"), content);
    panel->setObjectName(QStringLiteral("Frame3"));
    panel->setGeometry(8, 390, 560, 244);

    nutrientTabs_ = new QTabWidget(panel);
    nutrientTabs_->setObjectName(QStringLiteral("SSTab1"));
    nutrientTabs_->setGeometry(8, 20, 480, 216);

    auto* tab0 = new QWidget;
    nutrientGrid_ = new QTableWidget(tab0);
    nutrientGrid_->setObjectName(QStringLiteral("flexProp"));
    nutrientGrid_->setGeometry(4, 4, 468, 180);
    setupReadOnlyGrid(*nutrientGrid_);
    nutrientTabs_->addTab(tab0, QStringLiteral("Nutrientes"));

    auto* tab1 = new QWidget;
    auto* text = new QLabel(
        QStringLiteral(
            "Indique el Tipo de Base utilizada para expresar los nutrientes de la fórmula"),
        tab1);
    text->setWordWrap(true);
    text->setGeometry(16, 16, 440, 40);
    nutrientBasisGroup_ = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("Base Seca"), QStringLiteral("Base Húmeda")};
    for (int i = 0; i < 2; ++i) {
        nutrientBasisOptions_[i] = new QRadioButton(captions[i], tab1);
        nutrientBasisOptions_[i]->setObjectName(QStringLiteral("Option2_%1").arg(i));
        nutrientBasisOptions_[i]->setGeometry(40, 70 + i * 28, 160, 22);
        nutrientBasisGroup_->addButton(nutrientBasisOptions_[i], i);
        connect(nutrientBasisOptions_[i], &QRadioButton::clicked, this,
                [this, i] { chooseNutrientBasis(i); });
    }
    nutrientTabs_->addTab(tab1, QStringLiteral("Base Seca"));
    buildLimitsTab();

    connect(
        addButton(panel, QStringLiteral("Command4"), QStringLiteral("Agregar"), {494, 44, 60, 24}),
        &QPushButton::clicked, this, &frmoptimizacion::addNutrient);
    connect(
        addButton(panel, QStringLiteral("Command5"), QStringLiteral("Quitar"), {494, 72, 60, 24}),
        &QPushButton::clicked, this, &frmoptimizacion::removeNutrient);
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
            this, &frmoptimizacion::formulate);
    connect(button("cmdUpdate", "Grabar", 0, 1, true), &QPushButton::clicked, this,
            [this] { save(); });
    connect(button("cmdCancel", "Cancelar", 0, 2, true), &QPushButton::clicked, this,
            &frmoptimizacion::discardChanges);
    connect(button("cmdComposicion", "&Composición", 0, 3, true), &QPushButton::clicked, this,
            &frmoptimizacion::showComposition);
    connect(button("Command1", "&Análisis de Resultados", 0, 4, true), &QPushButton::clicked, this,
            &frmoptimizacion::showAnalysis);
    connect(button("cmdImprimir", "Imprimir", 1, 0, true), &QPushButton::clicked, this,
            &frmoptimizacion::print);
    connect(button("cmdRecalcular", "&Recalcular Valores", 1, 1, true), &QPushButton::clicked, this,
            &frmoptimizacion::recalculate);
    connect(button("Command6", "Guardar como &Ingrediente", 1, 2, true), &QPushButton::clicked,
            this, &frmoptimizacion::saveAsIngredient);
    connect(button("cmdActuMSeca", "Actualizar &M.Seca", 1, 3, true), &QPushButton::clicked, this,
            &frmoptimizacion::refreshDryMatter);
    connect(button("cmdActuPrecios", "Actualizar &Precios", 1, 4, true), &QPushButton::clicked,
            this, &frmoptimizacion::refreshPrices);

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
    connect(close, &QPushButton::clicked, this, &QDialog::close);
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
            &QAction::triggered, this, &frmoptimizacion::formulate);
    connect(addEntry(formula, QStringLiteral("mnuGrab"), QStringLiteral("Grabar"), true),
            &QAction::triggered, this, [this] { save(); });
    connect(addEntry(formula, QStringLiteral("mnuCanc"), QStringLiteral("Cancelar"), true),
            &QAction::triggered, this, &frmoptimizacion::discardChanges);
    connect(addEntry(formula, QStringLiteral("mnuImprimir"), QStringLiteral("Imprimir"), true),
            &QAction::triggered, this, &frmoptimizacion::print);
    connect(addEntry(formula, QStringLiteral("mnuGuardarIng"),
                     QStringLiteral("Guardar como Ingrediente"), true),
            &QAction::triggered, this, &frmoptimizacion::saveAsIngredient);
    connect(addEntry(formula, QStringLiteral("mnuRecalcular"), QStringLiteral("Recalcular Valores"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::recalculate);
    connect(addEntry(formula, QStringLiteral("mnuCompForm"),
                     QStringLiteral("Composición de la fórmula"), true),
            &QAction::triggered, this, &frmoptimizacion::showComposition);
    connect(addEntry(formula, QStringLiteral("mnuAnalisis"),
                     QStringLiteral("Análisis de resultados"), true),
            &QAction::triggered, this, &frmoptimizacion::showAnalysis);

    QMenu* nutrientes = opciones->addMenu(QStringLiteral("Nutrientes"));
    nutrientes->setObjectName(QStringLiteral("mnuNutrientes"));
    connect(addEntry(nutrientes, QStringLiteral("mnuAgregar"), QStringLiteral("Agregar"), true),
            &QAction::triggered, this, &frmoptimizacion::addNutrient);
    connect(addEntry(nutrientes, QStringLiteral("mnnuQuitar"), QStringLiteral("Quitar"), true),
            &QAction::triggered, this, &frmoptimizacion::removeNutrient);
    connect(
        addEntry(nutrientes, QStringLiteral("mnuCurvaNut"), QStringLiteral("Curva de costo"), true),
        &QAction::triggered, this, &frmoptimizacion::showNutrientCurve);

    QMenu* ingredientes = opciones->addMenu(QStringLiteral("Ingredientes"));
    ingredientes->setObjectName(QStringLiteral("mnuIngredientes"));
    connect(addEntry(ingredientes, QStringLiteral("mnuAgreg"), QStringLiteral("Agregar"), true),
            &QAction::triggered, this, &frmoptimizacion::addIngredient);
    connect(addEntry(ingredientes, QStringLiteral("mnuQuitar"), QStringLiteral("Quitar"), true),
            &QAction::triggered, this, &frmoptimizacion::removeIngredient);
    connect(addEntry(ingredientes, QStringLiteral("mnuVerNut"),
                     QStringLiteral("Ver Nutrientes del ingrediente"), true),
            &QAction::triggered, this, &frmoptimizacion::showIngredientComposition);
    connect(addEntry(ingredientes, QStringLiteral("mnuCurvaIng"), QStringLiteral("Curva de costo"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::showIngredientCurve);
    connect(addEntry(ingredientes, QStringLiteral("mnuMapaPrecio"),
                     QStringLiteral("Mapa de precio"), true),
            &QAction::triggered, this, &frmoptimizacion::showPriceMap);

    connect(addEntry(opciones, QStringLiteral("mnuMSeca"),
                     QStringLiteral("Actualizar Materia Seca"), true),
            &QAction::triggered, this, &frmoptimizacion::refreshDryMatter);
    connect(addEntry(opciones, QStringLiteral("mnuPrecios"), QStringLiteral("Actualizar Precios"),
                     true),
            &QAction::triggered, this, &frmoptimizacion::refreshPrices);
    connect(addEntry(opciones, QStringLiteral("mnuSalir"), QStringLiteral("Salir"), true),
            &QAction::triggered, this, &QDialog::close);
}

} // namespace tarvela
