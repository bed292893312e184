// The statements of the system for the server. After Jet's words (translateJetWords), a
// statement takes the server's forms of what the file's engine does with its registered
// functions and collation:
// - a text column compared or sorted with the program's collation compares its key instead,
//   tarvela_clave(column), and so does the other side of the comparison; max() and min() of a
//   text column become tarvela_max() and tarvela_min();
// - like folds case on both sides, tarvela_pliegue(x) like tarvela_pliegue(pattern), with no
//   escape character unless one is given (as on the file);
// - Format(value, pattern) in the result list is left to the program (the connection formats
//   the values it reads with the same formatter as the file's engine);
// - a subquery in FROM gets the name the server requires;
// - "?" placeholders become $1, $2, ...; char(code) becomes chr(code);
// - INSERT OR REPLACE becomes an insert that updates the row its key already names;
// - tables are created with the server's types: REAL is DOUBLE PRECISION, an INTEGER PRIMARY KEY
//   that the engine numbers is an identity column, WITHOUT ROWID goes.
// The functions are created with the schema (see server_functions.h).
#include "db/dialect.h"
#include "db/schema.h"

#include "db/sql_tokens.h"
#include "db/text_collation.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>
#include <set>

namespace tarvela::db {

namespace {

class Rewriter {
public:
    explicit Rewriter(const QString& sql) : tokens_(tokenizeSql(sql)) {
        for (size_t k = 0; k < tokens_.size(); ++k)
            if (tokens_[k].kind != TokenKind::Space)
                sig_.push_back(k);
    }

    const std::vector<Token>& tokens() const { return tokens_; }
    size_t size() const { return sig_.size(); }
    const Token* at(long s) const {
        return s >= 0 && s < static_cast<long>(sig_.size()) ? &tokens_[sig_[static_cast<size_t>(s)]]
                                                            : nullptr;
    }
    // The significant position of a token index.
    long positionOf(size_t token) const {
        const auto it = std::lower_bound(sig_.begin(), sig_.end(), token);
        return static_cast<long>(it - sig_.begin());
    }

    void prefix(long s, const QString& text) { before_[sig_[static_cast<size_t>(s)]] += text; }
    // Text after a token: a closing parenthesis goes inside what was added after it before,
    // appended text outside.
    void suffix(long s, const QString& text) { after_[sig_[static_cast<size_t>(s)]].prepend(text); }
    void append(long s, const QString& text) { after_[sig_[static_cast<size_t>(s)]] += text; }
    void replace(long s, const QString& text) { replaced_[sig_[static_cast<size_t>(s)]] = text; }
    void wrap(long first, long last, const QString& function) {
        if (!wrapped_.insert({first, last}).second)
            return;
        prefix(first, function + QLatin1Char('('));
        suffix(last, QStringLiteral(")"));
    }

    QString text() const {
        QString out;
        for (size_t k = 0; k < tokens_.size(); ++k) {
            if (const auto b = before_.find(k); b != before_.end())
                out += b->second;
            const auto r = replaced_.find(k);
            out += r != replaced_.end() ? r->second : tokens_[k].text;
            if (const auto a = after_.find(k); a != after_.end())
                out += a->second;
        }
        return out;
    }

    // The position of the parenthesis that matches the one at s (forward for "(", backward for
    // ")"); -1 when there is none.
    long matching(long s) const {
        const bool forward = isSymbol(at(s), "(");
        int depth = 0;
        for (long p = s; p >= 0 && p < static_cast<long>(size()); p += forward ? 1 : -1) {
            if (isSymbol(at(p), "("))
                depth += forward ? 1 : -1;
            else if (isSymbol(at(p), ")"))
                depth += forward ? -1 : 1;
            if (depth == 0)
                return p;
        }
        return -1;
    }

    // The last position of the operand that starts at s: a literal, a placeholder, a name
    // (table.column), a function call or a parenthesised expression, with what arithmetic joins
    // to it ('%' || ? || '%').
    long operandEnd(long s) const {
        long end = s;
        if (isAnySymbol(at(s), {"-", "+"}))
            end = s + 1;
        if (isSymbol(at(end), "(")) {
            end = matching(end);
        } else if (at(end) && at(end)->kind == TokenKind::Word && isSymbol(at(end + 1), "(")) {
            end = matching(end + 1);
        } else if (isSymbol(at(end + 1), ".") && at(end + 2)) {
            end += 2;
        }
        if (end < 0)
            return static_cast<long>(size()) - 1;
        if (isArithmetic(at(end + 1)) && at(end + 2))
            return operandEnd(end + 2);
        return end;
    }

