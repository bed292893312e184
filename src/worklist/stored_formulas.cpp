#include "worklist/stored_formulas.h"

#include "db/statements.h"
#include "formulation/loading.h"
#include "formulation/stored_rows.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace tarvela::worklist {

namespace {

using formulation::WorkingModel;

// Keys named in one statement: a thousand formulas take two statements per table.
constexpr size_t kKeysPerStatement = 500;

// The formulas of one statement, by key; rows of one formula come together.
class FormulaSlots {
public:
    FormulaSlots(std::vector<StoredFormula>& formulas, const QHash<int, size_t>& slotOf)
        : formulas_(formulas), slotOf_(slotOf) {}

    // The formula of a key, or nullptr for a key not asked for or whose header is gone.
    StoredFormula* at(int id) {
        if (id != lastId_) {
            lastId_ = id;
            const auto it = slotOf_.constFind(id);
            last_ = it == slotOf_.constEnd() ? nullptr : &formulas_[*it];
            if (last_ && last_->model.formulaId == 0)
                last_ = nullptr;
        }
        return last_;
    }

private:
    std::vector<StoredFormula>& formulas_;
    const QHash<int, size_t>& slotOf_;
    int lastId_ = 0;
    StoredFormula* last_ = nullptr;
};

void readHeaders(db::Connection& conn, const QString& keys, std::vector<StoredFormula>& formulas,
                 const QHash<int, size_t>& slotOf, QChar separator) {
    const db::Result rs = conn.query(
        QStringLiteral("SELECT * FROM formulas WHERE id_formula IN (") + keys + QLatin1Char(')'));
    const int cId = rs.column(QStringLiteral("id_formula"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        const int id = rs.value(r, cId).toInt();
        WorkingModel& model = formulas[slotOf.value(id)].model;
        model.formulaId = id;
        formulation::readStoredHeader(model, rs, r, separator);
    }
}

// The nutrients of each formula by name, as the loading orders them; those the catalog no longer
// lists apart.
void readNutrients(db::Connection& conn, const QString& keys, FormulaSlots& owners) {
    const db::Result rs = conn.query(
        QStringLiteral("SELECT fp.id_formula,") + formulation::storedNutrientColumns() +
        QStringLiteral(",p.id_propiedad AS enCatalogo FROM formula_propiedad fp LEFT JOIN "
                       "propiedades p ON fp.id_propiedad=p.id_propiedad WHERE fp.id_formula IN (") +
        keys + QStringLiteral(") ORDER BY fp.id_formula, p.nombre, fp.id_propiedad"));
    const formulation::StoredNutrients stored(rs);
    const int cFormula = rs.column(QStringLiteral("id_formula"));
    const int cListed = rs.column(QStringLiteral("enCatalogo"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        StoredFormula* formula = owners.at(rs.value(r, cFormula).toInt());
        if (!formula)
            continue;
        formulation::NutrientRow row = stored.row(r);
        if (rs.value(r, cListed).isNull())
            formula->model.missingNutrients.push_back(row.id_propiedad);
        else
            formula->model.rsPropiedades.push_back(std::move(row));
    }
}

// The ingredients of each formula by their share as fed, largest first, as the loading orders
// them; those the catalog no longer lists apart, those without dry matter left out and noted.
void readIngredients(db::Connection& conn, const QString& keys, FormulaSlots& owners) {
    const db::Result rs = conn.query(
        QStringLiteral("SELECT fp.id_formula,") + formulation::storedIngredientColumns() +
        QStringLiteral(",p.id_producto AS enCatalogo FROM formula_producto fp LEFT JOIN "
                       "productos p ON fp.id_producto=p.id_producto WHERE fp.id_formula IN (") +
        keys +
        QStringLiteral(") ORDER BY fp.id_formula, fp.porcentaje_humeda DESC, fp.id_producto"));
    const formulation::StoredIngredients stored(rs);
    const int cFormula = rs.column(QStringLiteral("id_formula"));
    const int cId = rs.column(QStringLiteral("id_producto"));
    const int cListed = rs.column(QStringLiteral("enCatalogo"));
    for (int r = 0; r < rs.rowCount(); ++r) {
        StoredFormula* formula = owners.at(rs.value(r, cFormula).toInt());
        if (!formula)
            continue;
        if (rs.value(r, cListed).isNull()) {
            formula->model.missingIngredients.push_back(rs.value(r, cId).toInt());
            continue;
        }
        QString leftOut;
        std::optional<formulation::IngredientRow> row = stored.row(r, leftOut);
        if (row)
            formula->model.ingredients.push_back(std::move(*row));
        else
            formula->notas << leftOut;
    }
}

// The formulas among the keys that hold ratio or group limits (few do: each is read alone).
void readFormulasWithLimits(db::Connection& conn, const QString& keys, QSet<int>& withLimits) {
    const db::Result rs = conn.query(
        QStringLiteral("SELECT id_formula FROM formula_relacion WHERE id_formula IN (") + keys +
        QStringLiteral(") UNION SELECT id_formula FROM formula_grupo WHERE id_formula IN (") +
        keys + QStringLiteral(")"));
    for (int r = 0; r < rs.rowCount(); ++r)
        withLimits.insert(rs.value(r, 0).toInt());
}

} // namespace

std::vector<StoredFormula> readStoredFormulas(db::Connection& conn, const std::vector<int>& ids,
                                              QChar decimalSeparator) {
    std::vector<StoredFormula> formulas(ids.size());
    // Each key is read into the first place that asks for it, and copied to any later one.
    QHash<int, size_t> slotOf;
    slotOf.reserve(static_cast<qsizetype>(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i)
        slotOf.insert(ids[i], std::min(i, slotOf.value(ids[i], i)));
    std::vector<int> keys(ids);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());

    QSet<int> withLimits;
    for (size_t from = 0; from < keys.size(); from += kKeysPerStatement) {
        const size_t to = std::min(keys.size(), from + kKeysPerStatement);
        QStringList parts;
        parts.reserve(static_cast<qsizetype>(to - from));
        for (size_t k = from; k < to; ++k)
            parts << db::sqlInt(keys[k]);
        const QString list = parts.join(QLatin1Char(','));
        readHeaders(conn, list, formulas, slotOf, decimalSeparator);
        FormulaSlots owners(formulas, slotOf);
        readNutrients(conn, list, owners);
        readIngredients(conn, list, owners);
        readFormulasWithLimits(conn, list, withLimits);
    }

    for (size_t i = 0; i < ids.size(); ++i) {
        const size_t first = slotOf.value(ids[i]);
        if (first != i) {
            formulas[i] = formulas[first];
            continue;
        }
        StoredFormula& formula = formulas[i];
        if (formula.model.formulaId == 0) {
            if (ids[i] != 0) // key 0 names no formula: an empty model, as the loading leaves it
                formula.notas << QStringLiteral("No se pudo establecer la Fórmula");
            continue;
        }
        if (withLimits.contains(formula.model.formulaId))
            formulation::loadRatioAndGroupLimits(formula.model, conn);
        // The loading lists the items gone from the catalog by key.
        std::sort(formula.model.missingNutrients.begin(), formula.model.missingNutrients.end());
        std::sort(formula.model.missingIngredients.begin(), formula.model.missingIngredients.end());
    }
    return formulas;
}

} // namespace tarvela::worklist
