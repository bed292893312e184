#pragma once

#include <QString>

// Column headings as people type them: "Código", "codigo" and "CODIGO" name the same column, and
// a unit in parentheses may follow a name ("Proteína Bruta (%)").
namespace tarvela::imports {

// A heading as compared: accents removed and case folded as texts are compared ("ñ" stays a
// letter of its own), blanks trimmed and collapsed.
QString headingKey(const QString& heading);

struct HeadingParts {
    QString name; // the heading without its unit, trimmed
    QString unit; // the text between the last parentheses, trimmed; empty when none
};

// "Proteína Bruta (%)" → {"Proteína Bruta", "%"}; "Calcio" → {"Calcio", ""}.
HeadingParts splitUnit(const QString& heading);

// Whether a heading names a column: its key equals the name's, with or without a unit.
bool headingNames(const QString& heading, const QString& name);

} // namespace tarvela::imports
