#pragma once

#include <QString>

// File errors as the user reads them: in Spanish, with the file's path and the reason.
namespace tarvela::text {

// The reason of a system error number: "permiso denegado", "no queda espacio en el disco", ...
QString fileErrorReason(int errorNumber);

// "No se pudo escribir el archivo '<ruta>': <razón>."
QString fileWriteError(const QString& path, int errorNumber);
// "No se pudo leer el archivo '<ruta>': <razón>."
QString fileReadError(const QString& path, int errorNumber);
// "No se pudo escribir el archivo '<ruta>': <razón>." with a reason of the caller's own.
QString fileWriteError(const QString& path, const QString& reason);

} // namespace tarvela::text
