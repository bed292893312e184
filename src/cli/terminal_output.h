#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What tarvela-cli prints goes through one rule: every text that comes from the database, a file
// or the command line (names, messages, file names, arguments) reaches the terminal with its
// control characters escaped, so that a printed line can neither break where the program did not
// break it nor carry an escape sequence to the terminal.
namespace tarvela::cli {

// The text with every control character escaped: C0 controls as "\n", "\t", "\r" or "\xHH", DEL
// and the C1 controls (U+0080 to U+009F) as "\xHH".
QString terminalText(const QString& text);

// One JSON document as printed, with a final line feed. Qt's writer escapes the C0 controls;
// DEL and the C1 controls are escaped too ("\u007f", "\u009b").
QByteArray jsonText(const QJsonObject& object);

// Writes to standard output, or to standard error prefixed with "tarvela-cli: " and ended by a
// line feed (UTF-8).
void printOut(const QString& text);
void printOut(const QByteArray& bytes);
void printError(const QString& message);

// The exit code of a command, once its output is flushed and closed: the command's own, or 2
// with a message on standard error when standard output could not be written whole (a full
// disk, a closed pipe).
int finishOutput(int code);

} // namespace tarvela::cli
