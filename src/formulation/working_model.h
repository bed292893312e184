#pragma once

#include <QString>

#include <optional>
#include <vector>

// The formulation window's working model: the formula header it shows, the nutrient working
// table, the ingredient working table and the analysis records. Rows change only in memory;
// nothing reaches the database until the formula is saved.
namespace tarvela::formulation {

using Opt = std::optional<double>;

struct NutrientRow {
    int id_propiedad = 0;
    QString nombre;
    Opt minimo;
    Opt maximo;
    Opt valor;
    Opt valorAnterior;
};

struct IngredientRow {
    int id_producto = 0;
    QString nombre;
    Opt materia_seca;
    Opt costo_seca;
    Opt costo_humeda;
    Opt minimo;
    Opt maximo;
    Opt cantidad_seca;
    Opt porcentaje_seca;
    Opt cantidad_humeda;
    Opt porcentaje_humeda;
    Opt costo_total;
    Opt materiaSecaActual;
    Opt costoHumedaActual;
};

// A limit on the ratio of two nutrients' values in the mix, on the formula's nutrient basis
// (the ratio is the same on either basis).
struct RatioRow {
    int id_num = 0; // id_propiedad of the numerator
    int id_den = 0; // id_propiedad of the denominator
    QString nombreNum;
    QString nombreDen;
    Opt minimo;
    Opt maximo;
    Opt valor; // none while the denominator's value in the mix is 0
    Opt valorAnterior;
};

// A limit on the total quantity of a group of ingredients in the batch, in the unit of the
// ingredient limits (batch quantities on the formula's ingredient basis).
struct GroupRow {
    int id_grupo = 0;
    QString nombre;
    std::vector<int> miembros; // id_producto of the group's ingredients in the catalog
    Opt minimo;
    Opt maximo;
    Opt valor;
    Opt valorAnterior;
};

// "Calcio / Fósforo Disponible", and as the grids name the rows: "Relación Calcio / Fósforo
// Disponible", "Grupo Cereales".
QString ratioName(const RatioRow& row);
QString ratioCaption(const RatioRow& row);
QString groupCaption(const GroupRow& row);

// The kinds of sensitivity records, in the order the run makes them.
enum class AnalysisKind {
    IngredientInMix,   // "IA": how far its price may rise before the mix changes
    IngredientLeftOut, // "II": the price at which it would enter
    NutrientLimit,     // "RN": the cost of one unit more of a binding nutrient limit
    IngredientLimit,   // "RI": the same for an ingredient limit
    RatioLimit,        // "RR": the same for a ratio limit
    GroupLimit,        // "RG": the same for a group limit
};

// The record kind's code: "IA", "II", "RN", "RI", "RR", "RG".
QString analysisCode(AnalysisKind kind);

struct AnalysisRecord {
    AnalysisKind kind = AnalysisKind::IngredientInMix;
    QString detalle;
    Opt valor1;
    Opt valor2;
    Opt valor3;
    // Records of binding limits: the values of the limit over which the mix keeps its basis and
    // the limit its cost per unit ("Válido desde", "Válido hasta"); empty = without limit.
    bool ranged = false;
    Opt validoDesde = std::nullopt;
    Opt validoHasta = std::nullopt;
    // The item the record speaks of: id_producto of an ingredient (in or out of the mix, or
    // limited), id_propiedad of a limited nutrient, id_grupo of a group, id_num and id_den of a
    // ratio; which limit of it for the records of binding limits.
    int itemId = 0;
    int itemId2 = 0;
    bool maximo = false;
};

// The header boxes as the window shows them.
struct FormulaHeader {
    QString codigo; // trimmed
    QString version;
    QString producto;
    QString fechaCreacion;     // "dd/mm/yyyy" or empty
    QString fechaModificacion; // "dd/mm/yyyy" or empty
};

// The totals computed by actuResultados.
struct Totals {
    double cantidadSeca = 0;
    double cantidadHumeda = 0;
    double porcentajeSeca = 0; // fraction of 1
    double porcentajeHumeda = 0;
    double costoUnitarioHumeda = 0;
    double costoUnitarioSeca = 0;
    double materiaSeca = 0; // percentage of the mix
    double costoTotal = 0;
};

// The totals boxes' texts ("txtCanH", ...), with the workstation's separator. All empty when a
// run has cleared them.
struct TotalsTexts {
    QString txtMatSeca, txtCanS, txtPorS, txtCanH, txtPorH, txtCosTot, txtCosH, txtCosS;
    bool porSOutOfRange = false; // shown red: the shown share is not exactly 100
    bool porHOutOfRange = false;
};

struct WorkingModel {
    int formulaId = 0; // 0 = no formula
    // The formula row's change stamp as loaded: saving over it refuses a row changed since.
    QString modificado;
    double batchQuantity = 0;
    bool vSecaIng = true;
    bool vSecaNut = true;
    double vCostoHumeda = 0;
    double vMateriaSeca = 0;
    bool loading = false;

    FormulaHeader header;
    QString txtCantidad; // the batch-quantity box
    Totals totals;
    TotalsTexts totalsTexts;

    std::vector<NutrientRow> rsPropiedades;
    std::vector<IngredientRow> ingredients;
    std::vector<RatioRow> relaciones; // by numerator's then denominator's name
    std::vector<GroupRow> grupos;     // by name
    // Keys of the loaded formula's nutrients and ingredients that the catalog no longer lists
    // (deleted by another program or workstation): loading leaves them out, and a run refuses to
    // go on without their limits.
    std::vector<int> missingNutrients;
    std::vector<int> missingIngredients;
    std::vector<AnalysisRecord> rsAnalisis;
    // Label of each constraint row of the last run (index 0 unused).
    std::vector<QString> rowLabels;

    IngredientRow* findIngredient(int idProducto);
    NutrientRow* findNutrient(int idPropiedad);
    RatioRow* findRatio(int idNum, int idDen);
    GroupRow* findGroup(int idGrupo);
    void sortIngredientsById();
    // By porcentaje_seca DESC when ingredients are on dry matter, else porcentaje_humeda DESC
    // (stable: equal shares keep their order).
    void sortIngredientsForDisplay();
    void sortNutrientsByName();
};

// The model's loading flag, set for the life of the object: a formula is being loaded and shown.
class LoadingFlag {
public:
    explicit LoadingFlag(WorkingModel& model) : model_(model) { model_.loading = true; }
    ~LoadingFlag() { model_.loading = false; }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;

private:
    WorkingModel& model_;
};

} // namespace tarvela::formulation
