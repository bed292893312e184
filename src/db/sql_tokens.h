#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

// A statement cut into words, literals, quoted names, symbols and the blanks between them, for
// the passes that rewrite statements for an engine.
namespace tarvela::db {

enum class TokenKind { Space, Word, Literal, Name, Symbol };

struct Token {
    TokenKind kind;
    QString text;
};

bool isSqlWordChar(QChar c);

// Joining the texts of the tokens gives the statement back. Comments are blanks; two-character
// operators (<=, >=, <>, !=, ==, ||, <<, >>) are one symbol.
std::vector<Token> tokenizeSql(const QString& sql);

bool isWord(const Token* t, const char* word);
bool isSymbol(const Token* t, const char* symbol);
bool isAnyWord(const Token* t, std::initializer_list<const char*> words);
bool isAnySymbol(const Token* t, std::initializer_list<const char*> symbols);
// =, ==, <, >, <=, >=, <>, !=
bool isComparison(const Token* t);
// Operators that bind tighter than a comparison.
bool isArithmetic(const Token* t);

// The first word of a statement, lower case ("select", "insert", ...).
QString firstWord(const QString& sql);

} // namespace tarvela::db
