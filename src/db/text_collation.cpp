#include "db/text_collation.h"

#include <QStringList>

#include <vector>

namespace tarvela::db {

namespace {

enum class Kind { Space, Word, Literal, Name, Symbol };

struct Token {
    Kind kind;
    QString text;
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// The statement cut into words, literals, quoted names, symbols and the blanks between them;
// joining the texts gives the statement back.
std::vector<Token> tokenize(const QString& sql) {
    static const QStringList twoCharSymbols = {
        QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!="),
        QStringLiteral("=="), QStringLiteral("||"), QStringLiteral("<<"), QStringLiteral(">>")};
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        Kind kind = Kind::Symbol;
        if (c.isSpace()) {
            while (j < n && sql[j].isSpace())
                ++j;
            kind = Kind::Space;
        } else if (c == u'-' && j < n && sql[j] == u'-') {
            while (j < n && sql[j] != u'\n')
                ++j;
            kind = Kind::Space;
        } else if (c == u'/' && j < n && sql[j] == u'*') {
            const qsizetype close = sql.indexOf(QStringLiteral("*/"), j + 1);
            j = close < 0 ? n : close + 2;
            kind = Kind::Space;
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            kind = c == u'\'' ? Kind::Literal : Kind::Name;
        } else if (isWordChar(c)) {
            while (j < n && isWordChar(sql[j]))
                ++j;
            kind = Kind::Word;
        } else if (j < n && twoCharSymbols.contains(sql.mid(i, 2))) {
            j = i + 2;
        }
        tokens.push_back({kind, sql.mid(i, j - i)});
        i = j;
    }
    return tokens;
}

bool isWord(const Token* t, const char* word) {
    return t && t->kind == Kind::Word &&
           t->text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token* t, const char* symbol) {
    return t && t->kind == Kind::Symbol && t->text == QLatin1String(symbol);
}

bool isAnyWord(const Token* t, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (isWord(t, w))
            return true;
    return false;
}

bool isAnySymbol(const Token* t, std::initializer_list<const char*> symbols) {
    for (const char* s : symbols)
        if (isSymbol(t, s))
            return true;
    return false;
}

bool isComparison(const Token* t) {
    return isAnySymbol(t, {"=", "==", "<", ">", "<=", ">=", "<>", "!="});
}

// Operators that bind tighter than a comparison: a column next to one is part of a larger
// operand, whose collation the column must not lend.
bool isArithmetic(const Token* t) {
    return isAnySymbol(t, {"||", "+", "-", "*", "/", "%", "&", "|", "<<", ">>", "~"});
}

// What a list at one level of parentheses is: the terms of ORDER BY or GROUP BY, the assignments
// of an update's SET, or anything else.
enum class Clause { Other, OrderOrGroup, Set };

// Whether the text column at token k is compared or sorted as it is: an operand of a comparison,
// a whole ORDER BY or GROUP BY term, or the argument of min() or max().
bool comparedAsItIs(const std::vector<Token>& tokens, const std::vector<int>& significant,
                    int position, Clause clause) {
    const auto at = [&](int p) -> const Token* {
        return p >= 0 && p < static_cast<int>(significant.size())
                   ? &tokens[static_cast<size_t>(significant[static_cast<size_t>(p)])]
                   : nullptr;
    };
    const Token* next = at(position + 1);
    if (isAnySymbol(next, {"(", "."}) || isWord(next, "collate"))
        return false; // a function, a table, or a collation given already
    int start = position;
    if (isSymbol(at(position - 1), "."))
        start = position - 2; // qualified: table.column
    const Token* previous = at(start - 1);
    if (isWord(previous, "as"))
        return false; // an alias
    if (clause == Clause::Set)
        return false; // an update's assignments write values, they compare nothing
    if ((isComparison(next) || isAnyWord(next, {"is", "in", "not", "between"})) &&
        !isArithmetic(previous))
        return true;
    if (isComparison(previous) && !isArithmetic(next))
        return true;
    if (clause == Clause::OrderOrGroup && (isWord(previous, "by") || isSymbol(previous, ",")) &&
        (!next || isAnySymbol(next, {",", ")", ";"}) ||
         isAnyWord(next, {"asc", "desc", "limit", "having"})))
        return true;
    return isSymbol(previous, "(") && isAnyWord(at(start - 2), {"min", "max"}) &&
           isSymbol(next, ")");
}

} // namespace

bool isTextColumn(const QString& name) {
    static const QStringList columns = {QStringLiteral("codigo"),    QStringLiteral("nombre"),
                                        QStringLiteral("unidad"),    QStringLiteral("producto"),
                                        QStringLiteral("direccion"), QStringLiteral("localidad"),
                                        QStringLiteral("telefono"),  QStringLiteral("mail")};
    return columns.contains(name, Qt::CaseInsensitive);
}

QString applyTextCollation(const QString& sql) {
    qsizetype first = 0;
    while (first < sql.size() && !isWordChar(sql[first]))
        ++first;
    qsizetype end = first;
    while (end < sql.size() && isWordChar(sql[end]))
        ++end;
    static const QStringList statements = {QStringLiteral("select"),  QStringLiteral("insert"),
                                           QStringLiteral("update"),  QStringLiteral("delete"),
                                           QStringLiteral("replace"), QStringLiteral("with")};
    if (!statements.contains(sql.mid(first, end - first), Qt::CaseInsensitive))
        return sql;

    const std::vector<Token> tokens = tokenize(sql);
    std::vector<int> significant;
    for (size_t k = 0; k < tokens.size(); ++k)
        if (tokens[k].kind != Kind::Space)
            significant.push_back(static_cast<int>(k));

    const QString collate = QStringLiteral(" COLLATE ") + QLatin1String(kTextCollation);
    std::vector<Clause> clauses{Clause::Other}; // one per level of parentheses
    QString out;
    out.reserve(sql.size() + 64);
    size_t s = 0; // position in significant
    for (size_t k = 0; k < tokens.size(); ++k) {
        const Token& t = tokens[k];
        out += t.text;
        if (t.kind == Kind::Space)
            continue;
        const int position = static_cast<int>(s++);
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
        } else if (t.kind == Kind::Word && isTextColumn(t.text) &&
                   comparedAsItIs(tokens, significant, position, clauses.back())) {
            out += collate;
        }
    }
    return out;
}

} // namespace tarvela::db
