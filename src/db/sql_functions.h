#pragma once

#include <QChar>
#include <QString>

struct sqlite3;

// The functions and the text collation that the system's statements expect from the engine.
namespace tarvela::db {

// Format(value, pattern), with the workstation's decimal separator at the time of the call;
// like(pattern, text[, escape]) folding case over the whole of Unicode ("MAÍZ" matches "maíz",
// accents still count); the collation jet_text that the statements apply to the text columns:
// case-insensitive, accented letters next to their plain ones. Returns the engine's result code.
int registerSqlFunctions(sqlite3* handle);

// The match behind like: "%" any run of characters, "_" one character, case folded.
bool likeMatches(const QString& pattern, const QString& text, QChar escape = QChar());

// A text's letters without case and accents, as the collation orders them first: "Ácido" ->
// "acido"; "ñ" is "n" followed by U+FFFF, a letter of its own after "n".
QString baseLetters(const QString& text);

// The order of the jet_text collation (<0, 0, >0).
int compareText(const QString& a, const QString& b);
// The same order for UTF-8 texts, as the engine hands them to the collation.
int compareUtf8Text(const char* a, int lengthA, const char* b, int lengthB);

} // namespace tarvela::db
