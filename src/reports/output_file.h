#pragma once

#include <QString>

#include <functional>

// Documents the program generates (printouts kept as PDF, workbooks, text documents) are written
// whole under a name no other file has: first under a temporary name in the target folder, then
// given their name only when complete. An existing file is never replaced and a failed write
// leaves nothing behind.
namespace tarvela::reports {

struct WrittenFile {
    QString path;        // the document's name, when written
    int errorNumber = 0; // the failure's number, for the error window
    QString error;       // the failure's description; empty when written
    bool ok() const { return error.isEmpty(); }
};

// Writes the contents to the file named by its argument and returns the failure's description
// and number, or an empty description when the whole contents were written.
struct WriteFailure {
    QString description;
    int number = 0;
};
using ContentWriter = std::function<WriteFailure(const QString& path)>;

// Writes a new document "<baseName>.<suffix>" in the folder, or "<baseName> (2).<suffix>", ...
// when that name is taken.
WrittenFile writeNewFile(const QString& folder, const QString& baseName, const QString& suffix,
                         const ContentWriter& write);

// A text made fit for a file name: characters that folders or the shell treat specially become
// "_"; blanks at the ends are dropped.
QString fileNamePart(const QString& text);

} // namespace tarvela::reports
