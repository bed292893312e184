#include "text/file_errors.h"

#include <QDir>

#include <cerrno>

namespace tarvela::text {

QString fileErrorReason(int errorNumber) {
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("el disco o la carpeta es de solo lectura");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
    case EDQUOT:
        return QStringLiteral("se superó la cuota de disco del usuario");
    case ENOENT:
        return QStringLiteral("no existe el archivo o la carpeta");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case EEXIST:
        return QStringLiteral("el archivo ya existe");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("hay demasiados archivos abiertos");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("el archivo está en uso");
    case EFBIG:
        return QStringLiteral("el archivo es demasiado grande");
    case EIO:
        return QStringLiteral("error de lectura o escritura en el disco");
    case ELOOP:
        return QStringLiteral("la ruta tiene demasiados enlaces");
    case 0:
        return QStringLiteral("error desconocido");
    default:
        return QStringLiteral("error del sistema número %1").arg(errorNumber);
    }
}

QString fileWriteError(const QString& path, const QString& reason) {
    return QStringLiteral("No se pudo escribir el archivo '%1': %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString fileWriteError(const QString& path, int errorNumber) {
    return fileWriteError(path, fileErrorReason(errorNumber));
}

QString fileReadError(const QString& path, int errorNumber) {
    return QStringLiteral("No se pudo leer el archivo '%1': %2.")
        .arg(QDir::toNativeSeparators(path), fileErrorReason(errorNumber));
}

} // namespace tarvela::text
