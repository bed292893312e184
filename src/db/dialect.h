#pragma once

#include <QHash>
#include <QString>

#include <vector>

// The statements of the system are written in Jet's SQL. This turns them into the SQL of the
// engine underneath without touching anything inside string literals:
// - #mm/dd/yyyy# date literals become 'yyyy-mm-dd' texts (dates are stored as ISO text);
// - the words true and false become 1 and 0 (on the server they stay where a condition stands
//   alone: " where true");
// - "double-quoted" texts become 'single-quoted' ones;
// - the concatenation operator & becomes ||;
// - iif(condition, a, b) becomes a CASE, and select top N ... a LIMIT;
// - texts compare and sort with the program's text collation (see applyTextCollation), and like
//   folds case on both sides.
namespace tarvela::db {

// For the embedded file (SQLite).
QString translateStatement(const QString& jetSql);

// A statement for the server (PostgreSQL) and what the connection does with its rows.
struct ServerStatement {
    QString sql;
    // The server gives result names in lower case: the names as the statement wrote them, by
    // their lower-case form (aliases and mixed-case column names).
    QHash<QString, QString> columnNames;
    // Format(value, pattern) in the result list is done by the program on the value read, as
    // on the file: the result column (by position, or by lower-case name after a "*") and its
    // pattern.
    struct Formatted {
        int column;   // -1: by name
        QString name; // lower case
        QString pattern;
    };
    std::vector<Formatted> formatted;
};

ServerStatement translateForServer(const QString& jetSql);

// Jet's date literals, quotes, brackets, & and booleans, for either engine (the first step of
// both translations). forServer keeps true and false where a condition stands alone.
QString translateJetWords(const QString& jetSql, bool forServer);
// iif(...) as CASE WHEN ... THEN ... ELSE ... END and select top N as LIMIT N.
QString rewriteIifAndTop(const QString& sql);

} // namespace tarvela::db
