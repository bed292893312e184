#include "db/sql_tokens.h"

#include <QStringList>

namespace tarvela::db {

bool isSqlWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

std::vector<Token> tokenizeSql(const QString& sql) {
    static const QStringList twoCharSymbols = {
        QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!="),
        QStringLiteral("=="), QStringLiteral("||"), QStringLiteral("<<"), QStringLiteral(">>")};
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        TokenKind kind = TokenKind::Symbol;
        if (c.isSpace()) {
            while (j < n && sql[j].isSpace())
                ++j;
            kind = TokenKind::Space;
        } else if (c == u'-' && j < n && sql[j] == u'-') {
            while (j < n && sql[j] != u'\n')
                ++j;
            kind = TokenKind::Space;
        } else if (c == u'/' && j < n && sql[j] == u'*') {
            const qsizetype close = sql.indexOf(QStringLiteral("*/"), j + 1);
            j = close < 0 ? n : close + 2;
            kind = TokenKind::Space;
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
            kind = c == u'\'' ? TokenKind::Literal : TokenKind::Name;
        } else if (isSqlWordChar(c)) {
            while (j < n && isSqlWordChar(sql[j]))
                ++j;
            kind = TokenKind::Word;
        } else if (j < n && twoCharSymbols.contains(sql.mid(i, 2))) {
            j = i + 2;
        }
        tokens.push_back({kind, sql.mid(i, j - i)});
        i = j;
    }
    return tokens;
}

bool isWord(const Token* t, const char* word) {
    return t && t->kind == TokenKind::Word &&
           t->text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token* t, const char* symbol) {
    return t && t->kind == TokenKind::Symbol && t->text == QLatin1String(symbol);
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

bool isArithmetic(const Token* t) {
    return isAnySymbol(t, {"||", "+", "-", "*", "/", "%", "&", "|", "<<", ">>", "~"});
}

QString firstWord(const QString& sql) {
    qsizetype first = 0;
    while (first < sql.size() && !isSqlWordChar(sql[first]))
        ++first;
    qsizetype end = first;
    while (end < sql.size() && isSqlWordChar(sql[end]))
        ++end;
    return sql.mid(first, end - first).toLower();
}

} // namespace tarvela::db
