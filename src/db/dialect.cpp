#include "db/dialect.h"

#include "db/sql_tokens.h"
#include "db/text_collation.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

namespace tarvela::db {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// The date inside #...#: month/day/year (two-digit years 00-29 are 20xx, 30-99 19xx), or
// year-month-day. An empty text when it is not a date.
QString isoFromJetDate(const QString& inside) {
    static const QRegularExpression mdy(
        QStringLiteral("^\\s*(\\d{1,2})[/-](\\d{1,2})[/-](\\d{2}|\\d{4})\\s*$"));
    static const QRegularExpression ymd(
        QStringLiteral("^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})\\s*$"));
    QDate date;
    if (const auto m = mdy.match(inside); m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
    } else if (const auto y = ymd.match(inside); y.hasMatch()) {
        date = QDate(y.captured(1).toInt(), y.captured(2).toInt(), y.captured(3).toInt());
    }
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

QString translateJetWords(const QString& jetSql, bool forServer) {
    // The word or symbol before the current position: a condition standing alone follows
    // where, and, or, not, on or having.
    QString previous;
    QString out;
    out.reserve(jetSql.size() + 16);
    const qsizetype n = jetSql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = jetSql[i];
        if (c == u'\'') { // text literal, copied as it is ('' stays inside)
            qsizetype j = i + 1;
            while (j < n) {
                if (jetSql[j] == u'\'') {
                    if (j + 1 < n && jetSql[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += jetSql.mid(i, j - i + 1);
            i = j + 1;
            previous.clear();
        } else if (c == u'"') { // Jet text literal in double quotes
            QString text;
            qsizetype j = i + 1;
            while (j < n) {
                if (jetSql[j] == u'"') {
                    if (j + 1 < n && jetSql[j + 1] == u'"') {
                        text += u'"';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += jetSql[j];
                ++j;
            }
            text.replace(QLatin1Char('\''), QLatin1String("''"));
            out += QLatin1Char('\'') + text + QLatin1Char('\'');
            i = j + 1;
            previous.clear();
        } else if (c == u'[') { // bracketed name
            const qsizetype close = jetSql.indexOf(u']', i);
            const qsizetype end = close < 0 ? n : close + 1;
            const QString name = jetSql.mid(i + 1, end - i - 2);
            static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
            if (!forServer)
                out += jetSql.mid(i, end - i);
            else if (plain.match(name).hasMatch()) // names match without regard to case
                out += name.toLower();
            else
                out += QLatin1Char('"') + QString(name).replace(u'"', QStringLiteral("\"\"")) +
                       QLatin1Char('"');
            i = end;
            previous = QStringLiteral("name");
        } else if (c == u'#') {
            const qsizetype close = jetSql.indexOf(u'#', i + 1);
            const QString iso =
                close < 0 ? QString() : isoFromJetDate(jetSql.mid(i + 1, close - i - 1));
            if (iso.isEmpty()) { // not a date: left for the engine to refuse
                out += c;
                ++i;
            } else {
                out += QLatin1Char('\'') + iso + QLatin1Char('\'');
                i = close + 1;
                previous.clear();
            }
        } else if (c == u'&') {
            out += QLatin1String("||");
            ++i;
            previous = QStringLiteral("||");
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < n && isWordChar(jetSql[j]))
                ++j;
            const QString word = jetSql.mid(i, j - i);
            const bool qualified = i > 0 && jetSql[i - 1] == u'.';
            const bool isTrue = word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
            const bool isFalse = word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
            static const QStringList conditionStarts = {
                QStringLiteral("where"), QStringLiteral("and"), QStringLiteral("or"),
                QStringLiteral("not"),   QStringLiteral("on"),  QStringLiteral("having")};
            if (qualified || !(isTrue || isFalse))
                out += word;
            else if (forServer && conditionStarts.contains(previous))
                out += isTrue ? QLatin1String("true") : QLatin1String("false");
            else
                out += QLatin1Char(isTrue ? '1' : '0');
            previous = word.toLower();
            i = j;
        } else {
            out += c;
            if (!c.isSpace())
                previous = QString(c);
            ++i;
        }
    }
    return out;
}

namespace {

// The significant tokens of a statement (no blanks), as indexes into the token list.
std::vector<size_t> significantTokens(const std::vector<Token>& tokens) {
    std::vector<size_t> out;
    for (size_t k = 0; k < tokens.size(); ++k)
        if (tokens[k].kind != TokenKind::Space)
            out.push_back(k);
    return out;
}

// The significant position of the parenthesis that closes the one at open; the last position
// when it is never closed.
size_t closingParenthesis(const std::vector<Token>& tokens, const std::vector<size_t>& sig,
                          size_t open) {
    int depth = 0;
    for (size_t s = open; s < sig.size(); ++s) {
        const Token& t = tokens[sig[s]];
        if (isSymbol(&t, "("))
            ++depth;
        else if (isSymbol(&t, ")") && --depth == 0)
            return s;
    }
    return sig.size() - 1;
}

// The text of the tokens from significant position a to b, blanks included.
QString textBetween(const std::vector<Token>& tokens, const std::vector<size_t>& sig, size_t a,
                    size_t b) {
    QString out;
    for (size_t k = sig[a]; k <= sig[b]; ++k)
        out += tokens[k].text;
    return out;
}

// One iif(condition, a, b) rewritten as a CASE; the arguments are rewritten first.
QString rewriteIif(const QString& sql) {
    const std::vector<Token> tokens = tokenizeSql(sql);
    const std::vector<size_t> sig = significantTokens(tokens);
    for (size_t s = 0; s + 1 < sig.size(); ++s) {
        if (!isWord(&tokens[sig[s]], "iif") || !isSymbol(&tokens[sig[s + 1]], "("))
            continue;
        const size_t close = closingParenthesis(tokens, sig, s + 1);
        std::vector<size_t> commas;
        int depth = 0;
        for (size_t p = s + 2; p < close; ++p) {
            const Token& t = tokens[sig[p]];
            if (isSymbol(&t, "("))
                ++depth;
            else if (isSymbol(&t, ")"))
                --depth;
            else if (depth == 0 && isSymbol(&t, ","))
                commas.push_back(p);
        }
        if (commas.size() != 2 || commas[0] == s + 2 || commas[1] == commas[0] + 1 ||
            close == commas[1] + 1)
            continue; // not Jet's iif: left for the engine to refuse
        QString before;
        for (size_t k = 0; k < sig[s]; ++k)
            before += tokens[k].text;
        QString after;
        for (size_t k = sig[close] + 1; k < tokens.size(); ++k)
            after += tokens[k].text;
        const QString rewritten =
            QStringLiteral("(CASE WHEN ") + textBetween(tokens, sig, s + 2, commas[0] - 1) +
            QStringLiteral(" THEN ") + textBetween(tokens, sig, commas[0] + 1, commas[1] - 1) +
            QStringLiteral(" ELSE ") + textBetween(tokens, sig, commas[1] + 1, close - 1) +
            QStringLiteral(" END)");
        return before + rewriteIif(rewritten) + rewriteIif(after);
    }
    return sql;
}

// select [distinct] top N ... as select [distinct] ... LIMIT N, at the end of that select.
QString rewriteTop(const QString& sql) {
    const std::vector<Token> tokens = tokenizeSql(sql);
    const std::vector<size_t> sig = significantTokens(tokens);
    std::vector<QString> after(tokens.size());
    std::vector<bool> dropped(tokens.size(), false);
    // The limits waiting for the end of their select, by depth of parentheses.
    std::vector<std::pair<int, QString>> pending;
    int depth = 0;
    bool changed = false;
    for (size_t s = 0; s < sig.size(); ++s) {
        const Token& t = tokens[sig[s]];
        if (isSymbol(&t, "(")) {
            ++depth;
        } else if (isSymbol(&t, ")")) {
            if (!pending.empty() && pending.back().first == depth && s > 0) {
                after[sig[s - 1]] += pending.back().second;
                pending.pop_back();
            }
            --depth;
        } else if (isSymbol(&t, ";") && depth == 0 && s > 0 && !pending.empty() &&
                   pending.back().first == 0) {
            after[sig[s - 1]] += pending.back().second;
            pending.pop_back();
        } else if (isWord(&t, "top") && s + 1 < sig.size() && s > 0 &&
                   (isWord(&tokens[sig[s - 1]], "select") ||
                    (isAnyWord(&tokens[sig[s - 1]], {"distinct", "all"}) && s > 1 &&
                     isWord(&tokens[sig[s - 2]], "select"))) &&
                   tokens[sig[s + 1]].kind == TokenKind::Word &&
                   tokens[sig[s + 1]].text.toLongLong() > 0) {
            pending.emplace_back(depth, QStringLiteral(" LIMIT ") + tokens[sig[s + 1]].text);
            for (size_t k = sig[s]; k <= sig[s + 1] + (sig[s + 1] + 1 < tokens.size() ? 1 : 0); ++k)
                dropped[k] = k <= sig[s + 1] || tokens[k].kind == TokenKind::Space;
            changed = true;
            ++s;
        }
    }
    if (!changed)
        return sql;
    QString out;
    for (size_t k = 0; k < tokens.size(); ++k) {
        if (!dropped[k])
            out += tokens[k].text;
        out += after[k];
    }
    for (auto it = pending.rbegin(); it != pending.rend(); ++it)
        out += it->second;
    return out;
}

} // namespace

QString rewriteIifAndTop(const QString& sql) {
    QString out = sql;
    if (out.contains(QLatin1String("iif"), Qt::CaseInsensitive))
        out = rewriteIif(out);
    if (out.contains(QLatin1String("top"), Qt::CaseInsensitive))
        out = rewriteTop(out);
    return out;
}

QString translateStatement(const QString& jetSql) {
    return applyTextCollation(rewriteIifAndTop(translateJetWords(jetSql, false)));
}

} // namespace tarvela::db