    // The first position of the operand that ends at s.
    long operandStart(long s) const {
        static const std::initializer_list<const char*> keywords = {
            "and",  "or",       "not",    "where",  "on",     "having",  "when",
            "then", "else",     "in",     "exists", "select", "from",    "join",
            "by",   "set",      "values", "as",     "case",   "between", "like",
            "is",   "distinct", "all",    "union",  "limit",  "return"};
        long start = s;
        if (isSymbol(at(s), ")")) {
            start = matching(s);
            if (start < 0)
                return 0;
            const Token* name = at(start - 1);
            if (name && name->kind == TokenKind::Word && !isAnyWord(name, keywords))
                --start;
        } else if (isSymbol(at(s - 1), ".") && at(s - 2)) {
            start = s - 2;
        }
        if (isAnySymbol(at(start - 1), {"-", "+"}) &&
            (start < 2 || isComparison(at(start - 2)) || isSymbol(at(start - 2), "(")))
            --start;
        if (isArithmetic(at(start - 1)) && start >= 2)
            return operandStart(start - 2);
        return start;
    }

private:
    std::vector<Token> tokens_;
    std::vector<size_t> sig_;
    std::map<size_t, QString> before_;
    std::map<size_t, QString> after_;
    std::map<size_t, QString> replaced_;
    std::set<std::pair<long, long>> wrapped_;
};

const QString kKey = QStringLiteral("tarvela_clave");
const QString kFold = QStringLiteral("tarvela_pliegue");

// Whether the column at first is an ORDER BY term rather than a GROUP BY one.
bool inOrderBy(const Rewriter& r, long first) {
    int depth = 0;
    for (long p = first - 1; p >= 1; --p) {
        if (isSymbol(r.at(p), ")"))
            ++depth;
        else if (isSymbol(r.at(p), "(") && depth-- == 0)
            return false;
        else if (depth == 0 && isWord(r.at(p), "by"))
            return isWord(r.at(p - 1), "order");
    }
    return false;
}

// The collated columns and the other side of their comparisons compare their keys.
void applyServerCollation(Rewriter& r) {
    for (const CollatedColumn& column : collatedColumns(r.tokens())) {
        const long first = r.positionOf(column.first);
        const long last = r.positionOf(column.last);
        switch (column.use) {
        case CollatedUse::MinMax:
            r.replace(first - 2, QStringLiteral("tarvela_") + r.at(first - 2)->text.toLower());
            break;
        case CollatedUse::OrderOrGroup:
            // Groups stay exact: the grouped column must be the one the result lists.
            if (inOrderBy(r, first))
                r.wrap(first, last, kKey);
            break;
        case CollatedUse::Comparison: {
            long next = last + 1;
            if (isWord(r.at(next), "not"))
                ++next;
            if (isWord(r.at(next), "is"))
                break; // is null compares nothing
            if (isComparison(r.at(next)) && r.at(next + 1)) {
                r.wrap(first, last, kKey);
                r.wrap(next + 1, r.operandEnd(next + 1), kKey);
            } else if (isWord(r.at(next), "between") && r.at(next + 1)) {
                const long low = r.operandEnd(next + 1);
                if (!isWord(r.at(low + 1), "and") || !r.at(low + 2))
                    break;
                r.wrap(first, last, kKey);
                r.wrap(next + 1, low, kKey);
                r.wrap(low + 2, r.operandEnd(low + 2), kKey);
            } else if (isWord(r.at(next), "in") && isSymbol(r.at(next + 1), "(")) {
                if (isWord(r.at(next + 2), "select"))
                    break; // a subquery's values compare as they are
                r.wrap(first, last, kKey);
                const long close = r.matching(next + 1);
                for (long item = next + 2; item > 0 && item < close;) {
                    const long end = r.operandEnd(item);
                    r.wrap(item, end, kKey);
                    item = end + 2;
                }
            } else if (isComparison(r.at(first - 1)) && first >= 2) {
                r.wrap(first, last, kKey);
                r.wrap(r.operandStart(first - 2), first - 2, kKey);
            }
            break;
        }
        }
    }
}

// like folds case on both sides; with no ESCAPE clause, no character escapes.
void foldLike(Rewriter& r) {
    for (long s = 1; s + 1 < static_cast<long>(r.size()); ++s) {
        if (!isWord(r.at(s), "like"))
            continue;
        const long leftEnd = isWord(r.at(s - 1), "not") ? s - 2 : s - 1;
        if (leftEnd < 0)
            continue;
        const long rightEnd = r.operandEnd(s + 1);
        r.wrap(r.operandStart(leftEnd), leftEnd, kFold);
        r.wrap(s + 1, rightEnd, kFold);
        if (!isWord(r.at(rightEnd + 1), "escape"))
            r.append(rightEnd, QStringLiteral(" ESCAPE ''"));
    }
}

// Format(value, 'pattern') as a whole item of a result list: the value is read as it is, and
// formatted by the program. The outermost list's items are known by position (until a "*"),
// those of a subquery by the name under which the outer statement reads them.
void takeFormats(Rewriter& r, ServerStatement& out) {
    const long size = static_cast<long>(r.size());
    for (long select = 0; select < size; ++select) {
        if (!isWord(r.at(select), "select"))
            continue;
        const bool outermost = select == 0;
        long s = select + 1;
        if (isAnyWord(r.at(s), {"distinct", "all"}))
            ++s;
        int column = 0;
        bool afterStar = !outermost;
        while (s < size && !isWord(r.at(s), "from") && !isSymbol(r.at(s), ")")) {
            // One item of the list: from s to the comma, from or closing parenthesis at its depth.
            long end = s;
            while (end < size && !isSymbol(r.at(end), ",") && !isWord(r.at(end), "from") &&
                   !isSymbol(r.at(end), ")")) {
                if (isSymbol(r.at(end), "(")) {
                    const long close = r.matching(end);
                    end = close < 0 ? size : close + 1;
                } else {
                    ++end;
                }
            }
            const long last = end - 1;
            if (isSymbol(r.at(last), "*"))
                afterStar = true;
            if (isWord(r.at(s), "format") && isSymbol(r.at(s + 1), "(")) {
                const long close = r.matching(s + 1);
                // The pattern: the literal before the closing parenthesis, after a comma.
                const Token* pattern = r.at(close - 1);
                const bool formatted = close > s + 4 && isSymbol(r.at(close - 2), ",") && pattern &&
                                       pattern->kind == TokenKind::Literal;
                const bool aliased = close + 3 == end && isWord(r.at(close + 1), "as");
                const bool alone = close + 1 == end || aliased ||
                                   (close + 2 == end && r.at(close + 1) &&
                                    r.at(close + 1)->kind == TokenKind::Word);
                if (formatted && alone) {
                    QString text = pattern->text.mid(1, pattern->text.size() - 2);
                    text.replace(QStringLiteral("''"), QStringLiteral("'"));
                    const QString name =
                        close + 1 < end ? r.at(end - 1)->text.toLower() : QStringLiteral("format");
                    out.formatted.push_back({afterStar ? -1 : column, name, text});
                    r.replace(s, QString());
                    r.replace(s + 1, QString());
                    for (long p = close - 2; p <= close; ++p)
                        r.replace(p, QString());
                    if (close + 1 == end) // the column keeps a name of its own
                        r.append(close, QStringLiteral(" AS format"));
                }
            }
            ++column;
            s = end;
            if (isSymbol(r.at(s), ","))
                ++s;
        }
    }
}

// A subquery in FROM or JOIN without a name gets one.
void nameSubqueries(Rewriter& r) {
    static const std::initializer_list<const char*> notNames = {
        "where",     "order", "group",  "having",  "limit", "union", "except",
        "intersect", "left",  "right",  "inner",   "outer", "full",  "cross",
        "join",      "on",    "offset", "natural", "window"};
    int named = 0;
    for (long s = 0; s + 2 < static_cast<long>(r.size()); ++s) {
        if (!isAnyWord(r.at(s), {"from", "join"}) || !isSymbol(r.at(s + 1), "(") ||
            !isWord(r.at(s + 2), "select"))
            continue;
        const long close = r.matching(s + 1);
        if (close < 0)
            continue;
        const Token* next = r.at(close + 1);
        if (next &&
            (isWord(next, "as") || (next->kind == TokenKind::Word && !isAnyWord(next, notNames)) ||
             next->kind == TokenKind::Name))
            continue;
        r.append(close, QStringLiteral(" AS subconsulta%1").arg(++named));
    }
}

// The file's char(code) is the server's chr(code).
void characterFunction(Rewriter& r) {
    for (long s = 0; s + 1 < static_cast<long>(r.size()); ++s)
        if (isWord(r.at(s), "char") && isSymbol(r.at(s + 1), "(") && !isWord(r.at(s - 1), "as"))
            r.replace(s, QStringLiteral("chr"));
}

void numberPlaceholders(Rewriter& r) {
    int number = 0;
    for (long s = 0; s < static_cast<long>(r.size()); ++s)
        if (isSymbol(r.at(s), "?"))
            r.replace(s, QLatin1Char('$') + QString::number(++number));
}

// The names as written, for the result's columns.
void recordNames(const Rewriter& r, ServerStatement& out) {
    for (long s = 0; s < static_cast<long>(r.size()); ++s) {
        const Token* t = r.at(s);
        if (t->kind != TokenKind::Word || t->text == t->text.toLower())
            continue;
        const QString lower = t->text.toLower();
        // An alias wins over a column of the same name written elsewhere.
        if (isWord(r.at(s - 1), "as") || !out.columnNames.contains(lower))
            out.columnNames.insert(lower, t->text);
    }
}

// CREATE TABLE and ALTER TABLE with the server's types.
QString serverDefinition(const QString& sql) {
    Rewriter r(sql);
    for (long s = 0; s < static_cast<long>(r.size()); ++s) {
        const Token* t = r.at(s);
        if (isWord(t, "real")) {
            r.replace(s, QStringLiteral("DOUBLE PRECISION"));
        } else if (isWord(t, "without") && isWord(r.at(s + 1), "rowid")) {
            r.replace(s, QString());
            r.replace(s + 1, QString());
        } else if (isWord(t, "autoincrement")) {
            r.replace(s, QString());
        } else if (isWord(t, "integer") && isWord(r.at(s + 1), "primary") &&
                   isWord(r.at(s + 2), "key")) {
            // The engine numbers the rows of an INTEGER PRIMARY KEY given no value.
            r.replace(s, QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY"));
        }
    }
    return r.text();
}

// The key columns of a table of the schema: its PRIMARY KEY (...), or the column declared PRIMARY
// KEY; none for a table the schema does not create.
QStringList keyColumnsOf(const QString& table) {
    static const QRegularExpression composite(QStringLiteral("PRIMARY KEY \\(([^)]*)\\)"));
    static const QRegularExpression single(QStringLiteral("[(,]\\s*(\\w+)[^,(]*PRIMARY KEY"));
    const QString head = QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (");
    for (const char* statement : schemaStatements()) {
        const QString text = QString::fromUtf8(statement);
        if (!text.startsWith(head, Qt::CaseInsensitive))
            continue;
        QStringList keys;
        if (const auto m = composite.match(text); m.hasMatch()) {
            for (const QString& column : m.captured(1).split(QLatin1Char(',')))
                keys << column.trimmed();
        } else if (const auto one = single.match(text); one.hasMatch()) {
            keys << one.captured(1);
        }
        return keys;
    }
    return {};
}

// The file's INSERT OR REPLACE INTO table (columns) ...: the server's insert, which updates the
// columns of the row whose key is already there (the clause to append goes to upsertClause).
QString insertOrReplace(const QString& sql, QString& upsertClause) {
    static const QRegularExpression head(
        QStringLiteral("^\\s*insert\\s+or\\s+replace\\s+into\\s+(\\w+)\\s*\\(([^)]*)\\)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(sql);
    if (!m.hasMatch())
        return sql;
    const QStringList keys = keyColumnsOf(m.captured(1));
    if (keys.isEmpty())
        return sql;
    QStringList sets;
    for (const QString& part : m.captured(2).split(QLatin1Char(','))) {
        const QString column = part.trimmed();
        if (!keys.contains(column, Qt::CaseInsensitive))
            sets << column + QStringLiteral("=EXCLUDED.") + column;
    }
    upsertClause = QStringLiteral(" ON CONFLICT (") + keys.join(QLatin1Char(',')) +
                   QStringLiteral(") DO ") +
                   (sets.isEmpty() ? QStringLiteral("NOTHING")
                                   : QStringLiteral("UPDATE SET ") + sets.join(QLatin1Char(',')));
    return QStringLiteral("insert into ") + m.captured(1) + QStringLiteral(" (") + m.captured(2) +
           QLatin1Char(')') + sql.mid(m.capturedEnd(0));
}

} // namespace

ServerStatement translateForServer(const QString& jetSql) {
    ServerStatement out;
    QString upsertClause;
    const QString sql =
        insertOrReplace(rewriteIifAndTop(translateJetWords(jetSql, true)), upsertClause);
    const QString first = firstWord(sql);
    if (first == QLatin1String("create") || first == QLatin1String("alter")) {
        out.sql = serverDefinition(sql);
        return out;
    }
    Rewriter r(sql);
    applyServerCollation(r);
    if (sql.contains(QLatin1String("like"), Qt::CaseInsensitive))
        foldLike(r);
    if (sql.contains(QLatin1String("format"), Qt::CaseInsensitive))
        takeFormats(r, out);
    if (sql.contains(QLatin1String("char"), Qt::CaseInsensitive))
        characterFunction(r);
    nameSubqueries(r);
    numberPlaceholders(r);
    recordNames(r, out);
    out.sql = r.text() + upsertClause;
    return out;
}

} // namespace tarvela::db
