#include "db/text_collation.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace tarvela::db {

namespace {

// What a list at one level of parentheses is: the terms of ORDER BY or GROUP BY, the assignments
// of an update's SET, or anything else.
enum class Clause { Other, OrderOrGroup, Set };

// How the text column at a significant position is compared or sorted as it is: an operand of
// a comparison, a whole ORDER BY or GROUP BY term, or the argument of min() or max(); nothing
// when it is not.
std::optional<CollatedUse> collatedUse(const std::vector<Token>& tokens,
                                       const std::vector<size_t>& significant, int position,
                                       Clause clause) {
    const auto at = [&](int p) -> const Token* {
        return p >= 0 && p < static_cast<int>(significant.size())
                   ? &tokens[significant[static_cast<size_t>(p)]]
                   : nullptr;
    };
    const Token* next = at(position + 1);
    if (isAnySymbol(next, {"(", "."}) || isWord(next, "collate"))
        return std::nullopt; // a function, a table, or a collation given already
    int start = position;
    if (isSymbol(at(position - 1), "."))
        start = position - 2; // qualified: table.column
    const Token* previous = at(start - 1);
    if (isWord(previous, "as"))
        return std::nullopt; // an alias
    if (clause == Clause::Set)
        return std::nullopt; // an update's assignments write values, they compare nothing
    if ((isComparison(next) || isAnyWord(next, {"is", "in", "not", "between"})) &&
        !isArithmetic(previous))
        return CollatedUse::Comparison;
    if (isComparison(previous) && !isArithmetic(next))
        return CollatedUse::Comparison;
    if (clause == Clause::OrderOrGroup && (isWord(previous, "by") || isSymbol(previous, ",")) &&
        (!next || isAnySymbol(next, {",", ")", ";"}) ||
         isAnyWord(next, {"asc", "desc", "limit", "having"})))
        return CollatedUse::OrderOrGroup;
    if (isSymbol(previous, "(") && isAnyWord(at(start - 2), {"min", "max"}) && isSymbol(next, ")"))
        return CollatedUse::MinMax;
    return std::nullopt;
}

} // namespace

bool isTextColumn(const QString& name) {
    static const QStringList columns = {QStringLiteral("codigo"),    QStringLiteral("nombre"),
                                        QStringLiteral("unidad"),    QStringLiteral("producto"),
                                        QStringLiteral("direccion"), QStringLiteral("localidad"),
                                        QStringLiteral("telefono"),  QStringLiteral("mail")};
    return columns.contains(name, Qt::CaseInsensitive);
}

std::vector<CollatedColumn> collatedColumns(const std::vector<Token>& tokens) {
    std::vector<CollatedColumn> out;
    std::vector<size_t> significant;
    for (size_t k = 0; k < tokens.size(); ++k)
        if (tokens[k].kind != TokenKind::Space)
            significant.push_back(k);
    if (significant.empty())
        return out;
    static const QStringList statements = {QStringLiteral("select"),  QStringLiteral("insert"),
                                           QStringLiteral("update"),  QStringLiteral("delete"),
                                           QStringLiteral("replace"), QStringLiteral("with")};
    const auto firstWord = std::find_if(tokens.begin(), tokens.end(),
                                        [](const Token& t) { return t.kind == TokenKind::Word; });
    if (firstWord == tokens.end() || !statements.contains(firstWord->text, Qt::CaseInsensitive))
        return out;

    std::vector<Clause> clauses{Clause::Other}; // one per level of parentheses
    for (size_t s = 0; s < significant.size(); ++s) {
        const Token& t = tokens[significant[s]];
        if (isSymbol(&t, "(")) {
            clauses.push_back(Clause::Other);
        } else if (isSymbol(&t, ")")) {
            if (clauses.size() > 1)
                clauses.pop_back();
        } else if (isWord(&t, "by")) {
            clauses.back() = Clause::OrderOrGroup;
        } else if (isWord(&t, "set")) {
            clauses.back() = Clause::Set;
        } else if (isAnyWord(&t, {"select", "from", "where", "having", "limit", "union", "except",
                                  "intersect", "values"})) {
            clauses.back() = Clause::Other;
        } else if (t.kind == TokenKind::Word && isTextColumn(t.text)) {
            const int position = static_cast<int>(s);
            if (const auto use = collatedUse(tokens, significant, position, clauses.back())) {
                const bool qualified = s >= 2 && isSymbol(&tokens[significant[s - 1]], ".");
                out.push_back(
                    {qualified ? significant[s - 2] : significant[s], significant[s], *use});
            }
        }
    }
    return out;
}

QString applyTextCollation(const QString& sql) {
    const std::vector<Token> tokens = tokenizeSql(sql);
    const std::vector<CollatedColumn> columns = collatedColumns(tokens);
    if (columns.empty())
        return sql;
    const QString collate = QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    QString out;
    out.reserve(sql.size() + 16 * static_cast<qsizetype>(columns.size()));
    size_t next = 0;
    for (size_t k = 0; k < tokens.size(); ++k) {
        out += tokens[k].text;
        if (next < columns.size() && columns[next].last == k) {
            out += collate;
            ++next;
        }
    }
    return out;
}

} // namespace tarvela::db
