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
    // The failure as the user reads it ("No se pudo escribir el archivo '<ruta>': permiso
    // denegado."); empty when written.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Writes the contents to the file named by its argument and returns the failure's description
// (in Spanish, lower case, as the reason after the file's name) and the system error number when
// there is one, or an empty description when the whole contents were written.
struct WriteFailure {
    QString description;
    int number = 0; // errno, or 0
};
// The failure of a file operation that just failed: the system error number it left.
WriteFailure systemWriteFailure();
using ContentWriter = std::function<WriteFailure(const QString& path)>;

// Writes a new document "<baseName>.<suffix>" in the folder, or "<baseName> (2).<suffix>", ...
// when that name is taken.
WrittenFile writeNewFile(const QString& folder, const QString& baseName, const QString& suffix,
                         const ContentWriter& write);

// What keeps files from being written in the folder: the system's error number that creating a
// file there gives (EACCES, EROFS, ENOENT, ...), ENOSPC when no space is left, or 0 when a file
// can be written.
int folderWriteError(const QString& folder);

// "No se pudo escribir el archivo '<path>': <reason>.", the reason in Spanish: the folder's when
// it refuses files, else the system error number's when there is one, else the writer's own.
QString writeErrorText(const QString& path, int errorNumber, const QString& writerReason = {});

// A text made fit for a file name: characters that folders or the shell treat specially become
// "_"; blanks at the ends are dropped.
QString fileNamePart(const QString& text);

} // namespace tarvela::reports
