#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>

#include <vector>

// The catalog composition a run or a load works with: the contents of the formula's own
// ingredients in the formula's own nutrients, read with one statement narrowed to their keys and
// handed to every stage.
namespace tarvela::formulation {

// A nutrient's content in an ingredient, on the dry-matter basis.
struct CatalogContent {
    double valor = 0;
};

class FormulaComposition {
public:
    FormulaComposition() = default;
    // Reads the composition rows of every nutrient of the nutrient table in every ingredient of
    // the ingredient table (nothing when either table is empty).
    FormulaComposition(db::Connection& conn, const std::vector<NutrientRow>& nutrients,
                       const std::vector<IngredientRow>& ingredients);
    // The same for the nutrients of the model's nutrient table and of its ratios.
    FormulaComposition(db::Connection& conn, const WorkingModel& model);

    // Filling one from a catalog read beforehand: the ingredients and nutrients the catalog
    // lists, and the content of a nutrient in an ingredient.
    void listIngredient(int idProducto) { ingredients_.insert(idProducto); }
    void listNutrient(int idPropiedad) { nutrients_.insert(idPropiedad); }
    void reserveContents(qsizetype rows) { entries_.reserve(rows); }
    void setContent(int idPropiedad, int idProducto, double valor) {
        entries_.insert(key(idPropiedad, idProducto), CatalogContent{valor});
    }

    // The row as the catalog's composition look-up joined with the ingredients finds it
    // ("select pp.*,p.materia_seca from producto_propiedad pp, productos p where ..."): nullptr
    // when the catalog holds no content of the nutrient in the ingredient, or no longer lists the
    // ingredient.
    const CatalogContent* find(int idPropiedad, int idProducto) const;
    // The content alone, as "select * from producto_propiedad where id_propiedad=" finds it; 0
    // without a row.
    double content(int idPropiedad, int idProducto) const;

    // Whether the catalog still lists the ingredient, the nutrient.
    bool listsIngredient(int idProducto) const { return ingredients_.contains(idProducto); }
    bool listsNutrient(int idPropiedad) const { return nutrients_.contains(idPropiedad); }

private:
    static quint64 key(int idPropiedad, int idProducto) {
        return (static_cast<quint64>(static_cast<quint32>(idPropiedad)) << 32) |
               static_cast<quint32>(idProducto);
    }
    QHash<quint64, CatalogContent> entries_;
    QSet<int> ingredients_;
    QSet<int> nutrients_;
};

// The nutrients whose contents the model's limits read: those of the nutrient table, then the
// numerators and denominators of its ratios (rows with the key alone).
std::vector<NutrientRow> compositionNutrients(const WorkingModel& model);
// The one statement that reads the composition of the given nutrients in the given ingredients
// (keys in any order, repeats allowed; neither list empty). Its rows, as (id_producto,
// id_propiedad, valor): (key, null, null) for each ingredient the catalog lists, (null, key, null)
// for each nutrient it lists, and (ingredient, nutrient, content) for each composition row.
QString compositionStatement(std::vector<int> nutrientKeys, std::vector<int> ingredientKeys);
// A composition row's content: 0 when the row holds none.
inline double compositionContent(const QVariant& valor) {
    return valor.isNull() ? 0.0 : valor.toDouble();
}

// Where a run takes the composition of its formula from: the database, or a catalog read once
// for many runs.
class CompositionSource {
public:
    virtual ~CompositionSource() = default;
    virtual FormulaComposition composition(const std::vector<NutrientRow>& nutrients,
                                           const std::vector<IngredientRow>& ingredients) const = 0;
};

// The composition read from the database, one statement per formula.
class DatabaseComposition : public CompositionSource {
public:
    explicit DatabaseComposition(db::Connection& conn) : conn_(conn) {}
    FormulaComposition composition(const std::vector<NutrientRow>& nutrients,
                                   const std::vector<IngredientRow>& ingredients) const override {
        return FormulaComposition(conn_, nutrients, ingredients);
    }

private:
    db::Connection& conn_;
};

// The unit of each of the formula's nutrients ("%", "Mcal/kg"), by key, as the catalog names it.
QHash<int, QString> nutrientUnits(const WorkingModel& model, db::Connection& conn);

} // namespace tarvela::formulation
