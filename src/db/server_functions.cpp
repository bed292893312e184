#include "db/server_functions.h"

#include "db/sql_functions.h"

#include <QStringList>

namespace tarvela::db {

namespace {

// The characters of the Latin blocks past ASCII, where the file's collation works character by
// character (see sql_functions.cpp).
constexpr char16_t kLatinFirst = 0x80;
constexpr char16_t kLatinEnd = 0x250;
constexpr char16_t kLatin1End = 0x100;

QString literal(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// An expression that maps each Latin character of `expression` below `end` as `key` does:
// characters that become one character through translate(), the others through replace().
// translate() looks each character of the text up in its list, so a shorter list is faster.
QString mappedLatin(const QString& expression, QString (*key)(const QString&), char16_t end) {
    QString from;
    QString to;
    QString out = expression;
    for (char16_t c = kLatinFirst; c < end; ++c) {
        const QString character(QChar{c});
        const QString mapped = key(character);
        if (mapped == character)
            continue;
        if (mapped.size() == 1) {
            from += character;
            to += mapped;
        } else {
            out =
                QStringLiteral("replace(%1, %2, %3)").arg(out, literal(character), literal(mapped));
        }
    }
    return QStringLiteral("translate(%1, %2, %3)").arg(out, literal(from), literal(to));
}

// Texts of ASCII alone (most) through `ascii`; texts beyond the Latin blocks through `unicode`;
// the others through the program's own table of the Latin blocks, only that of Latin-1 for the
// texts that stay within it (Spanish texts).
QString byScript(const QString& ascii, const QString& unicode, QString (*key)(const QString&)) {
    return QStringLiteral("CASE WHEN octet_length(t) = char_length(t) THEN %1 "
                          "WHEN t ~ '[^\\x01-\\u024f]' THEN %2 "
                          "WHEN t ~ '[^\\x01-\\xff]' THEN %3 ELSE %4 END")
        .arg(ascii, unicode, mappedLatin(ascii, key, kLatinEnd),
             mappedLatin(ascii, key, kLatin1End));
}

QString folded(const QString& text) {
    return text.toCaseFolded();
}

// The function definitions; `collation` is the collation under which lower() folds the whole of
// Unicode.
QStringList definitions(const QString& collation) {
    // Texts of ASCII alone (most) fold with lower() in the C collation; texts beyond the Latin
    // blocks through the server's Unicode case mapping and decomposition, with the few foldings
    // where lower() differs.
    const QString asciiLower = QStringLiteral("lower(t COLLATE \"C\")");
    const QString unicodeLower =
        QStringLiteral("translate(lower(t COLLATE %1) COLLATE \"C\", 'µςſ', 'μσs')").arg(collation);
    const QString fold = byScript(asciiLower, unicodeLower, folded);
    const QString unicodeBase =
        QStringLiteral("regexp_replace(normalize(replace(tarvela_pliegue(t), 'ñ', 'n' || "
                       "chr(65535)), NFD), "
                       "'[\\u0300-\\u036f\\u1ab0-\\u1aff\\u1dc0-\\u1dff\\u20d0-\\u20ff\\ufe20-"
                       "\\ufe2f]', '', 'g')");
    const QString base = byScript(asciiLower, unicodeBase, baseLetters);
    // Not strict, so that the server may write the functions into the statements that use them
    // rather than call them row by row; a null text still gives null.
    return {
        QStringLiteral("CREATE OR REPLACE FUNCTION tarvela_pliegue(t text) RETURNS text LANGUAGE "
                       "sql IMMUTABLE PARALLEL SAFE AS $tarvela$ SELECT %1 $tarvela$")
            .arg(fold),
        // The base letters first, then the folded text: texts equal under the collation have
        // equal keys, and the keys' byte order is the collation's order.
        QStringLiteral("CREATE OR REPLACE FUNCTION tarvela_clave(t text) RETURNS bytea LANGUAGE "
                       "sql IMMUTABLE PARALLEL SAFE AS $tarvela$ SELECT convert_to(%1 || "
                       "chr(1) || tarvela_pliegue(t), 'UTF8') $tarvela$")
            .arg(base),
        QStringLiteral("CREATE OR REPLACE FUNCTION tarvela_mayor(a text, b text) RETURNS text "
                       "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $tarvela$ SELECT CASE WHEN b IS "
                       "NULL THEN a WHEN a IS NULL THEN b WHEN tarvela_clave(b) > "
                       "tarvela_clave(a) THEN b ELSE a END $tarvela$"),
        QStringLiteral("CREATE OR REPLACE FUNCTION tarvela_menor(a text, b text) RETURNS text "
                       "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $tarvela$ SELECT CASE WHEN b IS "
                       "NULL THEN a WHEN a IS NULL THEN b WHEN tarvela_clave(b) < "
                       "tarvela_clave(a) THEN b ELSE a END $tarvela$"),
        QStringLiteral("CREATE OR REPLACE AGGREGATE tarvela_max(text) (SFUNC = tarvela_mayor, "
                       "STYPE = text)"),
        QStringLiteral("CREATE OR REPLACE AGGREGATE tarvela_min(text) (SFUNC = tarvela_menor, "
                       "STYPE = text)"),
    };
}

// The collation that folds the whole of Unicode: the server's ICU root when it has one.
QString unicodeCollation(Connection& conn) {
    const Result icu = conn.query(
        QStringLiteral("SELECT count(*) FROM pg_collation WHERE collname = 'und-x-icu'"));
    return !icu.isEmpty() && icu.value(0, 0).toInt() > 0 ? QStringLiteral("\"und-x-icu\"")
                                                         : QStringLiteral("\"default\"");
}

// The body of a function as the server keeps it, or empty when it has none.
QString storedBody(Connection& conn, const QString& function) {
    const Result body = conn.query(
        QStringLiteral("SELECT p.prosrc FROM pg_proc p JOIN pg_namespace n ON n.oid = "
                       "p.pronamespace WHERE n.nspname = current_schema() AND p.proname = ?"),
        {function});
    return body.isEmpty() ? QString() : body.value(0, 0).toString();
}

QString bodyOf(const QString& definition) {
    const QString mark = QStringLiteral("$tarvela$");
    const qsizetype start = definition.indexOf(mark);
    const qsizetype end = definition.lastIndexOf(mark);
    return start < 0 || end <= start
               ? QString()
               : definition.mid(start + mark.size(), end - start - mark.size());
}

} // namespace

bool serverFunctionsCurrent(Connection& conn) {
    if (conn.engine() != Engine::Server)
        return true;
    const QStringList current = definitions(unicodeCollation(conn));
    return storedBody(conn, QStringLiteral("tarvela_pliegue")) == bodyOf(current[0]) &&
           storedBody(conn, QStringLiteral("tarvela_clave")) == bodyOf(current[1]) &&
           !storedBody(conn, QStringLiteral("tarvela_max")).isNull() &&
           !storedBody(conn, QStringLiteral("tarvela_min")).isNull();
}

void createServerFunctions(Connection& conn) {
    if (conn.engine() != Engine::Server)
        return;
    for (const QString& statement : definitions(unicodeCollation(conn)))
        conn.executeNative(statement);
}

} // namespace tarvela::db
