#pragma once

#include "db/connection.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// The ingredients of one base as the imports compare a file with them.
namespace tarvela::imports {

struct BaseIngredient {
    int id = 0;
    QString codigo; // as stored
    QString nombre;
    QString unidad;
    std::optional<double> costo;
    std::optional<double> materiaSeca;
};

struct BaseIngredients {
    std::vector<BaseIngredient> items;
    // Index into items by catalogs::codeKey; a key that two ingredients share maps to -1.
    QHash<QString, int> byCode;

    // The ingredient with the code; nullptr when none. ambiguous is set when several have it.
    const BaseIngredient* find(const QString& code, bool* ambiguous = nullptr) const;
};

// Every ingredient of the base. Throws db::DbError.
BaseIngredients loadBaseIngredients(db::Connection& conn, int base);

// An import applies what its preview showed: when the catalog changed in between, it writes
// nothing and says so.
inline const QString kStalePreview =
    QStringLiteral("El catálogo cambió desde que se leyó el archivo; no se aplicó ningún cambio. "
                   "Lea el archivo nuevamente.");

} // namespace tarvela::imports
