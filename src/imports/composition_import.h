#pragma once

#include "catalogs/ingredient_catalog.h"
#include "catalogs/price_history.h"
#include "db/connection.h"
#include "files/table.h"
#include "imports/base_ingredients.h"
#include "imports/table_layout.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

// A composition table from a file: one row per ingredient (código, nombre, unidad, costo,
// materia seca) and one column per nutrient, named by the nutrient's name (a unit in
// parentheses may follow). It builds or refreshes the catalog of a base: new nutrients and new
// ingredients are created as their windows create them, values that differ are rewritten, and
// an empty cell leaves the stored value as it is. Previewed first, applied in one transaction.
namespace tarvela::imports {

// The columns of an ingredient's fields; -1 for one the file lacks.
struct CompositionColumns {
    int code = -1;
    int name = -1;
    int unit = -1;
    int price = -1;
    int dryMatter = -1;

    bool holds(int column) const {
        return column == code || column == name || column == unit || column == price ||
               column == dryMatter;
    }
};

// A composition table as read from its file, before the catalog is looked at: its layout, the
// fields' columns, and every other column's cells read as numbers, once.
struct CompositionFile {
    std::shared_ptr<const files::Table> table; // the rows the layout points to
    TableLayout layout;
    CompositionColumns columns;
    // By column (empty for the code, name and unit columns), one cell per data row.
    std::vector<std::vector<NumberCell>> numbers;
    QString error; // the table is not a composition table: why, for the user
};

// Finds the columns código (required), nombre, unidad, costo or precio, materia seca by their
// headings; every other column is a nutrient's.
CompositionFile readCompositionFile(files::Table table);

// A new ingredient: a row whose code the base lacks.
struct NewIngredient {
    int fila = 0;
    catalogs::IngredientBoxes boxes; // as createIngredient takes them; numbers in C form
    int values = 0;                  // nutrient values the row gives

    bool operator==(const NewIngredient&) const = default;
};

// A nutrient column whose heading names no nutrient: created with the heading's unit, or "%".
struct NewNutrient {
    int column = 0; // from 0
    QString nombre;
    QString unidad;

    bool operator==(const NewNutrient&) const = default;
};

// One value of an existing ingredient: a field (Nombre, Unidad, Costo, Materia Seca) or a
// nutrient's content. A number is a double, a text a QString, a missing value null.
struct ValueChange {
    int fila = 0;
    QString codigo;
    QString ingrediente;
    QString campo;
    QVariant antes;
    QVariant despues;

    bool operator==(const ValueChange&) const = default;
};

struct RefusedCell {
    int fila = 0;   // 0: the whole column
    QString motivo; // where and why

    bool operator==(const RefusedCell&) const = default;
};

// What applying does for one row of the file.
struct PlannedRow {
    int idProducto = 0;              // 0: a new ingredient, created from boxes
    catalogs::IngredientBoxes boxes; // the ingredient's fields after applying
    bool fieldsChange = false;       // an existing ingredient's fields are rewritten
    std::optional<catalogs::PriceChange> priceChange;
    std::vector<std::pair<int, double>> values; // nutrient column index, value to store
    QStringList compositionChanges;             // "nutriente: antes → después", for the record

    bool operator==(const PlannedRow&) const = default;
};

// A nutrient column: the nutrient it names, or 0 for one to create.
struct NutrientColumn {
    int column = 0;
    int idPropiedad = 0;
    QString nombre;

    bool operator==(const NutrientColumn&) const = default;
};

struct CompositionPreview {
    std::vector<NewIngredient> newIngredients;
    std::vector<NewNutrient> newNutrients;
    std::vector<ValueChange> changed;
    std::vector<ValueChange> unchanged;
    std::vector<RefusedCell> refused;

    std::vector<NutrientColumn> nutrients;
    std::vector<PlannedRow> plan;

    bool hasChanges() const {
        return !newIngredients.empty() || !newNutrients.empty() || !changed.empty();
    }
    bool operator==(const CompositionPreview&) const = default;
};

// The fields' names as the preview lists them.
inline const QString kFieldNombre = QStringLiteral("Nombre");
inline const QString kFieldUnidad = QStringLiteral("Unidad");
inline const QString kFieldCosto = QStringLiteral("Costo");
inline const QString kFieldMateriaSeca = QStringLiteral("Materia Seca");

// Compares the table with the catalog of the base. Rows are matched by code as the ingredient
// window's duplicate check compares codes; nutrient columns by name without regard to case or
// accents, the unit in parentheses, when given, matching the nutrient's. Throws db::DbError.
CompositionPreview previewComposition(db::Connection& conn, int base, const CompositionFile& file);

struct CompositionApplication {
    int newIngredients = 0;
    int newNutrients = 0;
    int changedValues = 0;
    bool stale = false; // the catalog changed after the preview: nothing was written
};

// Applies the preview's plan in one transaction: new nutrients (createNutrient), new ingredients
// (their key and row as insertIngredientRow gives them, with a composition row for every
// nutrient: the file's value or 0), fields and contents that change, and one precios_historial row
// per ingredient whose price or dry matter changes (moment `when`, origin the file's name). The
// preview is made again inside the transaction; when it differs from the one the user saw,
// nothing is written and stale is set. Refused cells are never written. Throws db::DbError or
// db::KeyError; then nothing is written.
CompositionApplication applyComposition(db::Connection& conn, int base, const CompositionFile& file,
                                        const CompositionPreview& seen, const QString& origen,
                                        const QDateTime& when);

} // namespace tarvela::imports
